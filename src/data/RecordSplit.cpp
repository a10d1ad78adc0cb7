#include "RecordSplit.h"

#include <cstdint>
#include <cstring>

namespace {

// Blanks and control bytes between fields. Byte 0 counts as one too, so that it
// can neither start an endless run of empty fields nor end the line early.
bool IsGap(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

std::size_t SkipGaps(std::string_view s, std::size_t i) {
  while (i < s.size() && IsGap(s[i]))
    ++i;
  return i;
}

// Reads the quoted field that starts at s[i] == '"' into fields; returns the
// position after its closing quote (or the end of s).
std::size_t ReadQuoted(std::string_view s, std::size_t i, TRecordFields& fields) {
  ++i;
  const void* hit = std::memchr(s.data() + i, '"', s.size() - i);
  if (hit == nullptr) {
    fields.AddView(s.substr(i));
    return s.size();
  }
  std::size_t q = static_cast<const char*>(hit) - s.data();
  if (q + 1 >= s.size() || s[q + 1] != '"') {  // no doubled quote: a view will do
    fields.AddView(s.substr(i, q - i));
    return q + 1;
  }
  std::string& field = fields.AddOwned();
  for (;;) {
    field.append(s.substr(i, q - i));
    if (q + 1 >= s.size() || s[q + 1] != '"') return q + 1;
    field.push_back('"');
    i = q + 2;
    hit = std::memchr(s.data() + i, '"', s.size() - i);
    if (hit == nullptr) {
      field.append(s.substr(i));
      return s.size();
    }
    q = static_cast<const char*>(hit) - s.data();
  }
}

}  // namespace

void TRecordFields::Grow() {
  fields_.resize(fields_.empty() ? 16 : fields_.size() * 2);
}

std::string& TRecordFields::AddOwned() {
  TField& f = Next();
  if (ownedCount_ == owned_.size()) owned_.emplace_back();
  f.owned = static_cast<int>(ownedCount_);
  std::string& storage = owned_[ownedCount_++];
  storage.clear();
  return storage;
}

void SplitRecord(std::string_view line, TRecordFields& fields, std::size_t maxFields) {
  fields.Clear();
  std::size_t i = SkipGaps(line, 0);
  while (i < line.size() && fields.Count() < maxFields) {
    if (line[i] == '"') {
      i = ReadQuoted(line, i, fields);
    } else {
      std::size_t start = i;
      while (i < line.size() && !IsGap(line[i]) && line[i] != ',')
        ++i;
      fields.AddView(line.substr(start, i - start));
    }
    i = SkipGaps(line, i);
    if (i < line.size() && line[i] == ',') {
      if (i + 1 == line.size() && fields.Count() < maxFields) fields.AddView({});
      i = SkipGaps(line, i + 1);
    }
  }
}

void DequoteQuotedField(std::string& field) {
  std::string inner;
  std::size_t i = 1;
  for (;;) {
    std::size_t q = field.find('"', i);
    if (q == std::string::npos) return;  // unclosed: not one quoted string
    inner.append(field, i, q - i);
    if (q + 1 < field.size() && field[q + 1] == '"') {
      inner.push_back('"');
      i = q + 2;
      continue;
    }
    if (q + 1 != field.size()) return;  // text after the closing quote
    break;
  }
  if (!inner.empty()) field = std::move(inner);
}

namespace {

// Appends value so that it stays on one line: a line break becomes the two
// characters \n and a Ctrl+Z a blank; with doubleQuotes each quote is doubled.
// Whether any of the eight bytes of word lies below 0x23 (the quote, CR, LF and
// Ctrl+Z all do); a byte of 0x80 or above never counts.
constexpr bool HasByteBelowQuoteEnd(std::uint64_t word) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
  constexpr std::uint64_t kHigh = 0x8080808080808080ULL;
  return ((word - kOnes * 0x23) & ~word & kHigh) != 0;
}

void AppendOneLine(std::string& out, std::string_view value, bool doubleQuotes) {
  std::size_t run = 0;  // start of the bytes not yet copied
  for (std::size_t i = 0; i < value.size(); ++i) {
    // Skip eight ordinary bytes at a time: most values hold nothing to escape.
    while (i + 8 <= value.size()) {
      std::uint64_t word;
      std::memcpy(&word, value.data() + i, 8);
      if (HasByteBelowQuoteEnd(word)) break;
      i += 8;
    }
    if (i >= value.size()) break;
    char c = value[i];
    // Every byte that needs care lies below 0x23: one test passes all the others.
    if (static_cast<unsigned char>(c) > '"') continue;
    if ((c != '"' || !doubleQuotes) && c != '\r' && c != '\n' && c != '\x1a') continue;
    out.append(value.substr(run, i - run));
    run = i + 1;
    if (c == '"') {
      out.append("\"\"");
    } else if (c == '\x1a') {
      out.push_back(' ');
    } else {
      if (c == '\r' && i + 1 < value.size() && value[i + 1] == '\n') run = ++i + 1;
      out.append("\\n");
    }
  }
  out.append(value.substr(run));
}

}  // namespace

void AppendQuoted(std::string& out, std::string_view value) {
  out.push_back('"');
  AppendOneLine(out, value, true);
  out.push_back('"');
}

void AppendLineText(std::string& out, std::string_view value) {
  AppendOneLine(out, value, false);
}
