#include "TextFileStream.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "FixedTexts.h"
#include "LaunchErrors.h"
#include "RecordText.h"
#include "ShiftJis.h"

namespace {

constexpr std::string_view kEol = "\r\n";
constexpr std::string_view kSectionEnd = "**";
constexpr std::size_t kItemFields = 11;
constexpr std::size_t kStatusFields = 6;

bool IsSkipped(std::string_view line) {
  return line.empty() || line.front() == ';';
}

// The status section as a load decides on it: a status line of six fields whose
// version is not "unknown", then its "**". False when the file is refused.
bool ReadStatusSection(TBlockLines& lines, TRecordFields& fields, TDataStatus& status) {
  std::string_view line;
  bool haveStatus = false;
  while (lines.Next(line)) {
    if (line == kSectionEnd) return haveStatus;
    if (IsSkipped(line)) continue;
    SplitRecord(line, fields);
    FieldsToStatus(fields, status);
    if (fields.Count() < kStatusFields || status.Version == "unknown") return false;
    haveStatus = true;
  }
  return false;
}

bool ReadPage(TBlockLines& lines, TRecordFields& fields, TPageItem& page) {
  std::string_view line;
  while (lines.Next(line) && line != kSectionEnd) {
    if (IsSkipped(line)) continue;
    SplitRecord(line, fields);
    FieldsToPage(fields, page);
    return true;
  }
  return false;
}

// The next button as a load reads it: a line in the writer's form straight from the
// bytes, any other through the record split.
bool ReadButton(TBlockLines& lines, TRecordFields& fields, TLaunchDataItem& item) {
  for (;;) {
    const std::string_view rest = lines.Rest();
    if (!rest.empty() && rest.front() >= '0' && rest.front() <= '9') {
      if (const std::size_t length = ReadWrittenItem(rest, item)) {
        lines.Skip(length);
        return true;
      }
    }
    std::string_view line;
    if (!lines.Next(line) || line == kSectionEnd) return false;
    if (IsSkipped(line)) continue;
    SplitRecord(line, fields, kItemFields);
    FieldsToItem(fields, item, lines.Block());
    return true;
  }
}

// What the load makes of the button section's line at the start of bytes, unless a
// Ctrl+Z cuts it: a button it cannot fail on (one that starts with an integer field,
// which is all the load asks of a button's line), a line it skips (empty, or a
// comment), or anything else, which the load itself must read.
enum class TLineKind { SureButton, Skipped, Other };
[[gnu::always_inline]] inline TLineKind KindOfLine(std::string_view bytes) {
  std::size_t digits = 0;
  while (digits < bytes.size() && digits < 9 && bytes[digits] >= '0' && bytes[digits] <= '9')
    ++digits;
  if (digits > 0)
    return digits < bytes.size() && bytes[digits] == ',' ? TLineKind::SureButton : TLineKind::Other;
  if (bytes.starts_with(';') || bytes.starts_with('\n') || bytes.starts_with("\r\n"))
    return TLineKind::Skipped;
  return TLineKind::Other;
}

// The length of the run of lines at the start of bytes, each ended by LF, that are sure
// buttons or skipped (see KindOfLine); count grows by the buttons. The bytes must hold no
// Ctrl+Z.
std::size_t SureLines(std::string_view bytes, std::int64_t& count) {
  TLineKind kind = KindOfLine(bytes);
  if (kind == TLineKind::Other) return 0;
  const char* const p = bytes.data();
  std::size_t start = 0;  // of the line after the last LF found
  const auto ended = [&](std::size_t lf) __attribute__((always_inline)) {
    start = lf + 1;
    count += kind == TLineKind::SureButton;
    kind = KindOfLine(bytes.substr(start));
    return kind == TLineKind::Other;
  };
  std::size_t i = 0;
#if defined(__SSE2__)
  // The line ends of 64 bytes at a time.
  const __m128i lf = _mm_set1_epi8('\n');
  for (; i + 64 <= bytes.size(); i += 64) {
    std::uint64_t lfs = 0;
    for (std::size_t k = 0; k < 64; k += 16)
      lfs |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(
                 _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + k)), lf)))}
             << k;
    for (; lfs != 0; lfs &= lfs - 1)
      if (ended(i + static_cast<std::size_t>(__builtin_ctzll(lfs)))) return start;
  }
