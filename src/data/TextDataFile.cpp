// The text data file: three sections of record texts, CP932, CR LF line ends.
#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ComparedLists.h"
#include "FileIO.h"
#include "FixedTexts.h"
#include "LaunchErrors.h"
#include "LaunchList.h"
#include "RecordSplit.h"
#include "RecordText.h"
#include "ShiftJis.h"
#include "TextFormSource.h"

namespace {

constexpr std::string_view kEol = "\r\n";
constexpr std::string_view kSectionEnd = "**";

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
  auto at = [&number] { return std::to_string(number) + " 行目"; };
  while (lines.Next(line)) {
    ++number;
    if (line == kSectionEnd) {
      if (haveStatus) return {};
      return at() + "の \"**\" で、ステータス行より前にステータス セクションが終わっています。";
    }
    if (IsSkipped(line)) continue;
    SplitRecord(line, fields);
    FieldsToStatus(fields, status);
    if (fields.Count() < kStatusFields)
      return at() + "の項目は " + std::to_string(fields.Count()) +
             " 個です。ステータス行には 6 個の項目が必要です。";
    if (status.Version == "unknown")
      return at() + "の 2 番目の項目 (バージョン) が \"unknown\" です。";
    haveStatus = true;
  }
  if (number == 0) return "ファイルが空です。";
  return "ステータス セクションを閉じる \"**\" がないまま、" + std::to_string(number) +
         " 行目でファイルが終わっています。";
}

// The pages up to the "**" that ends their section (closed), or the end of the file.
TPageList ReadPageSection(TLineReader& lines, bool& closed) {
  TPageList pages;
  std::string_view line;
  TRecordFields fields;
  closed = false;
  while (lines.Next(line) && !(closed = line == kSectionEnd)) {
    if (IsSkipped(line)) continue;
    SplitRecord(line, fields);
    auto page = std::make_unique<TPageItem>();
    FieldsToPage(fields, *page);
    pages.Add(std::move(page));
  }
  return pages;
}

}  // namespace

namespace {

// Where the writer puts the file's bytes: a save hands each megabyte on to the file
// and reuses the buffer (a buffer of the whole file's size would have every page
// touched once and dropped); without a receiver the whole file collects in it. The
// buffer is raw memory, so that a record is written straight into it.
class TPieceOut {
 public:
  // With no put, everything stays in the buffer.
  explicit TPieceOut(std::function<void(std::string_view)> put = {}) : put_(std::move(put)) {}
  void Reserve(std::size_t size) { Room(size); }
  void Append(std::string_view bytes) {
    std::memcpy(Room(bytes.size()), bytes.data(), bytes.size());
    used_ += bytes.size();
  }
  void AppendLine(std::string_view line) {
    Append(line);
    Append(kEol);
  }
  // Room for size more bytes; Commit then tells where the bytes written there end.
  char* Room(std::size_t size) {
    if (capacity_ - used_ < size) {
      const std::size_t capacity = std::max(capacity_ * 2, used_ + size);
      auto grown = std::make_unique_for_overwrite<char[]>(capacity);
      if (used_ > 0) std::memcpy(grown.get(), buffer_.get(), used_);
      buffer_ = std::move(grown);
      capacity_ = capacity;
    }
    return buffer_.get() + used_;
  }
  void Commit(const char* end) { used_ = static_cast<std::size_t>(end - buffer_.get()); }
  std::string_view Bytes() const { return {buffer_.get(), used_}; }
  // Hands the buffer on once it holds a piece's worth.
  void Flush(bool last = false) {
    if (put_ && (last || used_ >= kPiece)) {
      put_(Bytes());
      used_ = 0;
    }
  }
  static constexpr std::size_t kPiece = std::size_t{1} << 20;

 private:
  std::function<void(std::string_view)> put_;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
  std::size_t capacity_ = 0;
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

// A loaded list as the writer reads it: its buttons read as they were written are
// copied from the file's bytes as they stand.
class TListSource : public TTextFormSource {
 public:
  explicit TListSource(const TLaunchList& list) : list_(list), held_(list.HeldBytes().View()) {
    std::int64_t first = 0;
    pageFirst_.reserve(static_cast<std::size_t>(list.Pages.Count()));
    for (int p = 0; p < list.Pages.Count(); ++p) {
      pageFirst_.push_back(first);
      first += list.Pages.Get(p).Count;
    }
  }
  const TDataStatus& Status() override { return list_.Status; }
  int PageCount() override { return list_.Pages.Count(); }
  const TPageItem& Page(int p) override { return list_.Pages.Get(p); }
  const TLaunchDataItem& Button(int p, int b, std::string_view& written) override {
    const std::int64_t index = pageFirst_[static_cast<std::size_t>(p)] + b;
    if (index < 0 || index >= list_.Count()) throw EListError(static_cast<int>(index));
    const TLaunchDataItem& item = list_.Get(static_cast<int>(index));
    written = WrittenTextIn(item, held_);
    return item;
  }

