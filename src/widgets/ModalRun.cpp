#include "ModalRun.h"

#include <QApplication>
#include <QDialog>

TReturnFocus::TReturnFocus() : window_(QApplication::activeWindow()) {}

TReturnFocus::~TReturnFocus() {
  if (window_ && window_->isVisible()) window_->activateWindow();
}

int ExecModal(QDialog& dialog) {
  const TReturnFocus focus;
  return dialog.exec();
}