#endif
  for (; i < bytes.size(); ++i)
    if (p[i] == '\n' && ended(i)) return start;
  return start;
}

// The quotes and the line breaks (CR, LF, Ctrl+Z) among a line's first bytes, a bit each,
// so that a line is looked at once and each field's end found at once.
class TLineMarks {
 public:
  static constexpr std::size_t kBytes = 256;

  // Marks bytes up to its first line break (64 at a time), at most kBytes of them.
  explicit TLineMarks(std::string_view bytes) {
    const char* const p = bytes.data();
    const std::size_t size = std::min(bytes.size(), kBytes);
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i ctrlZ = _mm_set1_epi8('\x1a');
    for (; i + 64 <= size; i += 64) {
      std::uint64_t quotes = 0, breaks = 0;
      for (std::size_t k = 0; k < 64; k += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + k));
        quotes |= std::uint64_t{static_cast<std::uint16_t>(
                      _mm_movemask_epi8(_mm_cmpeq_epi8(block, quote)))}
                  << k;
        breaks |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_or_si128(
                      _mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf)),
                      _mm_cmpeq_epi8(block, ctrlZ))))}
                  << k;
      }
      quotes_[i / 64] = quotes;
      breaks_[i / 64] = breaks;
      if (breaks != 0) return;
    }
#endif
    for (; i < size; ++i) {
      const char c = p[i];
      quotes_[i / 64] |= std::uint64_t{c == '"'} << (i % 64);
      breaks_[i / 64] |= std::uint64_t{c == '\r' || c == '\n' || c == '\x1a'} << (i % 64);
    }
  }
  // The first quote at or after at, or kBytes.
  std::size_t QuoteFrom(std::size_t at) const {
    return First(quotes_, at);
  }
  // The first line break, or kBytes.
  std::size_t FirstBreak() const {
    return First(breaks_, 0);
  }
  // Where the quotes before end are, when there are exactly n of them.
  template <std::size_t n>
  bool Quotes(std::size_t end, std::size_t (&at)[n]) const {
    std::size_t found = 0;
    for (std::size_t w = 0; w * 64 < end; ++w) {
      std::uint64_t word = quotes_[w];
      if (end - w * 64 < 64) word &= (std::uint64_t{1} << (end - w * 64)) - 1;
      for (; word != 0; word &= word - 1) {
        if (found == n) return false;
        at[found++] = w * 64 + static_cast<std::size_t>(__builtin_ctzll(word));
      }
    }
    return found == n;
  }

 private:
  static std::size_t First(const std::uint64_t (&marks)[kBytes / 64], std::size_t at) {
    if (at >= kBytes) return kBytes;
    std::uint64_t word = marks[at / 64] & (~std::uint64_t{0} << (at % 64));
    for (std::size_t w = at / 64;;) {
      if (word != 0) return w * 64 + static_cast<std::size_t>(__builtin_ctzll(word));
      if (++w == kBytes / 64) return kBytes;
      word = marks[w];
    }
  }
  std::uint64_t quotes_[kBytes / 64] = {};
  std::uint64_t breaks_[kBytes / 64] = {};
};

// Whether the string written as inside (between its quotes, each quote of it doubled)
// is read back as it stands: one that starts with a quote is dequoted once more when it
// is one quoted string itself (see DequoteField).
[[gnu::noinline]] bool KeptByDequote(std::string_view inside) {
  thread_local std::string value;
  value.clear();
  for (std::size_t i = 0; i < inside.size(); ++i) {
    value.push_back(inside[i]);
    if (inside[i] == '"') ++i;
  }
  const std::size_t size = value.size();
  DequoteField(value);
  return value.size() == size;  // the dequoting shortens what it changes
}

