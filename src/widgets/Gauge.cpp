#include "Gauge.h"

#include <algorithm>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPainter>

namespace {

// The bar as screen readers see it: a progress bar whose value is the progress.
class TGaugeAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
 public:
  explicit TGaugeAccessible(TGauge* gauge) : QAccessibleWidget(gauge, QAccessible::ProgressBar) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return QString::number(Gauge()->PercentDone()) + QLatin1Char('%');
    return QAccessibleWidget::text(t);
  }
  QVariant currentValue() const override { return Gauge()->Progress(); }
  void setCurrentValue(const QVariant&) override {}  // only the work moves the bar
  QVariant maximumValue() const override { return Gauge()->MaxValue(); }
  QVariant minimumValue() const override { return 0; }
  QVariant minimumStepSize() const override { return 1; }

 private:
  TGauge* Gauge() const { return static_cast<TGauge*>(widget()); }
};

QAccessibleInterface* GaugeAccessible(const QString& className, QObject* object) {
  if (className == QLatin1String("TGauge") && object != nullptr && object->isWidgetType())
    return new TGaugeAccessible(static_cast<TGauge*>(object));
  return nullptr;
}

}  // namespace

TGauge::TGauge(QWidget* parent) : QWidget(parent) {
  static const bool factory = [] {
    QAccessible::installFactory(GaugeAccessible);
    return true;
  }();
  (void)factory;
  setAccessibleName(QStringLiteral("進行状況"));
}

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
  if (QAccessible::isActive()) {
    QAccessibleValueChangeEvent event(this, progress_);
    QAccessible::updateAccessibility(&event);
  }
}

int TGauge::PercentDone() const {
  return static_cast<int>(static_cast<long long>(progress_) * 100 / maxValue_);
}

void TGauge::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  const QPalette& pal = palette();
  const QRect frame = rect();
  painter.setPen(pal.color(QPalette::Dark));
  painter.setBrush(pal.color(QPalette::Base));
  painter.drawRect(frame.adjusted(0, 0, -1, -1));

  const QRect inside = frame.adjusted(1, 1, -1, -1);
  const int filled =
      static_cast<int>(static_cast<long long>(inside.width()) * progress_ / maxValue_);
  const QRect bar(inside.topLeft(), QSize(filled, inside.height()));
  painter.fillRect(bar, pal.color(QPalette::Highlight));

  // The percentage reads in the text colour on the empty part and in the highlighted
  // text colour on the filled part, in light and dark palettes alike.
  const QString text = QString::number(PercentDone()) + QLatin1Char('%');
  painter.setPen(pal.color(QPalette::Text));
  painter.setClipRect(inside.adjusted(filled, 0, 0, 0));
  painter.drawText(inside, Qt::AlignCenter, text);
  painter.setPen(pal.color(QPalette::HighlightedText));
  painter.setClipRect(bar);
  painter.drawText(inside, Qt::AlignCenter, text);
}
