// A caption placed at a fixed point of a form, as the dialogs are laid out.
#pragma once

#include <QString>

class QLabel;
class QWidget;

// A label of caption at (x, y) of parent, sized to its text; buddy takes the focus
// for the caption's accelerator letter.
QLabel* PlacedLabel(QWidget* parent, const QString& caption, int x, int y,
                    QWidget* buddy = nullptr);