 private:
  const TLaunchList& list_;
  const std::string_view held_;
  std::vector<std::int64_t> pageFirst_;  // flat index of each page's first button
};

void WriteTextDataFile(TTextFormSource& source, TPieceOut& pieces) {
  std::string text;  // a status, page or heading line, before it goes out
  pieces.AppendLine(cp932::kStatusHeading);
  pieces.AppendLine(";*STR");
  AppendStatusText(text, source.Status());
  pieces.AppendLine(text);
  pieces.AppendLine(kSectionEnd);

  pieces.AppendLine(cp932::kPageListHeading);
  pieces.AppendLine(";*PAGE");
  const int pages = source.PageCount();
  for (int p = 0; p < pages; ++p) {
    text.clear();
    AppendPageText(text, source.Page(p));
    pieces.AppendLine(text);
    pieces.Flush();
  }
  pieces.AppendLine(kSectionEnd);

  pieces.AppendLine(cp932::kFileListHeading);
  pieces.AppendLine(";*FILE");
  for (int p = 0; p < pages; ++p) {
    const TPageItem& page = source.Page(p);
    text = "; [ ";
    AppendLineText(text, page.Caption);
    pieces.AppendLine(text + " ]");
    pieces.AppendLine(";*" + std::to_string(p));
    const std::int32_t count = page.Count;
    for (std::int32_t b = 0; b < count; ++b) {
      std::string_view written;
      const TLaunchDataItem& item = source.Button(p, b, written);
      char* end = written.empty()
                      ? WriteItemText(pieces.Room(ItemTextBound(item) + kEol.size()), item)
                      : std::copy(written.begin(), written.end(),
                                  pieces.Room(written.size() + kEol.size()));
      pieces.Commit(std::copy(kEol.begin(), kEol.end(), end));
      pieces.Flush();
    }
  }
  pieces.AppendLine(kSectionEnd);
  pieces.Flush(true);
}

// How many buttons a file holds is known only at its end. After the first ones, the
// bytes left and the bytes a button took so far tell how many are coming, and the
// list makes room for a little fewer in one block (of large pages), so that a large
// file is not read into thousands of small blocks; guessed again when that is full.
constexpr int kFirstGuess = 256;
constexpr std::size_t kLargestBlock = std::size_t{1} << 18;

int GuessTheRest(TObjectList<TLaunchDataItem>& items, const char* sectionStart,
                 std::string_view rest) {
  const auto read = static_cast<std::size_t>(rest.data() - sectionStart);
  const std::size_t perButton =
      std::max<std::size_t>(read / static_cast<std::size_t>(items.Count()), 16);
  const std::size_t coming = rest.size() / perButton;
  const std::size_t block = std::min(coming - coming / 8, kLargestBlock);
  items.SetNextBlockSize(block);
  return items.Count() + static_cast<int>(std::max<std::size_t>(block, 1024));
}

}  // namespace

std::string TextDataFileBytes(TTextFormSource& source) {
  TPieceOut pieces;
  WriteTextDataFile(source, pieces);
  return std::string(pieces.Bytes());
}

std::string TextDataFileBytes(const TLaunchList& list) {
  TListSource source(list);
  TPieceOut pieces;
  pieces.Reserve(static_cast<std::size_t>(list.Count()) * 128 + 256);
  WriteTextDataFile(source, pieces);
  return std::string(pieces.Bytes());
}

TFileStamp SaveToTextFile(const TLaunchList& list, const std::string& fileName,
                          const TTextFileWrite& how) {
  CheckPageCounts(list);
  TListSource source(list);
  return SaveToTextFile(source, fileName, how);
}

TFileStamp SaveToTextFile(TTextFormSource& source, const std::string& fileName,
                          const TTextFileWrite& how) {
  const TContentProducer produce = [&](const std::function<void(std::string_view)>& write) {
    TPieceOut pieces(write);
    pieces.Reserve(TPieceOut::kPiece + 64 * 1024);
    for (const std::string& comment : how.leadingComments)
      pieces.AppendLine(comment);
    WriteTextDataFile(source, pieces);
  };
  if (how.inPlace) return WriteFileInPlace(fileName, produce, how.beforeReplace);
  if (how.privateFile) return WritePrivateFile(fileName, produce, how.beforeReplace);
  return WriteFileReplacing(fileName, produce, how.beforeReplace, how.replaced);
}

bool TLaunchList::LoadFromTextFile(const std::string& fileName) {
  TInputFile file(fileName);
  return LoadFromTextSource(file);
}

bool TLaunchList::LoadFromTextSource(TByteSource& source) {
  TDataStatus status;
  {
    // Decided on the first lines, before a file that is no text data file is read
    // whole.
    TLineReader lines(source);
    if (!ReadStatusSection(lines, status).empty()) return false;
  }
  // The whole file, read once: the buttons' texts borrow from these bytes.
  const THeldBytes held = ReadAllBytes(source);
  TLineReader lines(held.View());
  if (!ReadStatusSection(lines, status).empty()) return false;  // changed meanwhile
  std::string_view line;
  TRecordFields fields;

  // Accepted. The rest is read aside and taken over only when all of it was read,
  // so that an error leaves the list as it was. A section the file ends in is
  // taken as closed by the end of the file.
  bool closed = false;  // each section ended by its "**", not by the end of the file
  TPageList pages = ReadPageSection(lines, closed);

  TObjectList<TLaunchDataItem> items;
  const char* const sectionStart = lines.Rest().data();
  int nextGuess = kFirstGuess;
  for (;;) {
    if (items.Count() == nextGuess) nextGuess = GuessTheRest(items, sectionStart, lines.Rest());
    // A line as the writer writes it is read straight from the bytes; any other
    // goes through the line reader and the record split.
    TLaunchDataItem* item = nullptr;
    const std::string_view rest = lines.Rest();
    if (!rest.empty() && rest.front() >= '0' && rest.front() <= '9') {
      item = &items.Emplace();
      if (const std::size_t length = ReadWrittenItem(rest, *item)) {
        lines.Skip(length);
        continue;
      }
    }
    if (!lines.Next(line)) {
      closed = false;
      break;
    }
    if (line == kSectionEnd) break;
    if (IsSkipped(line)) continue;
    SplitRecord(line, fields, 11);
    FieldsToItem(fields, item != nullptr ? *item : items.Emplace(), held.View());
  }

  Status = status;
  Pages = std::move(pages);
  TakeItems(std::move(items), held);
  Complete = closed;
  return true;
}

bool IsUtf8DataText(const TLaunchList& list, const TByteSource& source) {
  const std::string_view held = list.HeldBytes().View();
  if (list.Loaded && !held.empty()) return sjis::IsUtf8Text(held);
  return sjis::StartsWithUtf8Bom(source.ReadAt(0, 3));
}

bool IsUtf8DataFile(const TLaunchList& list, const std::string& fileName) {
  // The bytes the text form read are at hand: the file is opened again only when no form
  // took it, for its first bytes.
  const std::string_view held = list.HeldBytes().View();
  if (list.Loaded && !held.empty()) return sjis::IsUtf8Text(held);
  try {
    return IsUtf8DataText(list, TInputFile(fileName));
  } catch (const ELaunchError&) {
    return false;
  }
}

std::string TextFormRefusal(TByteSource& source) {
  TLineReader lines(source);
  TDataStatus status;
  return ReadStatusSection(lines, status);
}

bool TTextFileLines::Read(TByteSource& source, THeldBytes bytes) {
  TDataStatus status;
  {
    TLineReader lines(source);
    if (!ReadStatusSection(lines, status).empty()) return false;
  }
  THeldBytes held = bytes.bytes ? std::move(bytes) : ReadAllBytes(source);
  TLineReader lines(held.View());
  if (!ReadStatusSection(lines, status).empty()) return false;  // changed meanwhile
  bool closed = false;
  TPageList pages = ReadPageSection(lines, closed);
  // Each line of the button section that is not skipped is one button, as the load
  // reads it.
  const std::string_view all = held.View();
  std::string_view line;
  for (;;) {
    if (!lines.Next(line)) {
      closed = false;
      break;
    }
    if (line == kSectionEnd) break;
    if (IsSkipped(line)) continue;
    const bool inBytes = line.data() >= all.data() && line.data() <= all.data() + all.size();
    lines_.push_back(inBytes ? line : std::string_view(copies_.emplace_back(line)));
  }
  status_ = status;
  pages_ = std::move(pages);
  held_ = std::move(held);
  complete_ = closed;
  KeyLines();
  return true;
}
