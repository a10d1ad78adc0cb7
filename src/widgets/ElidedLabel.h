// A one-line label that cuts a text too wide for it with an ellipsis when it paints,
// so that setting its text stays cheap however often it changes.
#pragma once

#include <QLabel>

class TElidedLabel : public QLabel {
  Q_OBJECT

 public:
  using QLabel::QLabel;
  // The text as it shows: cut to the label's width with "…" when it does not fit.
  QString ShownText() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
};
