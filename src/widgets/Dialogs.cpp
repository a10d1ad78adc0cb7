#include "Dialogs.h"

#include "QtDialogs.h"

namespace {

TDialogs* current = nullptr;

TDialogs& QtDialogs() {
  static TQtDialogs dialogs;
  return dialogs;
}

}  // namespace

TDialogs& Dialogs() {
  return current ? *current : QtDialogs();
}

void SetDialogs(TDialogs* dialogs) {
  current = dialogs;
}

TDialogsScope::TDialogsScope(TDialogs& dialogs) : previous_(current) {
  SetDialogs(&dialogs);
}

TDialogsScope::~TDialogsScope() {
  SetDialogs(previous_);
}
