// Refuses, as it is typed or pasted, text that a record field cannot hold.
#pragma once

#include <QValidator>

// Accepts text only when every character has a Shift-JIS (CP932) form and none is a
// line break: what is accepted is stored exactly, never altered or dropped.
class TSjisValidator : public QValidator {
  Q_OBJECT

 public:
  using QValidator::QValidator;
  State validate(QString& input, int& pos) const override;
};

// Whether text can be stored in a record field unchanged (see TSjisValidator).
bool IsStorableText(const QString& text);
