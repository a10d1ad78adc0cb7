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

// Writes value so that it stays on one line: a line break becomes the two
// characters \n and a Ctrl+Z a blank; with doubleQuotes each quote is doubled.
char* WriteOneLine(char* out, std::string_view value, bool doubleQuotes) {
  const char* p = value.data();
  const char* const end = p + value.size();
  for (;;) {
    const char* hit = FindQuoteOrBreak(p, end);
    std::memcpy(out, p, static_cast<std::size_t>(hit - p));
    out += hit - p;
    if (hit == end) return out;
    p = hit + 1;
    if (*hit == '"') {
      *out++ = '"';
      if (doubleQuotes) *out++ = '"';
    } else if (*hit == '\x1a') {
      *out++ = ' ';
    } else {
      if (*hit == '\r' && p < end && *p == '\n') ++p;
      *out++ = '\\';
      *out++ = 'n';
    }
  }
}

// Appends what write puts down for value, in room for its longest form.
template <typename Write>
void AppendWritten(std::string& out, std::string_view value, Write write) {
  const std::size_t start = out.size();
  out.resize(start + 2 * value.size() + 2);
  out.resize(static_cast<std::size_t>(write(out.data() + start, value) - out.data()));
}

}  // namespace

char* WriteQuoted(char* out, std::string_view value) {
  *out++ = '"';
  out = WriteOneLine(out, value, true);
  *out++ = '"';
  return out;
}

char* WriteLineText(char* out, std::string_view value) {
  return WriteOneLine(out, value, false);
}

void AppendQuoted(std::string& out, std::string_view value) {
  AppendWritten(out, value, WriteQuoted);
}

void AppendLineText(std::string& out, std::string_view value) {
  AppendWritten(out, value, WriteLineText);
}
