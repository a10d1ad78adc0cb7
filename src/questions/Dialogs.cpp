#include "Dialogs.h"

#include <stdexcept>

namespace {

TDialogs* current = nullptr;
TDialogs* windowDialogs = nullptr;

}  // namespace

TDialogs& Dialogs() {
  if (current) return *current;
  if (windowDialogs) return *windowDialogs;
  throw std::logic_error("a question with no dialogs to ask it: none were given");
}

void SetWindowDialogs(TDialogs* dialogs) {
  windowDialogs = dialogs;
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
