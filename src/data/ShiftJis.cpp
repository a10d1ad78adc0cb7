// Shift-JIS (CP932) through iconv rather than QStringConverter: a field's bytes must
// come back exactly as the file held them, and iconv says where a conversion fails
// instead of putting a replacement character in its place.
#include "ShiftJis.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

namespace sjis {

namespace {

// One iconv descriptor per direction and thread, opened on first use.
class TConverter {
 public:
  TConverter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~TConverter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  TConverter(const TConverter&) = delete;
  TConverter& operator=(const TConverter&) = delete;

  std::optional<std::string> Convert(std::string_view in) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    std::string out;
    out.resize(in.size() * 2 + 16);
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    std::size_t done = 0;
    for (;;) {
      char* dst = out.data() + done;
      std::size_t dstLeft = out.size() - done;
      std::size_t r = iconv(cd_, srcLeft ? &src : nullptr, &srcLeft, &dst, &dstLeft);
      done = out.size() - dstLeft;
      if (r != static_cast<std::size_t>(-1)) {
        if (srcLeft == 0) break;
        continue;
      }
      if (errno != E2BIG) return std::nullopt;  // EILSEQ or EINVAL: not convertible
      out.resize(out.size() * 2);
    }
    out.resize(done);
    return out;
  }

 private:
  iconv_t cd_;
};

TConverter& Cp932ToUtf8Converter() {
  thread_local TConverter c("UTF-8", "CP932");
  return c;
}
TConverter& Utf8ToCp932Converter() {
  thread_local TConverter c("CP932", "UTF-8");
  return c;
}
TConverter& Utf16ToCp932Converter() {
  thread_local TConverter c("CP932", "UTF-16LE");
  return c;
}
TConverter& Cp932ToUtf16Converter() {
  thread_local TConverter c("UTF-16LE", "CP932");
  return c;
}

// Converts in with forth, and only when back gives exactly in again: iconv maps
// some characters to ones that merely look alike (a yen sign to a backslash, a
// wave dash to a full-width tilde), and such a result would change the text.
std::optional<std::string> ConvertExact(TConverter& forth, TConverter& back, std::string_view in) {
  auto out = forth.Convert(in);
  if (!out) return std::nullopt;
  auto again = back.Convert(*out);
  if (!again || *again != in) return std::nullopt;
  return out;
}

bool IsAscii(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

}  // namespace

std::size_t FindChar(std::string_view s, char c, std::size_t from) {
  for (std::size_t i = from; i < s.size(); i += CharLength(s, i))
    if (s[i] == c) return i;
  return std::string_view::npos;
}

std::size_t FindLastOf(std::string_view s, std::string_view chars) {
  std::size_t found = std::string_view::npos;
  for (std::size_t i = 0; i < s.size(); i += CharLength(s, i))
    if (chars.find(s[i]) != std::string_view::npos) found = i;
  return found;
}

std::size_t FindText(std::string_view s, std::string_view sub, std::size_t from) {
  if (sub.empty()) return from <= s.size() ? from : std::string_view::npos;
  for (std::size_t i = from; i + sub.size() <= s.size(); i += CharLength(s, i))
    if (s.compare(i, sub.size(), sub) == 0) return i;
  return std::string_view::npos;
}

std::string UpperCase(std::string_view s) {
  std::string out(s);
  for (std::size_t i = 0; i < out.size();) {
    std::size_t n = CharLength(out, i);
    if (n == 1 && out[i] >= 'a' && out[i] <= 'z') out[i] = static_cast<char>(out[i] - 'a' + 'A');
    i += n;
  }
  return out;
}

std::string ReplaceText(std::string_view s, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(s);
  std::string out;
  out.reserve(s.size());
  std::size_t pos = 0;
  for (;;) {
    std::size_t hit = FindText(s, from, pos);
    if (hit == std::string_view::npos) break;
    out.append(s.substr(pos, hit - pos));
    out.append(to);
    pos = hit + from.size();
  }
  out.append(s.substr(pos));
  return out;
}

std::optional<std::string> ToUtf8(std::string_view s) {
  if (IsAscii(s)) return std::string(s);
  return Cp932ToUtf8Converter().Convert(s);
}

std::optional<std::string> ToUtf8Exact(std::string_view s) {
  if (IsAscii(s)) return std::string(s);
  return ConvertExact(Cp932ToUtf8Converter(), Utf8ToCp932Converter(), s);
}

std::optional<std::string> FromUtf8(std::string_view s) {
  if (IsAscii(s)) return std::string(s);
  return ConvertExact(Utf8ToCp932Converter(), Cp932ToUtf8Converter(), s);
}

std::optional<std::string> FromUtf16Le(std::string_view bytes) {
  if (bytes.size() % 2 != 0) return std::nullopt;
  return ConvertExact(Utf16ToCp932Converter(), Cp932ToUtf16Converter(), bytes);
}

std::string ToUtf8ForDisplay(std::string_view s) {
  if (auto whole = ToUtf8(s)) return *whole;
  std::string out;
  static const char kHex[] = "0123456789ABCDEF";
  for (std::size_t i = 0; i < s.size();) {
    std::size_t n = CharLength(s, i);
    auto piece = ToUtf8(s.substr(i, n));
    if (piece) {
      out += *piece;
    } else {
      for (std::size_t k = 0; k < n; ++k) {
        auto b = static_cast<unsigned char>(s[i + k]);
        out += "\\x";
        out += kHex[b >> 4];
        out += kHex[b & 15];
      }
    }
    i += n;
  }
  return out;
}

}  // namespace sjis
