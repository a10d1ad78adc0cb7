#include "SpinEdit.h"

#include <algorithm>

#include <QLocale>

TSpinEdit::TSpinEdit(QWidget* parent) : QSpinBox(parent) {
  // Plain ASCII digits whatever the user's locale, as the validator expects.
  setLocale(QLocale::c());
  setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}

int TSpinEdit::TypedValue() const {
  return ValueOfText(cleanText());
}

int TSpinEdit::ValueOfText(const QString& text) const {
  bool ok = false;
  const qlonglong number = text.normalized(QString::NormalizationForm_KC).trimmed().toLongLong(&ok);
  if (!ok) return minimum();
  return static_cast<int>(std::clamp<qlonglong>(number, minimum(), maximum()));
}

QValidator::State TSpinEdit::validate(QString& input, int& pos) const {
  // Full-width digits and signs, as a Japanese input method types them, count as ASCII.
  const QString normal = input.normalized(QString::NormalizationForm_KC);
  for (const QChar c : normal) {
    const char16_t u = c.unicode();
    if (!(u >= u'0' && u <= u'9') && u != u'+' && u != u'-' && u != u'.')
      return QValidator::Invalid;
  }
  if (normal != input) {
    input = normal;
    pos = std::min(pos, static_cast<int>(input.size()));
  }
  bool ok = false;
  const qlonglong number = input.toLongLong(&ok);
  return ok && number >= minimum() && number <= maximum() ? QValidator::Acceptable
                                                          : QValidator::Intermediate;
}

void TSpinEdit::fixup(QString& input) const {
  input = QString::number(ValueOfText(input));
}

int TSpinEdit::valueFromText(const QString& text) const {
  return ValueOfText(text);
}
