// A number field that takes whatever number is typed and clamps it into its range
// when the field is left or read, instead of refusing the keystrokes.
#pragma once

#include <QSpinBox>

class TSpinEdit : public QSpinBox {
  Q_OBJECT

 public:
  explicit TSpinEdit(QWidget* parent = nullptr);

  // The number the field shows now, typed text included: clamped into the range; a
  // text that is not a number gives the minimum.
  int TypedValue() const;

  // text read the same way.
  int ValueOfText(const QString& text) const;

 protected:
  // Digits, signs and the decimal point may be typed; an integer in range is final.
  QValidator::State validate(QString& input, int& pos) const override;
  void fixup(QString& input) const override;
  int valueFromText(const QString& text) const override;
};