// The fields of one line, read as the writer writes them: each call reads a field and
// the byte after it, and says whether both were as written.
class TWrittenFields {
 public:
  TWrittenFields(const char* p, std::size_t end, const TLineMarks& marks)
      : p_(p), end_(end), marks_(marks) {}
  // An integer of at most max, as the writer writes it, then a comma.
  [[gnu::always_inline]] bool Integer(std::uint32_t max) {
    const std::size_t start = at_;
    std::uint32_t value = 0;
    while (at_ < end_ && at_ - start < 9 && p_[at_] >= '0' && p_[at_] <= '9')
      value = value * 10 + static_cast<std::uint32_t>(p_[at_++] - '0');
    const bool written = at_ != start && (p_[start] != '0' || at_ - start == 1) && value <= max;
    return written && At(',');
  }
  // A quoted string the load keeps as it stands, then a comma.
  [[gnu::always_inline]] bool QuotedThenComma() { return Quoted() && At(','); }
  // The same, ending the line.
  [[gnu::always_inline]] bool QuotedToTheEnd() { return Quoted() && at_ == end_; }
  [[gnu::always_inline]] bool Comma() { return At(','); }
  // Where the next field starts; Skip moves there.
  std::size_t At() const { return at_; }
  void Skip(std::size_t at) { at_ = at; }

 private:
  [[gnu::always_inline]] bool At(char c) { return at_ < end_ && p_[at_++] == c; }
  [[gnu::always_inline]] bool Quoted() {
    if (!At('"')) return false;
    const std::size_t start = at_;
    for (;;) {
      const std::size_t close = marks_.QuoteFrom(at_);
      if (close >= end_) return false;
      at_ = close + 1;
      if (at_ == end_ || p_[at_] != '"') break;
      ++at_;  // a doubled quote
    }
    const std::size_t size = at_ - 1 - start;
    if (size >= 2 && p_[start] == '"' && p_[start + 1] == '"') [[unlikely]]
      return KeptByDequote({p_ + start, size});
    return true;
  }
  const char* p_;
  std::size_t end_;
  const TLineMarks& marks_;
  std::size_t at_ = 0;
};

// Where the text of the button line at the start of bytes ends, when the load reads it
// straight from the bytes (see ReadWrittenItem) and the writer writes it back as it
// stands: each integer as the writer writes it (a kind below 256), each string free of
// line breaks with all its quotes doubled, and kept by the load as it stands. The line
// ends there. nullptr for any other line, and for one too long to be marked whole.
const char* WrittenTextEnd(std::string_view bytes) {
  const TLineMarks marks(bytes);
  const char* const p = bytes.data();
  std::size_t end = marks.FirstBreak();
  if (end == TLineMarks::kBytes) {
    if (bytes.size() >= TLineMarks::kBytes) return nullptr;
    end = bytes.size();  // the last line, without a line end
  } else if (p[end] == '\x1a' ||
             (p[end] == '\r' && (end + 1 == bytes.size() || p[end + 1] != '\n'))) {
    return nullptr;
  }
  TWrittenFields fields(p, end, marks);
  constexpr std::uint32_t kAny = 999999999;
  if (!fields.Integer(0xFF) || !fields.Integer(kAny)) return nullptr;
  // Most lines hold no doubled quote: two quotes a string, each string's place known at
  // once from the quotes' places.
  if (std::size_t quotes[14]; marks.Quotes(end, quotes)) {
    if (quotes[0] != fields.At()) return nullptr;
    for (std::size_t k = 1; k < 11; k += 2)
      if (p[quotes[k] + 1] != ',' || quotes[k + 1] != quotes[k] + 2) return nullptr;
    fields.Skip(quotes[11] + 1);
    if (!fields.Comma() || !fields.Integer(kAny) || !fields.Integer(kAny)) return nullptr;
    return quotes[12] == fields.At() && quotes[13] + 1 == end ? p + end : nullptr;
  }
  for (int i = 0; i < 6; ++i)
    if (!fields.QuotedThenComma()) return nullptr;
  if (!fields.Integer(kAny) || !fields.Integer(kAny) || !fields.QuotedToTheEnd()) return nullptr;
  return p + end;
}

