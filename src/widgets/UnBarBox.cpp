#include "UnBarBox.h"

#include <memory>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "BarBox.h"
#include "Dialogs.h"

TBarBox* ProgressBox = nullptr;
std::int32_t ProgressAnswer = 0;

namespace {

constexpr qint64 kPumpIntervalMs = 10;

std::unique_ptr<TBarBox> ownedBox;
QElapsedTimer lastPump;

void ReleaseProgressBox() {
  ProgressBox = nullptr;
  ownedBox.reset();
}

}  // namespace

void ShowProgress(int max, const QString& text, bool withCancel) {
  // The box must go before the application it belongs to, whichever that is.
  qRemovePostRoutine(ReleaseProgressBox);
  qAddPostRoutine(ReleaseProgressBox);
  ReleaseProgressBox();
  ownedBox = std::make_unique<TBarBox>();
  ProgressBox = ownedBox.get();
  ProgressBox->SetCancelVisible(withCancel);
  SetProgressRange(max, text);
  ProgressAnswer = 0;
  lastPump.invalidate();
  ProgressBox->CentreOnScreen();
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
