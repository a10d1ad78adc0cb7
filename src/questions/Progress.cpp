#include "Progress.h"

namespace {

TProgressDisplay* display = nullptr;

}  // namespace

void SetProgressDisplay(TProgressDisplay* newDisplay) {
  display = newDisplay;
}

void ShowProgress(int max, const QString& text, bool withCancel) {
  if (display) display->Show(max, text, withCancel);
}

int StepProgress(int position, const QString& text) {
  return display ? display->Step(position, text) : 0;
}

int StepProgress(int position, const std::function<QString()>& text) {
  return display ? display->Step(position, text) : 0;
}

void FinishProgress(const QString& text) {
  if (display) display->Finish(text);
}

void CloseProgress() {
  if (display) display->Close();
}

void SetProgressRange(int max, const QString& text) {
  if (display) display->SetRange(max, text);
}
