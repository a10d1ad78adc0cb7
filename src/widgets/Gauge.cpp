#include "Gauge.h"

#include <algorithm>

#include <QPainter>

TGauge::TGauge(QWidget* parent) : QWidget(parent) {}

void TGauge::SetMaxValue(int maxValue) {
  maxValue_ = std::max(1, maxValue);
  SetProgress(progress_);
  update();
}

void TGauge::SetProgress(int progress) {
  const int clamped = std::clamp(progress, 0, maxValue_);
  if (clamped == progress_) return;
  progress_ = clamped;
  update();
}

int TGauge::PercentDone() const {
  return static_cast<int>(static_cast<long long>(progress_) * 100 / maxValue_);
}

void TGauge::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  const QRect frame = rect();
  painter.setPen(palette().color(QPalette::Dark));
  painter.setBrush(Qt::white);
  painter.drawRect(frame.adjusted(0, 0, -1, -1));

  const QRect inside = frame.adjusted(1, 1, -1, -1);
  const int filled =
      static_cast<int>(static_cast<long long>(inside.width()) * progress_ / maxValue_);
  const QRect bar(inside.topLeft(), QSize(filled, inside.height()));
  painter.fillRect(bar, Qt::blue);

  // The percentage reads black on the empty part and white on the blue part.
  const QString text = QString::number(PercentDone()) + QLatin1Char('%');
  painter.setPen(Qt::black);
  painter.setClipRect(inside.adjusted(filled, 0, 0, 0));
  painter.drawText(inside, Qt::AlignCenter, text);
  painter.setPen(Qt::white);
  painter.setClipRect(bar);
  painter.drawText(inside, Qt::AlignCenter, text);
}
