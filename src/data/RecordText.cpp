// The record texts are parsed and written by hand: no CSV library keeps the quoting,
// the field order and the bytes of a line exactly as the launcher writes them.
#include "RecordText.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "LaunchErrors.h"
#include "RecordSplit.h"
#include "TextUtils.h"

namespace {

constexpr std::size_t kItemFields = 11;
constexpr std::size_t kPageFields = 3;
constexpr std::size_t kStatusFields = 6;

void AppendInteger(std::string& out, std::int64_t value) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  out.append(digits, end);
}

std::string DequotedCopy(std::string_view field) {
  std::string value(field);
  DequoteField(value);
  return value;
}

// Field n of text through the record split, dequoted, for the single-field readers.
std::string StringField(std::string_view text, std::size_t n) {
  TRecordFields fields;
  SplitRecord(text, fields, n + 1);
  if (fields.Count() <= n) throw EListError(static_cast<int>(n));
  std::string value = DequotedCopy(fields[n]);
  if (value == "\"\"") value.clear();
  return value;
}

char* WriteInteger(char* out, std::int64_t value) {
  return std::to_chars(out, out + 24, value).ptr;
}

}  // namespace

std::size_t ItemTextBound(const TLaunchDataItem& item) {
  // Each byte of a text takes at most two; four integers of at most eleven, seven
  // pairs of quotes and ten commas.
  std::size_t size = 4 * 11 + 14 + 10;
  for (const TFieldText* s : {&item.Title, &item.Link, &item.AltLink, &item.Params, &item.WorkDir,
                              &item.IconFile, &item.Comment})
    size += 2 * s->size();
  return size;
}

char* WriteItemText(char* out, const TLaunchDataItem& item) {
  out = WriteInteger(out, item.Kind);
  *out++ = ',';
  out = WriteInteger(out, item.UseCount);
  for (const TFieldText* s :
       {&item.Title, &item.Link, &item.AltLink, &item.Params, &item.WorkDir, &item.IconFile}) {
    *out++ = ',';
    out = WriteQuoted(out, *s);
  }
  *out++ = ',';
  out = WriteInteger(out, item.IconIndex);
  *out++ = ',';
  out = WriteInteger(out, item.ShowCmd);
  *out++ = ',';
  return WriteQuoted(out, item.Comment);
}

void AppendItemText(std::string& out, const TLaunchDataItem& item) {
  const std::size_t start = out.size();
  out.resize(start + ItemTextBound(item));
  out.resize(static_cast<std::size_t>(WriteItemText(out.data() + start, item) - out.data()));
}

void AppendPageText(std::string& out, const TPageItem& page) {
  AppendQuoted(out, page.Caption);
  out.push_back(',');
  AppendInteger(out, page.Count);
  out.push_back(',');
  AppendInteger(out, page.Extra);
}

void AppendStatusText(std::string& out, const TDataStatus& status) {
  AppendQuoted(out, status.AppName);
  out.push_back(',');
  AppendQuoted(out, status.Version);
  out.push_back(',');
  AppendQuoted(out, status.Notice);
  for (std::int32_t v : {status.MaxPages, status.MaxButtons, status.MinButtons}) {
    out.push_back(',');
    AppendInteger(out, v);
  }
}

std::string ItemToText(const TLaunchDataItem& item) {
  // Written aside and copied once at its size: a grid holds a million of these, and
  // spare room in each, or growing each by doubling, cost more than writing it.
  thread_local std::string room;
  if (room.size() < ItemTextBound(item)) room.resize(ItemTextBound(item));
  return std::string(room.data(), WriteItemText(room.data(), item));
}

namespace {

// Whether held, from at on, holds what the writer writes of an item's text, part by
// part, moving at past each. A borrowed text is matched by where its bytes are, not
// by comparing them: a text borrowed from a quoted field of the file holds no
// quote, CR, LF or Ctrl+Z, and one borrowed from an unquoted field is never
// followed by a quote.
class TWrittenMatch {
 public:
  TWrittenMatch(std::string_view held, std::size_t at) : held_(held), at_(at) {}
  bool Integer(std::int64_t value) {
    char digits[24];
    const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    return Bytes({digits, static_cast<std::size_t>(end - digits)});
  }
  bool Byte(char c) {
    if (at_ >= held_.size() || held_[at_] != c) return false;
    ++at_;
    return true;
  }
  bool Quoted(const TFieldText& text) {
    if (!Byte('"')) return false;
    if (text.Borrowed() && text.data() == held_.data() + at_ && text.size() <= held_.size() - at_) {
      at_ += text.size();
    } else {
      // A text of its own (one that had doubled quotes, say) is compared as written.
      for (char c : text.view()) {
        if (c == '\r' || c == '\n' || c == '\x1a') return false;  // written otherwise
        if (!Byte(c) || (c == '"' && !Byte('"'))) return false;
      }
    }
    return Byte('"');
  }
  std::size_t At() const { return at_; }

