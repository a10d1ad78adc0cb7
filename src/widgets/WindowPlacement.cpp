#include "WindowPlacement.h"

#include <QWidget>

void MoveIntoWorkArea(QWidget& window, int x, int y) {
  // A window that exists on the platform side knows its frame, where the platform tells.
  window.winId();
  const QSize outer = window.frameGeometry().size();
  FitToWorkArea(x, y, outer.width(), outer.height());
  window.move(x, y);
}
