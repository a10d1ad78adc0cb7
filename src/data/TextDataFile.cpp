// The text data file: three sections of record texts, CP932, CR LF line ends.
#include <functional>
#include <string>
#include <vector>

#include "FileIO.h"
#include "FixedTexts.h"
#include "LaunchErrors.h"
#include "LaunchList.h"
#include "RecordSplit.h"
#include "RecordText.h"

namespace {

constexpr std::string_view kEol = "\r\n";
constexpr std::string_view kSectionEnd = "**";

void AppendLine(std::string& out, std::string_view line) {
  out.append(line);
  out.append(kEol);
}

bool IsSkipped(std::string_view line) {
  return line.empty() || line.front() == ';';
}

// Section 0 decides whether this is a text data file at all: it must hold a status
// line of six fields whose version is not "unknown", and be closed. Reads it into
// status; returns why the file is refused, or an empty string when it is taken.
std::string ReadStatusSection(TLineReader& lines, TDataStatus& status) {
  constexpr std::size_t kStatusFields = 6;
  std::string_view line;
  TRecordFields fields;
  bool haveStatus = false;
  std::int64_t number = 0;
  auto at = [&number] { return "line " + std::to_string(number); };
  while (lines.Next(line)) {
    ++number;
    if (line == kSectionEnd) {
      if (haveStatus) return {};
      return at() + ": \"**\" ends the status section before any status line";
    }
    if (IsSkipped(line)) continue;
    SplitRecord(line, fields);
    FieldsToStatus(fields, status);
    if (fields.Count() < kStatusFields)
      return at() + " has " + std::to_string(fields.Count()) +
             (fields.Count() == 1 ? " field" : " fields") + "; a status line needs 6";
    if (status.Version == "unknown") return at() + ", field 2: the version is \"unknown\"";
    haveStatus = true;
  }
  if (number == 0) return "the file is empty";
  return "the file ends after line " + std::to_string(number) +
         " without the \"**\" that closes the status section";
}

}  // namespace

namespace {

// Where the writer puts the file's bytes: a save hands each megabyte on to the file
// and reuses the buffer (a buffer of the whole file's size would have every page
// touched once and dropped); without a receiver the whole file collects in it.
class TPieceOut {
 public:
  // With no put, everything stays in the buffer.
  explicit TPieceOut(std::function<void(std::string_view)> put = {}) : put_(std::move(put)) {}
  std::string& Buffer() { return out_; }
  // Hands the buffer on once it holds a piece's worth.
  void Flush(bool last = false) {
    if (put_ && (last || out_.size() >= kPiece)) {
      put_(out_);
      out_.clear();
    }
  }
  static constexpr std::size_t kPiece = std::size_t{1} << 20;

 private:
  std::function<void(std::string_view)> put_;
  std::string out_;
};

// The pages' counts must cover buttons that exist: raises the EListError the writer
// would, before anything is written.
void CheckPageCounts(const TLaunchList& list) {
  std::int64_t first = 0;  // flat index of the page's first button
  for (int p = 0; p < list.Pages.Count(); ++p) {
    const TPageItem& page = list.Pages.Get(p);
    for (std::int32_t b = 0; b < page.Count; ++b) {
      std::int64_t index = first + b;
      if (index < 0 || index >= list.Count()) throw EListError(static_cast<int>(index));
    }
    first += page.Count;
  }
}

void WriteTextDataFile(const TLaunchList& list, TPieceOut& pieces) {
  std::string& out = pieces.Buffer();
  AppendLine(out, cp932::kStatusHeading);
  AppendLine(out, ";*STR");
  AppendStatusText(out, list.Status);
  out.append(kEol);
  AppendLine(out, kSectionEnd);

  AppendLine(out, cp932::kPageListHeading);
  AppendLine(out, ";*PAGE");
  for (int p = 0; p < list.Pages.Count(); ++p) {
    AppendPageText(out, list.Pages.Get(p));
    out.append(kEol);
    pieces.Flush();
  }
  AppendLine(out, kSectionEnd);

  AppendLine(out, cp932::kFileListHeading);
  AppendLine(out, ";*FILE");
  std::int64_t first = 0;  // flat index of the page's first button
  for (int p = 0; p < list.Pages.Count(); ++p) {
    const TPageItem& page = list.Pages.Get(p);
    out.append("; [ ");
    AppendLineText(out, page.Caption);
    AppendLine(out, " ]");
    out.append(";*");
    AppendLine(out, std::to_string(p));
    for (std::int32_t b = 0; b < page.Count; ++b) {
      std::int64_t index = first + b;
      if (index < 0 || index >= list.Count()) throw EListError(static_cast<int>(index));
      AppendItemText(out, list.Get(static_cast<int>(index)));
      out.append(kEol);
      pieces.Flush();
    }
    first += page.Count;
  }
  AppendLine(out, kSectionEnd);
  pieces.Flush(true);
}

}  // namespace

std::string TextDataFileBytes(const TLaunchList& list) {
  TPieceOut pieces;
  pieces.Buffer().reserve(static_cast<std::size_t>(list.Count()) * 128 + 256);
  WriteTextDataFile(list, pieces);
  return std::move(pieces.Buffer());
}

void SaveToTextFile(const TLaunchList& list, const std::string& fileName) {
  CheckPageCounts(list);
  WriteFileReplacing(fileName, [&list](const std::function<void(std::string_view)>& write) {
    TPieceOut pieces(write);
    pieces.Buffer().reserve(TPieceOut::kPiece + 64 * 1024);
    WriteTextDataFile(list, pieces);
  });
}

bool TLaunchList::LoadFromTextFile(const std::string& fileName) {
  TInputFile file(fileName);
  return LoadFromTextSource(file);
}

bool TLaunchList::LoadFromTextSource(TByteSource& source) {
  TLineReader lines(source);
  TDataStatus status;
  if (!ReadStatusSection(lines, status).empty()) return false;
  std::string_view line;
  TRecordFields fields;

  // Accepted. The rest is read aside and taken over only when all of it was read,
  // so that an error leaves the list as it was. A section the file ends in is
  // taken as closed by the end of the file.
  TPageList pages;
  while (lines.Next(line) && line != kSectionEnd) {
    if (IsSkipped(line)) continue;
    SplitRecord(line, fields);
    auto page = std::make_unique<TPageItem>();
    FieldsToPage(fields, *page);
    pages.Add(std::move(page));
  }

  std::vector<std::unique_ptr<TLaunchDataItem>> items;
  while (lines.Next(line) && line != kSectionEnd) {
    if (IsSkipped(line)) continue;
    SplitRecord(line, fields, 11);
    auto item = std::make_unique<TLaunchDataItem>();
    FieldsToItem(fields, *item);
    items.push_back(std::move(item));
  }

  Status = status;
  Pages = std::move(pages);
  items_ = std::move(items);
  return true;
}

std::string TextFormRefusal(TByteSource& source) {
  TLineReader lines(source);
  TDataStatus status;
  return ReadStatusSection(lines, status);
}
