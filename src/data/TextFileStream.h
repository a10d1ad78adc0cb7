// A text data file gone through record by record, so that what reads it does not grow
// with the file: one reading of the whole file finds what it says as a whole (its
// outline); readers then go through its pages and its buttons from where those
// sections start, holding a block of lines each; and a writer gives the bytes
// SaveToTextFile would write for the file's loaded list as it reads the file. Every
// line is read as a load reads it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "DataItems.h"
#include "FileIO.h"
#include "RecordSplit.h"

// The lines of a source from an offset on, read a block at a time: a block ends after
// a line end (or at the end of the source), so that each line, and the bytes after it
// up to the block's end, are in memory at once. Lines are split as TLineReader splits
// the source's bytes held whole.
class TBlockLines {
 public:
  TBlockLines(const TByteSource& source, std::int64_t from, std::size_t blockSize);
  // The next line, valid until the next call; false at the end of the text (the
  // source's end, or a Ctrl+Z).
  bool Next(std::string_view& line);
  // The unread bytes of the block: from a line's start to the block's end, so at
  // least that line with its line end unless the source ends first. Empty at the end
  // of the text.
  std::string_view Rest();
  void Skip(std::size_t n) { lines_.Skip(n); }
  // The block the last line and Rest lie in.
  std::string_view Block() const { return {buffer_.get(), cut_}; }
  // Whether the block holds a Ctrl+Z, where the text ends.
  bool BlockHasCtrlZ();
  // Where in the source the next unread byte is.
  std::int64_t Offset() const;
  // Reads the blocks left, for onBlock alone.
  void ReadToTheEnd();

  // Called with each block as it is read: together, every byte of the source from
  // the offset given on, in order, in pieces that end after a line end or at the
  // source's end.
  std::function<void(std::string_view)> onBlock;

 private:
  bool Refill();
  bool EndedInBlock() const;
  const TByteSource* source_;
  std::int64_t blockStart_;  // where in the source the buffer starts
  std::size_t blockSize_;
  std::unique_ptr<char[]> buffer_;
  std::size_t capacity_;
  std::size_t filled_ = 0;     // bytes read into the buffer
  std::size_t cut_ = 0;        // the block: the bytes up to the buffer's last line end
  bool atEnd_ = false;         // the source has no more bytes to read
  std::optional<bool> ctrlZ_;  // the block holds a Ctrl+Z, once looked for
  TLineReader lines_;          // the block's lines
};

// What one reading of a whole text data file found.
struct TTextFileOutline {
  TDataStatus Status;
  std::int64_t PageSection = 0;    // where the page section's lines start
  std::int64_t ButtonSection = 0;  // where the button section's lines start
  int Pages = 0;
  std::int64_t OwnedButtons = 0;  // the pages' counts added up
  std::int64_t Buttons = 0;       // the buttons the file holds
  // The file is UTF-8 text, not CP932 (IsUtf8Text of all its bytes).
  bool Utf8 = false;
  // The bytes a reader reads at a time (more for a longer line).
  std::size_t BlockSize = 0;
};

// The bytes read at a time: a block stays in the processor's cache while its lines are
// gone through.
inline constexpr std::size_t kTextBlockSize = std::size_t{1} << 18;

// Reads the whole of source once, as TLaunchList::LoadFromTextFile reads it, and
// keeps its outline alone. nullopt when source is no text data file (its status
// section is refused); raises what the load raises for a file it cannot read
// (EFileError, EConvertError for a damaged button).
std::optional<TTextFileOutline> ReadTextFileOutline(const TByteSource& source,
                                                    std::size_t blockSize = kTextBlockSize);

// The pages of the file outline was read from, in order.
class TPageReader {
 public:
  TPageReader(const TByteSource& source, const TTextFileOutline& outline);
  // The next page into page; false after the last.
  bool Next(TPageItem& page);

 private:
  TBlockLines lines_;
  TRecordFields fields_;
};

// The buttons of the file outline was read from, in order.
class TButtonReader {
 public:
  TButtonReader(const TByteSource& source, const TTextFileOutline& outline);
  // The next button into item, whose texts may borrow the reader's bytes until the
  // next call; false after the last.
  bool Next(TLaunchDataItem& item);

 private:
  TBlockLines lines_;
  TRecordFields fields_;
};

// Raises the EListError SaveToTextFile raises for the list loaded from the file
// outline was read from, when its pages own more buttons than the file holds.
void CheckPageCounts(const TTextFileOutline& outline);

// Puts the bytes SaveToTextFile writes for the list loaded from source, in pieces of
// about a megabyte, reading source once (and its page section twice); returns the
// outline of what it read, or nullopt when source is no text data file (nothing is
// put). Raises what ReadTextFileOutline raises, once it has put some of the bytes.
// The bytes put are the save's only when the outline passes CheckPageCounts: the
// caller drops them otherwise.
std::optional<TTextFileOutline> WriteTextFileFrom(const TByteSource& source,
                                                  const std::function<void(std::string_view)>& put,
                                                  std::size_t blockSize = kTextBlockSize);
