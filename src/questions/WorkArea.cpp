#include "WorkArea.h"

#include <QGuiApplication>
#include <QScreen>

void FitToWorkArea(int& x, int& y, int width, int height, const QRect& workArea) {
  // Right and bottom are exclusive here, as the work area's edges are.
  const int right = workArea.x() + workArea.width();
  const int bottom = workArea.y() + workArea.height();
  if (x > right - width) x = right - width;
  if (x < workArea.x()) x = workArea.x();
  if (y < workArea.y()) y = workArea.y();
  if (y > bottom - height) y = bottom - height;
}

void FitToWorkArea(int& x, int& y, int width, int height) {
  const QRect workArea = DesktopWorkArea();
  if (!workArea.isEmpty()) FitToWorkArea(x, y, width, height, workArea);
}

QRect DesktopWorkArea() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect();
}