// sjis::IsUtf8Text of a file's bytes, told in pieces that each end after a line end
// or at the file's end: no character, in either encoding, then spans two pieces.
class TUtf8Verdict {
 public:
  void Add(std::string_view piece) {
    if (first_) {
      first_ = false;
      bom_ = sjis::StartsWithUtf8Bom(piece);
    }
    // ASCII is valid UTF-8 and CP932 alike, and tells neither.
    if (Decided() ||
        std::all_of(piece.begin(), piece.end(), [](char c) { return (c & 0x80) == 0; }))
      return;
    // Whether a piece is valid UTF-8, as IsUtf8Text tells it of the piece between an
    // ASCII byte (no byte order mark) and a three-byte character (which makes the rest
    // of its verdict yes).
    scratch_.assign("a").append(piece).append("\xE3\x81\x82");
    valid_ = sjis::IsUtf8Text(scratch_);
    if (!valid_) return;
    beyondAscii_ = true;
    // In valid UTF-8 only the first byte of a three- or four-byte character is E0 or above.
    longer_ = longer_ || std::any_of(piece.begin(), piece.end(),
                                     [](char c) { return static_cast<unsigned char>(c) >= 0xE0; });
    // Only a text of two-byte characters alone is UTF-8 by chance, and then it is UTF-8
    // only when CP932 cannot read it.
    if (!longer_ && cp932_) cp932_ = sjis::ToUtf8(piece).has_value();
  }
  // Whether the rest of the file can no longer change the verdict.
  bool Decided() const { return bom_ || !valid_; }
  bool IsUtf8() const { return bom_ || (valid_ && beyondAscii_ && (longer_ || !cp932_)); }

 private:
  bool first_ = true;
  bool bom_ = false;
  bool valid_ = true;
  bool beyondAscii_ = false;
  bool longer_ = false;
  bool cp932_ = true;  // CP932 reads every piece with a byte beyond ASCII
  std::string scratch_;
};

// Where the writer's bytes collect until a piece's worth goes to put; a record is
// written straight into the buffer.
class TPieces {
 public:
  explicit TPieces(const std::function<void(std::string_view)>& put)
      : put_(put), buffer_(std::make_unique_for_overwrite<char[]>(kPiece)), capacity_(kPiece) {}
  // Room for size more bytes; Commit then tells where the bytes written there end.
  char* Room(std::size_t size) {
    if (capacity_ - used_ < size) {
      Flush();
      if (capacity_ < size) {
        buffer_ = std::make_unique_for_overwrite<char[]>(size);
        capacity_ = size;
      }
    }
    return buffer_.get() + used_;
  }
  void Commit(const char* end) { used_ = static_cast<std::size_t>(end - buffer_.get()); }
  void Line(std::string_view text) {
    char* out = std::copy(text.begin(), text.end(), Room(text.size() + kEol.size()));
    Commit(std::copy(kEol.begin(), kEol.end(), out));
  }
  void Flush() {
    if (used_ > 0) put_({buffer_.get(), used_});
    used_ = 0;
  }

 private:
  static constexpr std::size_t kPiece = std::size_t{1} << 20;
  const std::function<void(std::string_view)>& put_;
  std::unique_ptr<char[]> buffer_;
  std::size_t capacity_;
  std::size_t used_ = 0;
};

}  // namespace

TBlockLines::TBlockLines(const TByteSource& source, std::int64_t from, std::size_t blockSize)
    : source_(&source),
      blockStart_(from),
      blockSize_(std::max<std::size_t>(blockSize, 1)),
      buffer_(std::make_unique_for_overwrite<char[]>(blockSize_)),
      capacity_(blockSize_),
      lines_(std::string_view(buffer_.get(), 0)) {}

bool TBlockLines::EndedInBlock() const {
  // The block's reader stops short of the block's end only at a Ctrl+Z.
  const std::string_view rest = lines_.Rest();
  return rest.data() + rest.size() != buffer_.get() + cut_;
}

bool TBlockLines::Next(std::string_view& line) {
  while (!lines_.Next(line))
    if (EndedInBlock() || !Refill()) return false;
  return true;
}

std::string_view TBlockLines::Rest() {
  while (lines_.Rest().empty())
    if (EndedInBlock() || !Refill()) return {};
  return lines_.Rest();
}

