#include "ProgressBoxDisplay.h"

#include <memory>

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>

#include "Dialogs.h"
#include "ProgressBox.h"

// The progress box as the display of the progress operations, given to them wherever
// this library is linked (see WindowDialogs.cpp).

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

void BoxSetRange(int max, const QString& text);

void BoxShow(int max, const QString& text, bool withCancel) {
  // The box must go before the application it belongs to, whichever that is.
  qRemovePostRoutine(ReleaseProgressBox);
  qAddPostRoutine(ReleaseProgressBox);
  ReleaseProgressBox();
  windowBefore = WorkingWindow();
  ownedBox = std::make_unique<TProgressBox>();
  ProgressBox = ownedBox.get();
  ProgressBox->SetCancelVisible(withCancel);
  BoxSetRange(max, text);
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

// Whether this step lets waiting events run: at most once per 10 ms.
bool DuePump() {
  return !lastPump.isValid() || lastPump.elapsed() >= kPumpIntervalMs;
}

void Pump() {
  ProgressBox->Flush();
  QCoreApplication::processEvents();
  lastPump.start();
}

int BoxStep(int position, const QString& text) {
  const std::int32_t answer = ProgressAnswer;
  if (!ProgressBox) return 0;
  ProgressBox->SetPosition(position);
  ProgressBox->SetMessage(text);
  if (DuePump()) Pump();
  return answer;
}

int BoxStep(int position, const std::function<QString()>& text) {
  const std::int32_t answer = ProgressAnswer;
  if (!ProgressBox) return 0;
  ProgressBox->SetPosition(position);
  if (DuePump()) {
    ProgressBox->SetMessage(text());
    Pump();
  }
  return answer;
}

void BoxFinish(const QString& text) {
  if (!ProgressBox) return;
  ProgressBox->ShowOk();
  ProgressBox->SetMessage(text);
  ProgressBox->Flush();
  ProgressBox->activateWindow();
  Dialogs().WaitForProgressOk();
  ReleaseProgressBox();
}

void BoxClose() {
  ReleaseProgressBox();
}

void BoxSetRange(int max, const QString& text) {
  if (!ProgressBox) return;
  ProgressBox->SetMessage(text);
  ProgressBox->RepaintMessage();
  ProgressBox->SetRange(max);
}

class TProgressBoxDisplay : public TProgressDisplay {
 public:
  void Show(int max, const QString& text, bool withCancel) override {
    BoxShow(max, text, withCancel);
  }
  int Step(int position, const QString& text) override { return BoxStep(position, text); }
  int Step(int position, const std::function<QString()>& text) override {
    return BoxStep(position, text);
  }
  void Finish(const QString& text) override { BoxFinish(text); }
  void Close() override { BoxClose(); }
  void SetRange(int max, const QString& text) override { BoxSetRange(max, text); }
};

}  // namespace

TProgressDisplay& ProgressBoxDisplay() {
  static TProgressBoxDisplay display;
  return display;
}
