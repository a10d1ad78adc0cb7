#include "SjisValidator.h"

#include "TextFormat.h"
#include "TextUtils.h"

bool IsStorableText(const QString& text) {
  if (text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'))) return false;
  return IsStorableLines(text);
}

bool IsStorableLines(const QString& text) {
  return StoredText(text).has_value();
}

QValidator::State TSjisValidator::validate(QString& input, int& /*pos*/) const {
  return IsStorableText(input) ? Acceptable : Invalid;
}

QValidator::State TInt32Validator::validate(QString& input, int& /*pos*/) const {
  if (input.isEmpty() || input == QLatin1String("-") || input == QLatin1String("+"))
    return Intermediate;
  return ParseInteger(input.toStdString()) ? Acceptable : Invalid;
}
