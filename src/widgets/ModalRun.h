// Running a window's own modal dialog so that the keyboard goes back afterwards.
#pragma once

#include <QPointer>

class QDialog;
class QWidget;

// Gives the keyboard back to the window that had it when it was made, once it goes:
// a window manager does this; without one (a kiosk session) no window would take keys
// after the first dialog.
class TReturnFocus {
 public:
  TReturnFocus();
  ~TReturnFocus();
  TReturnFocus(const TReturnFocus&) = delete;
  TReturnFocus& operator=(const TReturnFocus&) = delete;

 private:
  QPointer<QWidget> window_;
};

// dialog.exec(), then the keyboard back to the window that had it.
int ExecModal(QDialog& dialog);
