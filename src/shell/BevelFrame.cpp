#include "BevelFrame.h"

#include <QPainter>
#include <QPen>

void DrawBevelFrame(QPainter& painter, QRect& rect, const QColor& topColor,
                    const QColor& bottomColor, int width) {
  QPen pen = painter.pen();
  pen.setWidth(1);
  painter.setPen(pen);
  for (; width > 0; --width) {
    if (rect.width() > 0 && rect.height() > 0) {
      // Whole-pixel fills: exact at any painter setting, antialiased or not.
      const int l = rect.left(), t = rect.top(), r = rect.right(), b = rect.bottom();
      painter.fillRect(QRect(l, t, 1, rect.height()), topColor);
      painter.fillRect(QRect(l, t, rect.width(), 1), topColor);
      painter.fillRect(QRect(r, t, 1, rect.height()), bottomColor);
      painter.fillRect(QRect(l, b, rect.width(), 1), bottomColor);
    }
    rect.adjust(1, 1, -1, -1);
  }
}
