// The input dialog's three questions, asked through Dialogs(). Free of QtWidgets, so
// that toolkit-free commands can ask them. Each returns true when confirmed with OK
// and only then stores the answer; cancel leaves it unchanged. The dialog's top-left
// corner is asked at (x, y) and kept in the work area.
#pragma once

#include <QString>
#include <QStringList>

// A whole number in min..max starting at value (clamped); a "デフォルト" button sets
// defaultValue unless it is -1. A typed number is clamped, a non-number gives min.
bool InputNumber(int x, int y, int min, int defaultValue, int& value, const QString& prompt,
                 const QString& caption, int max);

// A line of text starting as text; OK is refused while the field has been emptied.
bool InputText(int x, int y, const QString& caption, QString& text, const QString& prompt);

// One entry of items, entry index selected at first; choice receives its index.
bool InputChoice(int x, int y, const QString& caption, int index, int& choice,
                 const QStringList& items, const QString& prompt);
