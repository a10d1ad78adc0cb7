// Shift-JIS (code page 932) helpers: byte-string scanning that never splits a
// double-byte character, and conversions to and from UTF-8 / UTF-16 that report
// unconvertible input instead of replacing it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace sjis {

// True for the bytes that start a double-byte character (0x81-0x9F, 0xE0-0xFC).
constexpr bool IsLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// True for the bytes that may end a double-byte character (0x40-0x7E, 0x80-0xFC).
constexpr bool IsTrailByte(unsigned char c) {
  return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

// Length of the character at s[i]: 2 for a lead byte followed by a trail byte,
// else 1. A lead byte without a valid trail stands alone, so invalid input is
// scanned the same way by every reader and writer and survives unchanged.
inline std::size_t CharLength(std::string_view s, std::size_t i) {
  if (i + 1 < s.size() && IsLeadByte(static_cast<unsigned char>(s[i])) &&
      IsTrailByte(static_cast<unsigned char>(s[i + 1])))
    return 2;
  return 1;
}

// Position of the first single-byte character c at or after from, npos if none.
std::size_t FindChar(std::string_view s, char c, std::size_t from = 0);

// Position of the last single-byte character that is one of chars, npos if none
// (a path's last delimiter: FindLastOf(path, "/\\")).
std::size_t FindLastOf(std::string_view s, std::string_view chars);

// Position of the first occurrence of sub that starts on a character boundary.
std::size_t FindText(std::string_view s, std::string_view sub, std::size_t from = 0);

// Upper-cases single-byte a-z; double-byte characters are left as they are.
std::string UpperCase(std::string_view s);

// Replaces every occurrence of from (starting on a character boundary) by to.
std::string ReplaceText(std::string_view s, std::string_view from, std::string_view to);

// CP932 -> UTF-8; nullopt when s is not valid CP932.
std::optional<std::string> ToUtf8(std::string_view s);

// CP932 -> UTF-8, only when converting the result back gives exactly s again
// (CP932 maps some characters twice; those byte strings have no exact UTF-8 form).
std::optional<std::string> ToUtf8Exact(std::string_view s);

// UTF-8 -> CP932; nullopt when s is not valid UTF-8 or holds a character CP932 lacks
// or only approximates (¥ U+00A5, 〜 U+301C, ...): the result always converts
// back to exactly s.
std::optional<std::string> FromUtf8(std::string_view s);

// UTF-16LE bytes -> CP932; nullopt on odd length, bad surrogates or characters that
// CP932 lacks or only approximates, as FromUtf8.
std::optional<std::string> FromUtf16Le(std::string_view bytes);

// CP932 -> UTF-8 for messages in a terminal: bytes that do not convert appear as \xNN.
std::string ToUtf8ForDisplay(std::string_view s);

// CP932 -> UTF-8 for showing in a field that can be edited: each byte of a character
// CP932 does not define becomes the private-use character U+F700 + the byte, which no
// font draws as text and FromShownUtf8 turns back into that byte.
std::string ToShownUtf8(std::string_view s);

// What the user left in such a field -> CP932: FromUtf8, with each stand-in of
// ToShownUtf8 turned back into its byte; nullopt as FromUtf8.
std::optional<std::string> FromShownUtf8(std::string_view s);

// Whether bytes start with the UTF-8 byte order mark.
bool StartsWithUtf8Bom(std::string_view bytes);

// Whether bytes are UTF-8 text rather than CP932: they start with the byte order
// mark, or they are valid UTF-8 holding characters beyond ASCII that CP932 text
// would not give.
bool IsUtf8Text(std::string_view bytes);

}  // namespace sjis
