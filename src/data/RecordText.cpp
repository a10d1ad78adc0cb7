#include "RecordText.h"

#include <charconv>

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

// The length of value written in decimal, with its sign.
std::size_t DecimalLength(std::int64_t value) {
  std::size_t length = value < 0 ? 2 : 1;
  for (std::uint64_t rest = value < 0 ? 0 - static_cast<std::uint64_t>(value)
                                      : static_cast<std::uint64_t>(value);
       rest >= 10; rest /= 10)
    ++length;
  return length;
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

}  // namespace

void AppendItemText(std::string& out, const TLaunchDataItem& item) {
  AppendInteger(out, item.Kind);
  out.push_back(',');
  AppendInteger(out, item.UseCount);
  for (const std::string* s :
       {&item.Title, &item.Link, &item.AltLink, &item.Params, &item.WorkDir, &item.IconFile}) {
    out.push_back(',');
    AppendQuoted(out, *s);
  }
  out.push_back(',');
  AppendInteger(out, item.IconIndex);
  out.push_back(',');
  AppendInteger(out, item.ShowCmd);
  out.push_back(',');
  AppendQuoted(out, item.Comment);
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
  // Sized once for the text with nothing to escape (ten commas, fourteen quotes):
  // a grid holds a million of these, and growing each by doubling cost more than
  // writing it, and a quarter of its memory.
  std::size_t size = 10 + 14 + item.Comment.size() + DecimalLength(item.Kind) +
                     DecimalLength(item.UseCount) + DecimalLength(item.IconIndex) +
                     DecimalLength(item.ShowCmd);
  for (const std::string* s :
       {&item.Title, &item.Link, &item.AltLink, &item.Params, &item.WorkDir, &item.IconFile})
    size += s->size();
  std::string out;
  out.reserve(size);
  AppendItemText(out, item);
  return out;
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

void FieldsToItem(const TRecordFields& f, TLaunchDataItem& item) {
  if (f.Count() < kItemFields) {
    item = TLaunchDataItem();
    return;
  }
  auto kind = ParseInteger(f[0]);
  if (!kind) throw EConvertError(f[0]);
  item.Kind = static_cast<std::uint8_t>(*kind & 0xFF);
  item.UseCount = IntegerOr(f[1], 0);
  std::string* strings[] = {&item.Title,  &item.Link,    &item.AltLink,
                            &item.Params, &item.WorkDir, &item.IconFile};
  for (std::size_t i = 0; i < 6; ++i) {
    strings[i]->assign(f[2 + i]);
    DequoteField(*strings[i]);
  }
  item.IconIndex = IntegerOr(f[8], 0);
  item.ShowCmd = IntegerOr(f[9], kShowNormal);
  item.Comment.assign(f[10]);
  DequoteField(item.Comment);
}

void FieldsToPage(const TRecordFields& f, TPageItem& page) {
  if (f.Count() < kPageFields) {
    page = TPageItem("untitled", 0, 0);
    return;
  }
  page.Caption = DequotedCopy(f[0]);
  page.Count = IntegerOr(f[1], 0);
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