 private:
  bool Bytes(std::string_view bytes) {
    if (held_.size() - at_ < bytes.size()) return false;
    for (char c : bytes)
      if (held_[at_++] != c) return false;
    return true;
  }
  std::string_view held_;
  std::size_t at_;
};

// Where the item's text starts in held, found back from its title's bytes; npos when
// the title borrows nothing there.
std::size_t WrittenStart(const TLaunchDataItem& item, std::string_view held) {
  if (!item.Title.Borrowed()) return std::string_view::npos;
  const auto title = reinterpret_cast<std::uintptr_t>(item.Title.data());
  const auto begin = reinterpret_cast<std::uintptr_t>(held.data());
  char digits[24];
  const std::size_t prefix =
      static_cast<std::size_t>(std::to_chars(digits, digits + sizeof digits, item.Kind).ptr -
                               digits) +
      static_cast<std::size_t>(std::to_chars(digits, digits + sizeof digits, item.UseCount).ptr -
                               digits) +
      3;  // two commas and the title's opening quote
  if (title < begin + prefix || title - begin > held.size()) return std::string_view::npos;
  return title - begin - prefix;
}

}  // namespace

std::string_view WrittenTextIn(const TLaunchDataItem& item, std::string_view held) {
  const std::size_t start = WrittenStart(item, held);
  if (start == std::string_view::npos) return {};
  TWrittenMatch match(held, start);
  bool same = match.Integer(item.Kind) && match.Byte(',') && match.Integer(item.UseCount);
  for (const TFieldText* s :
       {&item.Title, &item.Link, &item.AltLink, &item.Params, &item.WorkDir, &item.IconFile})
    same = same && match.Byte(',') && match.Quoted(*s);
  same = same && match.Byte(',') && match.Integer(item.IconIndex) && match.Byte(',') &&
         match.Integer(item.ShowCmd) && match.Byte(',') && match.Quoted(item.Comment);
  return same ? held.substr(start, match.At() - start) : std::string_view();
}

TFieldText ItemTextIn(const TLaunchDataItem& item, std::string_view held, std::string& scratch) {
  const std::string_view written = WrittenTextIn(item, held);
  if (!written.empty()) return TFieldText::Borrowing(written);
  if (scratch.size() < ItemTextBound(item)) scratch.resize(ItemTextBound(item));
  return TFieldText(std::string_view(
      scratch.data(),
      static_cast<std::size_t>(WriteItemText(scratch.data(), item) - scratch.data())));
}

std::string PageToText(const TPageItem& page) {
  std::string out;
  AppendPageText(out, page);
  return out;
}

std::string StatusToText(const TDataStatus& status) {
  std::string out;
  AppendStatusText(out, status);
  return out;
}

namespace {

bool Within(std::string_view part, std::string_view whole) {
  const auto start = reinterpret_cast<std::uintptr_t>(part.data());
  const auto begin = reinterpret_cast<std::uintptr_t>(whole.data());
  return start >= begin && start - begin <= whole.size() &&
         part.size() <= whole.size() - (start - begin);
}

// Sets text to the dequoted field, borrowing the field's bytes when they lie in held.
void SetField(TFieldText& text, std::string_view field, std::string_view held,
              std::string& scratch) {
  if (field.size() >= 2 && field.front() == '"') {
    scratch.assign(field);
    DequoteQuotedField(scratch);
    if (scratch.size() != field.size()) {  // dequoting always shortens what it changes
      text = scratch;
      return;
    }
  }
  if (!field.empty() && !held.empty() && Within(field, held)) {
    text = TFieldText::Borrowing(field);
  } else {
    text = field;
  }
}

}  // namespace

void FieldsToItem(const TRecordFields& f, TLaunchDataItem& item, std::string_view held) {
  if (f.Count() < kItemFields) {
    item = TLaunchDataItem();
    return;
  }
  auto kind = ParseInteger(f[0]);
  if (!kind) throw EConvertError(f[0]);
  item.Kind = static_cast<std::uint8_t>(*kind & 0xFF);
  item.UseCount = IntegerOr(f[1], 0);
  TFieldText* strings[] = {&item.Title,  &item.Link,    &item.AltLink,
                           &item.Params, &item.WorkDir, &item.IconFile};
  std::string scratch;
  for (std::size_t i = 0; i < 6; ++i)
    SetField(*strings[i], f[2 + i], held, scratch);
  item.IconIndex = IntegerOr(f[8], 0);
  item.ShowCmd = IntegerOr(f[9], kShowNormal);
  SetField(item.Comment, f[10], held, scratch);
}

