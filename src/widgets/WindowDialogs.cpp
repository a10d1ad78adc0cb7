// The windows' own answers to the question seam: the real Qt dialogs and the progress
// box, given wherever this library is linked. The library's users are made to pull this
// file in (see CMakeLists.txt), so no program with windows asks with nothing to ask.
#include "Dialogs.h"
#include "ProgressBoxDisplay.h"
#include "QtDialogs.h"

namespace {

TQtDialogs qtDialogs;

const bool given = [] {
  SetWindowDialogs(&qtDialogs);
  SetProgressDisplay(&ProgressBoxDisplay());
  return true;
}();

}  // namespace

// The symbol every user of the library is linked with, so that this file is.
extern "C" const bool pello_window_dialogs = given;
