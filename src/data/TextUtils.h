// Small text helpers over CP932 byte strings; none splits a double-byte character.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// 1-based byte position of the first occurrence of sub in s, 0 when there is none.
// With ignoreCase both are upper-cased first (single-byte letters only).
int TextPos(std::string_view sub, std::string_view s, bool ignoreCase);

// Piece n (from 0) of s cut at the one-character delimiter; the last piece when s has
// fewer. s is trimmed of blanks and control characters first, and when delim is a
// blank, runs of blanks count as one. Knows nothing of quotes.
std::string GetToken(char delim, std::string_view s, int n);

// An optionally signed decimal integer that fits 32 bits, nothing else; any number
// of leading zeros is allowed.
std::optional<std::int32_t> ParseInteger(std::string_view text);

// ParseInteger, or fallback when text is not such an integer.
std::int32_t IntegerOr(std::string_view text, std::int32_t fallback);
