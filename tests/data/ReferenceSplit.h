// The record split written the plain way, byte by byte, as the yardstick for the
// fast split: a field in quotes runs to its closing quote ("" is one quote, an
// unclosed one takes the rest), any other to a comma or a blank/control byte;
// blanks around commas are skipped and a comma that ends the line adds an empty
// field. Also the yardsticks of the direct reader of written button lines (the
// line reader, the split and FieldsToItem) and of the writers (byte by byte).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FileIO.h"
#include "RecordSplit.h"
#include "RecordText.h"

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

// A value on one line, byte by byte: CR LF, CR or LF as the two characters \n, a
// Ctrl+Z as a blank, and with doubleQuotes each quote doubled.
inline std::string OneLine(std::string_view value, bool doubleQuotes) {
  std::string out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (c == '"' && doubleQuotes) {
      out += "\"\"";
    } else if (c == '\x1a') {
      out += ' ';
    } else if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < value.size() && value[i + 1] == '\n') ++i;
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out;
}

// A button's text written field by field, byte by byte.
inline std::string ItemText(const TLaunchDataItem& item) {
  std::string out = std::to_string(item.Kind) + "," + std::to_string(item.UseCount);
  for (const TFieldText* s :
       {&item.Title, &item.Link, &item.AltLink, &item.Params, &item.WorkDir, &item.IconFile})
    out += ",\"" + OneLine(*s, true) + "\"";
  out += "," + std::to_string(item.IconIndex) + "," + std::to_string(item.ShowCmd) + ",";
  return out + "\"" + OneLine(item.Comment, true) + "\"";
}

inline bool Within(std::string_view part, std::string_view whole) {
  const auto start = reinterpret_cast<std::uintptr_t>(part.data());
  const auto begin = reinterpret_cast<std::uintptr_t>(whole.data());
  return start >= begin && start + part.size() <= begin + whole.size();
}

// Empty when the direct reader, given line and each kind of line end, agrees with
// the line reader, the split and FieldsToItem, and borrows only from its bytes.
inline std::string WrittenItemDifference(std::string_view line) {
  for (std::string_view end : {"", "\n", "\r\n", "\r", "\n3,", "\x1a\n"}) {
    const std::string bytes = std::string(line) + std::string(end);
    TLaunchDataItem direct;
    const std::size_t length = ReadWrittenItem(bytes, direct);
    if (length == 0) continue;
    TLineReader lines(bytes);
    std::string_view first;
    lines.Next(first);
    TRecordFields fields;
    ::SplitRecord(first, fields, 11);
    TLaunchDataItem plain;
    try {
      FieldsToItem(fields, plain);
    } catch (...) {
      return "the plain reader refuses [" + bytes + "]";
    }
    const std::size_t lf = bytes.find('\n');
    const std::size_t expected = lf == std::string::npos ? bytes.size() : lf + 1;
    if (!(direct == plain) || length != expected) return "reads differ on [" + bytes + "]";
    for (const TFieldText* s : {&direct.Title, &direct.Link, &direct.AltLink, &direct.Params,
                                &direct.WorkDir, &direct.IconFile, &direct.Comment})
      if (s->Borrowed() && !Within(*s, bytes)) return "borrows from elsewhere [" + bytes + "]";
  }
  return {};
}

// Empty when the button text writer, and the quoting writers of any one text, write
// what the byte-by-byte writer writes.
inline std::string ItemTextDifference(const TLaunchDataItem& item) {
  for (bool quoted : {true, false}) {
    std::string written;
    (quoted ? AppendQuoted : AppendLineText)(written, item.Comment);
    const std::string plain =
        quoted ? "\"" + OneLine(item.Comment, true) + "\"" : OneLine(item.Comment, false);
    if (written != plain) return "quoting writers differ on [" + written + "]";
  }
  const std::string fast = ItemToText(item);
  const std::string plain = ItemText(item);
  if (fast != plain) return "writers differ: [" + fast + "] against [" + plain + "]";
  if (ItemTextBound(item) < fast.size()) return "bound too small for [" + fast + "]";
  return {};
}

}  // namespace reference
