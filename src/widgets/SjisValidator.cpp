#include "SjisValidator.h"

#include "ShiftJis.h"

bool IsStorableText(const QString& text) {
  if (text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'))) return false;
  return sjis::FromUtf8(text.toStdString()).has_value();
}

QValidator::State TSjisValidator::validate(QString& input, int& /*pos*/) const {
  return IsStorableText(input) ? Acceptable : Invalid;
}
