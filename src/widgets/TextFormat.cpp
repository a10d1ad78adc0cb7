#include "TextFormat.h"

#include "ShiftJis.h"

std::string PadNumber(std::int32_t number, int width, bool zeros) {
  std::string text = std::to_string(number);
  if (static_cast<int>(text.size()) < width)
    text.insert(0, static_cast<std::size_t>(width) - text.size(), zeros ? '0' : ' ');
  return text;
}

QString ShownText(const std::string& cp932) {
  return QString::fromStdString(sjis::ToUtf8ForDisplay(cp932));
}
