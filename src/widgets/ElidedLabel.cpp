#include "ElidedLabel.h"

#include <QPainter>
#include <QStyle>

QString TElidedLabel::ShownText() const {
  return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width());
}

void TElidedLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  style()->drawItemText(&painter, contentsRect(), alignment(), palette(), isEnabled(), ShownText(),
                        foregroundRole());
}
