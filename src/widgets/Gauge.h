// A horizontal bar filled in the palette's highlight colour from 0 to its maximum, with the
// percentage in it; screen readers see a progress bar.
#pragma once

#include <QWidget>

class TGauge : public QWidget {
  Q_OBJECT

 public:
  explicit TGauge(QWidget* parent = nullptr);

  int MaxValue() const { return maxValue_; }
  // A maximum below 1 counts as 1; the progress is clamped into the new range.
  void SetMaxValue(int maxValue);
  int Progress() const { return progress_; }
  // Clamped into 0..MaxValue().
  void SetProgress(int progress);
  // Whole percent done, 0 to 100.
  int PercentDone() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int maxValue_ = 100;
  int progress_ = 0;
};
