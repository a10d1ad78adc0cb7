// Shift-JIS (CP932) through iconv rather than QStringConverter: a field's bytes must
// come back exactly as the file held them, and iconv says where a conversion fails
// instead of putting a replacement character in its place.
#include "ShiftJis.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
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

namespace {

// The private-use characters that stand for bytes CP932 does not define:
// U+F700 + the byte, for the bytes that can be part of such a character (0x40-0xFF).
constexpr char32_t kByteStandInBase = 0xF700;
constexpr unsigned char kFirstStoodInByte = 0x40;

void AppendStandIn(std::string& out, unsigned char byte) {
  const char32_t c = kByteStandInBase + byte;  // three bytes in UTF-8: EF 9C..9F xx
  out += static_cast<char>(0xE0 | (c >> 12));
  out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
  out += static_cast<char>(0x80 | (c & 0x3F));
}

// The byte a stand-in at utf8[i] gives, or -1 when none starts there.
int StoodInByte(std::string_view utf8, std::size_t i) {
  if (i + 2 >= utf8.size() || static_cast<unsigned char>(utf8[i]) != 0xEF) return -1;
  const auto b1 = static_cast<unsigned char>(utf8[i + 1]);
  const auto b2 = static_cast<unsigned char>(utf8[i + 2]);
  if (b1 < 0x9C || b1 > 0x9F || (b2 & 0xC0) != 0x80) return -1;
  const int byte = ((b1 & 0x3F) << 6 | (b2 & 0x3F)) - 0x700;
  return byte >= kFirstStoodInByte ? byte : -1;
}

// Each character of s in UTF-8, a character CP932 does not define as onUndefined
// makes it of its bytes.
template <typename F>
std::string ToUtf8Piecewise(std::string_view s, F onUndefined) {
  std::string out;
  for (std::size_t i = 0; i < s.size();) {
    const std::size_t n = CharLength(s, i);
    if (auto piece = ToUtf8(s.substr(i, n))) {
      out += *piece;
    } else {
      for (std::size_t k = 0; k < n; ++k)
        onUndefined(out, static_cast<unsigned char>(s[i + k]));
    }
    i += n;
  }
  return out;
}

}  // namespace

std::string ToShownUtf8(std::string_view s) {
  if (auto whole = ToUtf8(s)) return *whole;
  return ToUtf8Piecewise(s, AppendStandIn);
}

std::optional<std::string> FromShownUtf8(std::string_view s) {
  std::string out;
  std::size_t run = 0;  // where the text since the last stand-in begins
  for (std::size_t i = 0; i < s.size(); ++i) {
    const int byte = StoodInByte(s, i);
    if (byte < 0) continue;
    auto text = FromUtf8(s.substr(run, i - run));
    if (!text) return std::nullopt;
    out += *text;
    out += static_cast<char>(byte);
    i += 2;
    run = i + 1;
  }
  auto text = FromUtf8(s.substr(run));
  if (!text) return std::nullopt;
  out += *text;
  return out;
}

bool StartsWithUtf8Bom(std::string_view bytes) {
  return bytes.starts_with("\xEF\xBB\xBF");
}

bool IsUtf8Text(std::string_view bytes) {
  if (StartsWithUtf8Bom(bytes)) return true;
  // Real CP932 text is almost never valid UTF-8: its kana lead bytes 0x82 and 0x83
  // are UTF-8 continuation bytes. Only pairs of half-width katakana (C2-DF then A1-BF)
  // form two-byte UTF-8 characters by chance, so text holding nothing longer is UTF-8
  // only when CP932 cannot read it.
  bool beyondAscii = false, longer = false;
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* const end = p + bytes.size();
  while (p < end) {
    // Eight ASCII bytes at a time: most of a file of plain names is ASCII.
    std::uint64_t word;
    if (end - p >= 8 && (std::memcpy(&word, p, 8), (word & 0x8080808080808080ull) == 0)) {
      p += 8;
      continue;
    }
    const unsigned char c = *p;
    if (c < 0x80) {
      ++p;
      continue;
    }
    int n = 0;
    char32_t least = 0;
    if (c >= 0xC2 && c <= 0xDF) {
      n = 1, least = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
      n = 2, least = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
      n = 3, least = 0x10000;
    } else {
      return false;
    }
    if (end - p <= n) return false;
    char32_t code = c & (0x3F >> n);
    for (int k = 1; k <= n; ++k) {
      if ((p[k] & 0xC0) != 0x80) return false;
      code = code << 6 | (p[k] & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    beyondAscii = true;
    longer = longer || n > 1;
    p += n + 1;
  }
  if (!beyondAscii) return false;
  return longer || !ToUtf8(bytes).has_value();
}

std::string ToUtf8ForDisplay(std::string_view s) {
  if (auto whole = ToUtf8(s)) return *whole;
  return ToUtf8Piecewise(s, [](std::string& out, unsigned char b) {
    static const char kHex[] = "0123456789ABCDEF";
    out += "\\x";
    out += kHex[b >> 4];
    out += kHex[b & 15];
  });
}

}  // namespace sjis
