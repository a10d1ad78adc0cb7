#include "TextFormat.h"

#include "ShiftJis.h"

std::string PadNumber(std::int32_t number, int width, bool zeros) {
  std::string text = std::to_string(number);
  if (static_cast<int>(text.size()) < width)
    text.insert(0, static_cast<std::size_t>(width) - text.size(), zeros ? '0' : ' ');
  return text;
}

QString ShownText(const std::string& cp932) {
  return QString::fromStdString(sjis::ToShownUtf8(cp932));
}

std::optional<std::string> StoredText(const QString& shown) {
  return sjis::FromShownUtf8(shown.toStdString());
}

QString SpokenButtonText(const std::string& cp932Title, std::int32_t useCount) {
  // One pass: a title holding "%2" stays as it is.
  return QStringLiteral("%1 (使用回数 %2)").arg(ShownText(cp932Title), QString::number(useCount));
}
