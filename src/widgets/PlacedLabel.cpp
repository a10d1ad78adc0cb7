#include "PlacedLabel.h"

#include <QLabel>

QLabel* PlacedLabel(QWidget* parent, const QString& caption, int x, int y, QWidget* buddy) {
  auto* label = new QLabel(caption, parent);
  label->move(x, y);
  label->adjustSize();
  if (buddy) label->setBuddy(buddy);
  return label;
}
