// The record split written the plain way, byte by byte, as the yardstick for the
// fast split: a field in quotes runs to its closing quote ("" is one quote, an
// unclosed one takes the rest), any other to a comma or a blank/control byte;
// blanks around commas are skipped and a comma that ends the line adds an empty
// field.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace reference {

inline bool IsGap(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

inline std::vector<std::string> SplitRecord(std::string_view s, std::size_t maxFields) {
  std::vector<std::string> fields;
  std::size_t i = 0;
  auto skipGaps = [&] {
    while (i < s.size() && IsGap(s[i]))
      ++i;
  };
  skipGaps();
  while (i < s.size() && fields.size() < maxFields) {
    std::string field;
    if (s[i] == '"') {
      for (++i; i < s.size(); ++i) {
        if (s[i] != '"') {
          field.push_back(s[i]);
        } else if (i + 1 < s.size() && s[i + 1] == '"') {
          field.push_back('"');
          ++i;
        } else {
          ++i;
          break;
        }
      }
    } else {
      while (i < s.size() && !IsGap(s[i]) && s[i] != ',')
        field.push_back(s[i++]);
    }
    fields.push_back(std::move(field));
    skipGaps();
    if (i < s.size() && s[i] == ',') {
      if (i + 1 == s.size() && fields.size() < maxFields) fields.emplace_back();
      ++i;
      skipGaps();
    }
  }
  return fields;
}

}  // namespace reference
