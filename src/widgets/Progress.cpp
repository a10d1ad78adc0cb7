#include "Progress.h"

#include <memory>

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>

#include "Dialogs.h"
#include "ProgressBox.h"

TProgressBox* ProgressBox = nullptr;
std::int32_t ProgressAnswer = 0;

namespace {

constexpr qint64 kPumpIntervalMs = 10;

std::unique_ptr<TProgressBox> ownedBox;
QElapsedTimer lastPump;
// The window that had the keyboard before the box took it, and gets it back after.
QPointer<QWidget> windowBefore;

// The window the user works in: the active one, or while a question that just closed
// hands the keyboard back, the main window.
QWidget* WorkingWindow() {
  if (QWidget* active = QApplication::activeWindow()) return active;
  for (QWidget* window : QApplication::topLevelWidgets())
    if (window->isVisible() && qobject_cast<QMainWindow*>(window)) return window;
  return nullptr;
}

void ReleaseProgressBox() {
  ProgressBox = nullptr;
  ownedBox.reset();
  if (windowBefore && windowBefore->isVisible()) windowBefore->activateWindow();
  windowBefore = nullptr;
}

}  // namespace

void ShowProgress(int max, const QString& text, bool withCancel) {
  // The box must go before the application it belongs to, whichever that is.
  qRemovePostRoutine(ReleaseProgressBox);
  qAddPostRoutine(ReleaseProgressBox);
  ReleaseProgressBox();
  windowBefore = WorkingWindow();
  ownedBox = std::make_unique<TProgressBox>();
  ProgressBox = ownedBox.get();
  ProgressBox->SetCancelVisible(withCancel);
  SetProgressRange(max, text);
  ProgressAnswer = 0;
  lastPump.invalidate();
  ProgressBox->CentreOnScreen();
  // Not waited on, but no other window takes input meanwhile: an edit made while a
  // save's box waits for its Ok would be marked saved without being in the file.
  ProgressBox->setWindowModality(Qt::ApplicationModal);
  ProgressBox->show();
  ProgressBox->raise();
  ProgressBox->activateWindow();
}

namespace {

// Whether this step lets waiting events run: at most once per 10 ms.
bool DuePump() {
  return !lastPump.isValid() || lastPump.elapsed() >= kPumpIntervalMs;
}

void Pump() {
  ProgressBox->Flush();
  QCoreApplication::processEvents();
  lastPump.start();
}

}  // namespace

int StepProgress(int position, const QString& text) {
  const std::int32_t answer = ProgressAnswer;
  if (!ProgressBox) return 0;
  ProgressBox->SetPosition(position);
  ProgressBox->SetMessage(text);
  if (DuePump()) Pump();
  return answer;
}

int StepProgress(int position, const std::function<QString()>& text) {
  const std::int32_t answer = ProgressAnswer;
  if (!ProgressBox) return 0;
  ProgressBox->SetPosition(position);
  if (DuePump()) {
    ProgressBox->SetMessage(text());
    Pump();
  }
  return answer;
}

void FinishProgress(const QString& text) {
  if (!ProgressBox) return;
  ProgressBox->ShowOk();
  ProgressBox->SetMessage(text);
  ProgressBox->Flush();
  ProgressBox->activateWindow();
  Dialogs().WaitForProgressOk();
  ReleaseProgressBox();
}

void CloseProgress() {
  ReleaseProgressBox();
}

void SetProgressRange(int max, const QString& text) {
  if (!ProgressBox) return;
  ProgressBox->SetMessage(text);
  ProgressBox->RepaintMessage();
  ProgressBox->SetRange(max);
}
