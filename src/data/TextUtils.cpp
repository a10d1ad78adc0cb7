#include "TextUtils.h"

#include <cstdint>

#include "ShiftJis.h"

int TextPos(std::string_view sub, std::string_view s, bool ignoreCase) {
  std::size_t pos;
  if (ignoreCase) {
    pos = sjis::FindText(sjis::UpperCase(s), sjis::UpperCase(sub));
  } else {
    pos = sjis::FindText(s, sub);
  }
  return pos == std::string_view::npos ? 0 : static_cast<int>(pos) + 1;
}

namespace {

bool IsBlankOrControl(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlankOrControl(s.front()))
    s.remove_prefix(1);
  while (!s.empty() && IsBlankOrControl(s.back()))
    s.remove_suffix(1);
  return s;
}

std::string CollapseBlanks(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s)
    if (c != ' ' || out.empty() || out.back() != ' ') out.push_back(c);
  return out;
}

}  // namespace

std::string GetToken(char delim, std::string_view s, int n) {
  std::string collapsed;
  if (delim == ' ') {
    collapsed = CollapseBlanks(s);
    s = collapsed;
  }
  std::string_view rest = Trim(s);
  std::string_view piece = rest;
  for (int i = 0; i <= n; ++i) {
    std::size_t at = sjis::FindChar(rest, delim);
    if (at == std::string_view::npos) {
      piece = rest;
      break;  // every later piece is this same remaining text
    }
    piece = rest.substr(0, at);
    rest = rest.substr(at + 1);
  }
  return std::string(piece);
}

std::optional<std::int32_t> ParseInteger(std::string_view text) {
  std::size_t i = 0;
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    i = 1;
  }
  if (i == text.size()) return std::nullopt;
  // Leading zeros add nothing, however many there are; what follows them must
  // still fit 32 bits, and ten digits keep the sum below overflow.
  while (i + 1 < text.size() && text[i] == '0')
    ++i;
  if (text.size() - i > 10) return std::nullopt;
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  if (negative) value = -value;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::int32_t IntegerOr(std::string_view text, std::int32_t fallback) {
  return ParseInteger(text).value_or(fallback);
}