bool TBlockLines::BlockHasCtrlZ() {
  if (!ctrlZ_) ctrlZ_ = std::memchr(buffer_.get(), '\x1a', cut_) != nullptr;
  return *ctrlZ_;
}

std::int64_t TBlockLines::Offset() const {
  return blockStart_ + (lines_.Rest().data() - buffer_.get());
}

void TBlockLines::ReadToTheEnd() {
  while (Refill()) {
  }
}

bool TBlockLines::Refill() {
  // What follows the block's last line end starts the next block.
  std::memmove(buffer_.get(), buffer_.get() + cut_, filled_ - cut_);
  filled_ -= cut_;
  blockStart_ += static_cast<std::int64_t>(cut_);
  cut_ = 0;
  std::size_t searched = 0;
  while (!atEnd_) {
    // A line longer than a block grows the buffer until it holds the whole line.
    if (capacity_ - filled_ < blockSize_) {
      const std::size_t capacity = std::max(capacity_ * 2, filled_ + blockSize_);
      auto grown = std::make_unique_for_overwrite<char[]>(capacity);
      std::memcpy(grown.get(), buffer_.get(), filled_);
      buffer_ = std::move(grown);
      capacity_ = capacity;
    }
    const std::size_t n = source_->ReadAtInto(blockStart_ + static_cast<std::int64_t>(filled_),
                                              buffer_.get() + filled_, blockSize_);
    filled_ += n;
    atEnd_ = n < blockSize_;  // fewer only at the end
    if (const void* lf = ::memrchr(buffer_.get() + searched, '\n', filled_ - searched)) {
      cut_ = static_cast<std::size_t>(static_cast<const char*>(lf) - buffer_.get()) + 1;
      break;
    }
    searched = filled_;
  }
  if (atEnd_ && cut_ == 0) cut_ = filled_;
  lines_ = TLineReader(std::string_view(buffer_.get(), cut_));
  ctrlZ_.reset();
  if (cut_ > 0 && onBlock) onBlock(Block());
  return cut_ > 0;
}

namespace {

// One reading of a whole text data file from its start, as a load reads it, which
// finds the file's outline as it goes: the status section, then the pages, then the
// buttons, then the rest of the file for the UTF-8 verdict.
class TWholeReading {
 public:
  TWholeReading(const TByteSource& source, std::size_t blockSize) : lines_(source, 0, blockSize) {
    outline_.BlockSize = blockSize;
    lines_.onBlock = [this](std::string_view block) { utf8_.Add(block); };
  }
  // False when the file is no text data file.
  bool ReadStatus() {
    if (!ReadStatusSection(lines_, fields_, outline_.Status)) return false;
    outline_.PageSection = lines_.Offset();
    return true;
  }
  const TTextFileOutline& Outline() const { return outline_; }
  bool NextPage(TPageItem& page) {
    if (!ReadPage(lines_, fields_, page)) {
      outline_.ButtonSection = lines_.Offset();
      return false;
    }
    ++outline_.Pages;
    outline_.OwnedButtons += page.Count;
    return true;
  }
  // The next button's text when its line holds it just as the writer writes it: the
  // line is then read. Empty for any other line, which is left for NextButton.
  std::string_view NextWritten() {
    const std::string_view rest = lines_.Rest();
    const char* const end = WrittenTextEnd(rest);
    if (end == nullptr) return {};
    const auto length = static_cast<std::size_t>(end - rest.data());
    lines_.Skip(length + (length == rest.size() ? 0 : rest[length] == '\n' ? 1 : 2));
    ++outline_.Buttons;
    return rest.substr(0, length);
  }
  // The next button into item; false after the last.
  bool NextButton(TLaunchDataItem& item) {
    if (!ReadButton(lines_, fields_, item)) return false;
    ++outline_.Buttons;
    return true;
  }
  // The bytes the last button was read from.
  std::string_view Held() const { return lines_.Block(); }
  // Reads the buttons left, to count them and to fail where the load fails.
  void SkipButtons() {
    TLaunchDataItem item;
    for (;;) {
      const std::string_view rest = lines_.Rest();
      if (const std::size_t length =
              lines_.BlockHasCtrlZ() ? 0 : SureLines(rest, outline_.Buttons)) {
        lines_.Skip(length);
      } else if (!NextButton(item)) {
        return;
      }
    }
  }
  // The outline, once every button was read.
  const TTextFileOutline& Finish() {
    // The verdict is on every byte of the file, also those after its last section.
    if (!utf8_.Decided()) lines_.ReadToTheEnd();
    outline_.Utf8 = utf8_.IsUtf8();
    return outline_;
  }