namespace {

// A field of one to nine digits at p followed by a comma; moves p past the comma.
bool ReadDigits(const char*& p, const char* end, std::int32_t& value) {
  std::int32_t v = 0;  // nine digits never overflow it
  const char* start = p;
  while (p < end && *p >= '0' && *p <= '9' && p - start < 9) {
    v = v * 10 + (*p - '0');
    ++p;
  }
  if (p == start || p == end || *p != ',') return false;  // a tenth digit is no comma
  ++p;
  value = v;
  return true;
}

// A quoted field at p with no CR, LF or Ctrl+Z inside, followed by the byte after; moves p
// past that byte. A field without doubled quotes borrows its bytes; one with them is
// undoubled into a text of its own and then dequoted once more, as the split and
// FieldsToItem do.
[[gnu::always_inline]] inline bool ReadQuotedField(const char*& p, const char* end, char after,
                                                   TFieldText& text, std::string& scratch) {
  if (p == end || *p != '"') return false;
  const char* start = p + 1;
  const char* close = FindQuoteOrBreak(start, end);
  bool doubled = false;
  while (close < end && *close == '"' && close + 1 < end && close[1] == '"') {
    if (!doubled) scratch.clear();
    doubled = true;
    scratch.append(start, close + 1);  // the text and one quote of the pair
    start = close + 2;
    close = FindQuoteOrBreak(start, end);
  }
  if (close == end || *close != '"') return false;
  if (close + 1 < end ? close[1] != after : after != '\n') return false;
  if (doubled) {
    scratch.append(start, close);
    DequoteField(scratch);
    text = scratch;
  } else {
    text = start == close ? TFieldText()
                          : TFieldText::Borrowing({start, static_cast<std::size_t>(close - start)});
  }
  p = close + 2;
  return true;
}

}  // namespace

std::size_t ReadWrittenItem(std::string_view bytes, TLaunchDataItem& item) {
  const char* p = bytes.data();
  const char* const end = p + bytes.size();
  std::int32_t kind = 0;
  if (!ReadDigits(p, end, kind) || !ReadDigits(p, end, item.UseCount)) return 0;
  item.Kind = static_cast<std::uint8_t>(kind & 0xFF);
  thread_local std::string scratch;
  for (TFieldText* text :
       {&item.Title, &item.Link, &item.AltLink, &item.Params, &item.WorkDir, &item.IconFile})
    if (!ReadQuotedField(p, end, ',', *text, scratch)) return 0;
  if (!ReadDigits(p, end, item.IconIndex) || !ReadDigits(p, end, item.ShowCmd)) return 0;
  // The comment ends the line: its closing quote is followed by LF, CR LF or the end.
  const char* comment = p;
  if (!ReadQuotedField(p, end, '\n', item.Comment, scratch)) {
    p = comment;
    if (!ReadQuotedField(p, end, '\r', item.Comment, scratch)) return 0;
    if (p > end || p == end || *p != '\n') return 0;
    ++p;
  }
  return static_cast<std::size_t>(std::min(p, end) - bytes.data());
}

void FieldsToPage(const TRecordFields& f, TPageItem& page) {
  if (f.Count() < kPageFields) {
    page = TPageItem("untitled", 0, 0);
    return;
  }
  page.Caption = DequotedCopy(f[0]);
  page.SetCountFromFile(IntegerOr(f[1], 0));
  page.Extra = IntegerOr(f[2], 0);
}

void FieldsToStatus(const TRecordFields& f, TDataStatus& status) {
  if (f.Count() < kStatusFields) {
    status.AppName = status.Version = status.Notice = "unknown";
    status.MaxPages = status.MaxButtons = 0;
    status.MinButtons = 10;
    return;
  }
  status.AppName = DequotedCopy(f[0]);
  status.Version = DequotedCopy(f[1]);
  status.Notice = DequotedCopy(f[2]);
  status.MaxPages = IntegerOr(f[3], 0);
  status.MaxButtons = IntegerOr(f[4], 0);
  status.MinButtons = IntegerOr(f[5], 10);
}

std::unique_ptr<TLaunchDataItem> TextToItem(std::string_view text) {
  TRecordFields fields;
  SplitRecord(text, fields, kItemFields);
  auto item = NewLaunchItem();
  FieldsToItem(fields, *item);
  return item;
}

std::unique_ptr<TPageItem> TextToPage(std::string_view text) {
  TRecordFields fields;
  SplitRecord(text, fields, kPageFields);
  auto page = std::make_unique<TPageItem>();
  FieldsToPage(fields, *page);
  return page;
}

std::unique_ptr<TDataStatus> TextToStatus(std::string_view text) {
  TRecordFields fields;
  SplitRecord(text, fields, kStatusFields);
  auto status = std::make_unique<TDataStatus>();
  FieldsToStatus(fields, *status);
  return status;
}

std::string CaptionOfText(std::string_view text) {
  return StringField(text, 0);
}
std::string TitleOfText(std::string_view text) {
  return StringField(text, 2);
}
std::string LinkOfText(std::string_view text) {
  return StringField(text, 3);
}
std::string CommentOfText(std::string_view text) {
  return StringField(text, 10);
}

std::int32_t CountOfText(std::string_view text) {
  TRecordFields fields;
  SplitRecord(text, fields, 2);
  if (fields.Count() < 2) throw EListError(1);
  auto count = ParseInteger(fields[1]);
  if (!count) throw EConvertError(fields[1]);
  return *count;
}

std::int32_t KindOfText(std::string_view text) {
  return IntegerOr(GetToken(',', text, 0), 0);
}
std::int32_t UseCountOfText(std::string_view text) {
  return IntegerOr(GetToken(',', text, 1), 0);
}
