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

// Whether every character of text, line breaks included, has a CP932 form that
// converts back to it: text of several lines that a field stores unchanged.
bool IsStorableLines(const QString& text);

// Accepts an optionally signed decimal integer that fits 32 bits; an empty box and a
// lone sign are let through as the start of one.
class TInt32Validator : public QValidator {
  Q_OBJECT

 public:
  using QValidator::QValidator;
  State validate(QString& input, int& pos) const override;
};