 private:
  TBlockLines lines_;
  TRecordFields fields_;
  TUtf8Verdict utf8_;
  TTextFileOutline outline_;
};

}  // namespace

std::optional<TTextFileOutline> ReadTextFileOutline(const TByteSource& source,
                                                    std::size_t blockSize) {
  TWholeReading reading(source, blockSize);
  if (!reading.ReadStatus()) return std::nullopt;
  TPageItem page;
  while (reading.NextPage(page)) {
  }
  reading.SkipButtons();
  return reading.Finish();
}

void CheckPageCounts(const TTextFileOutline& outline) {
  // The first button the pages own beyond the file's, as the save names it.
  if (outline.OwnedButtons > outline.Buttons) throw EListError(static_cast<int>(outline.Buttons));
}

TPageReader::TPageReader(const TByteSource& source, const TTextFileOutline& outline)
    : lines_(source, outline.PageSection, outline.BlockSize) {}

bool TPageReader::Next(TPageItem& page) {
  return ReadPage(lines_, fields_, page);
}

TButtonReader::TButtonReader(const TByteSource& source, const TTextFileOutline& outline)
    : lines_(source, outline.ButtonSection, outline.BlockSize) {}

bool TButtonReader::Next(TLaunchDataItem& item) {
  return ReadButton(lines_, fields_, item);
}

std::optional<TTextFileOutline> WriteTextFileFrom(const TByteSource& source,
                                                  const std::function<void(std::string_view)>& put,
                                                  std::size_t blockSize) {
  TWholeReading reading(source, blockSize);
  if (!reading.ReadStatus()) return std::nullopt;
  TPieces out(put);
  std::string text;  // a status, page or heading line, before it goes out
  out.Line(cp932::kStatusHeading);
  out.Line(";*STR");
  AppendStatusText(text, reading.Outline().Status);
  out.Line(text);
  out.Line(kSectionEnd);

  out.Line(cp932::kPageListHeading);
  out.Line(";*PAGE");
  TPageItem page;
  while (reading.NextPage(page)) {
    text.clear();
    AppendPageText(text, page);
    out.Line(text);
  }
  out.Line(kSectionEnd);

  out.Line(cp932::kFileListHeading);
  out.Line(";*FILE");
  // The page section once more, beside the buttons, for the pages they belong to.
  TPageReader pages(source, reading.Outline());
  TLaunchDataItem item;
  bool held = true;  // the file still holds buttons
  for (int p = 0; held && pages.Next(page); ++p) {
    text = "; [ ";
    AppendLineText(text, page.Caption);
    text += " ]";
    out.Line(text);
    out.Line(";*" + std::to_string(p));
    for (std::int32_t b = 0; b < page.Count; ++b) {
      // A button read as it was written is copied from the file's bytes as it stands.
      std::string_view written = reading.NextWritten();
      if (written.empty()) {
        if (!reading.NextButton(item)) {
          held = false;  // what was put is refused by CheckPageCounts
          break;
        }
        written = WrittenTextIn(item, reading.Held());
      }
      char* end = written.empty() ? WriteItemText(out.Room(ItemTextBound(item) + kEol.size()), item)
                                  : std::copy(written.begin(), written.end(),
                                              out.Room(written.size() + kEol.size()));
      out.Commit(std::copy(kEol.begin(), kEol.end(), end));
    }
  }
  // The buttons no page owns are read as a load reads them, not written.
  if (held) reading.SkipButtons();
  out.Line(kSectionEnd);
  out.Flush();
  return reading.Finish();
}
