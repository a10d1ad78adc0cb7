// File input and output for the data files: a reader that opens once and reads
// at offsets or line by line, and a writer that replaces a file only when the
// whole new content is on disk. Failures raise EFileError naming the file.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

// Bytes to read from: a file or a buffer in memory.
class TByteSource {
 public:
  virtual ~TByteSource() = default;
  virtual std::int64_t Size() const = 0;
  // Up to size bytes from offset; fewer only at the end. Nothing outside 0 to Size().
  std::string ReadAt(std::int64_t offset, std::size_t size) const;
  // The same into buffer (room for size bytes); returns how many were read.
  virtual std::size_t ReadAtInto(std::int64_t offset, char* buffer, std::size_t size) const = 0;
  // Up to size bytes from the current position; fewer only at the end.
  virtual std::size_t Read(char* buffer, std::size_t size) = 0;
};

// A file opened for reading.
class TInputFile : public TByteSource {
 public:
  explicit TInputFile(const std::string& fileName);  // EFileError when it cannot be opened
  ~TInputFile() override;
  TInputFile(const TInputFile&) = delete;
  TInputFile& operator=(const TInputFile&) = delete;

  const std::string& FileName() const { return fileName_; }
  std::int64_t Size() const override { return size_; }
  std::size_t ReadAtInto(std::int64_t offset, char* buffer, std::size_t size) const override;
  std::size_t Read(char* buffer, std::size_t size) override;

 private:
  std::string fileName_;
  int fd_ = -1;
  std::int64_t size_ = 0;
};

// Bytes in memory, read as if they were a file. The bytes must outlive the source.
class TMemorySource : public TByteSource {
 public:
  explicit TMemorySource(std::string_view bytes) : bytes_(bytes) {}
  std::int64_t Size() const override { return static_cast<std::int64_t>(bytes_.size()); }
  std::size_t ReadAtInto(std::int64_t offset, char* buffer, std::size_t size) const override;
  std::size_t Read(char* buffer, std::size_t size) override;

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
};

// The whole of source, read once, in a buffer that can be shared by what borrows
// from it; its Size() bytes, or fewer should the file have shrunk meanwhile.
struct THeldBytes {
  std::shared_ptr<const char[]> bytes;
  std::size_t size = 0;
  std::string_view View() const { return {bytes.get(), size}; }
};
THeldBytes ReadAllBytes(const TByteSource& source);
// The whole of a regular file, mapped from the system's cache rather than copied: no
// memory to clear and fill for a file of a hundred megabytes. The file must not shrink
// while the bytes are held (reading past its new end raises SIGBUS); for a command
// that reads a file once. A file that cannot be mapped is read (ReadAllBytes).
THeldBytes MapFileBytes(const TInputFile& file);

// The lines of a text file: a line ends at LF or CR LF, a CR elsewhere is dropped,
// a byte 26 (Ctrl+Z) ends the file, and a line may be of any length.
class TLineReader {
 public:
  explicit TLineReader(TByteSource& source) : source_(&source) {}
  // Lines of bytes already in memory: each line is a view into bytes (which must
  // outlive the reader) unless a dropped CR made it a copy.
  explicit TLineReader(std::string_view bytes);
  // The next line, valid until the next call; false at the end of the file.
  bool Next(std::string_view& line);
  // For bytes given at construction: all that is not read yet, which a caller may
  // read itself and then Skip (empty when reading from a source). It may reach past
  // a Ctrl+Z: the caller must stop at one.
  std::string_view Rest() const {
    return held_ != nullptr ? std::string_view(held_ + begin_, end_ - begin_) : std::string_view();
  }
  void Skip(std::size_t n) { begin_ += std::min(n, end_ - begin_); }

 private:
  bool Fill();
  char* Data() { return held_ != nullptr ? held_ : buffer_.get(); }
  TByteSource* source_ = nullptr;
  char* held_ = nullptr;            // the bytes given at construction, never written
  std::unique_ptr<char[]> buffer_;  // not zero-filled: it is always read into first
  std::size_t capacity_ = 0;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  bool eof_ = false;
  std::string scratch_;
};

// What a file was at one moment, enough to tell that it was written or replaced
// since: which file it is, its size and its modification time to the nanosecond.
// A missing file has exists false and nothing else.
struct TFileStamp {
  bool exists = false;
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::int64_t size = 0;
  std::int64_t modifiedNs = 0;
  bool operator==(const TFileStamp&) const = default;
};
// The stamp of the file at path (a symbolic link is followed).
TFileStamp StampOf(const std::string& path);

// The producer of a new content in pieces: calls write once for each piece, in order.
using TContentProducer = std::function<void(const std::function<void(std::string_view)>& write)>;

// Called when a new content is wholly written and flushed, right before it takes the
// file's place: false leaves the file as it is. A save looks at the file once more
// here, since another program may have written it meanwhile.
using TBeforeReplace = std::function<bool()>;

// Called right after a new content took the file's place, with the path where the file
// it replaced now stands: false puts that file back (another program may have put it
// there after the last look) and the new content is dropped.
using TReplacedCheck = std::function<bool(const std::string& replaced)>;

// Replaces fileName by bytes: writes a new file beside it and renames it over the
// old one only when everything was written and flushed (the folder is flushed after
// the rename, so that a crash leaves the old file or the new one). The new file keeps
// the old one's permissions; a symbolic link is written through, and a dangling one
// gets its target created. Refused: a fileName that is no regular file (a folder, a
// pipe, a device; a link loop), or one the caller may not write to (a read-only
// file is refused to root as well). On failure or refusal the old file is
// untouched and EFileError::Create is raised. Returns the stamp of the file written,
// or a stamp with exists false when beforeReplace said no (nothing was replaced and
// the new file is gone).
TFileStamp WriteFileReplacing(const std::string& fileName, std::string_view bytes,
                              const TBeforeReplace& beforeReplace = {});

// The same, with the new content given in pieces, so that a large file needs no
// buffer of its whole size. Should produce raise an exception, the old file stays as
// it was and the exception passes on.
// With replaced, the new file and the old are swapped at once (where the file system
// can), so that the old one can be looked at and put back: a stamp with exists false.
TFileStamp WriteFileReplacing(const std::string& fileName, const TContentProducer& produce,
                              const TBeforeReplace& beforeReplace = {},
                              const TReplacedCheck& replaced = {});

// Replaces fileName by a file of the caller's alone (mode 0600 whatever the umask),
// as WriteFileReplacing does but never through a symbolic link: a link at fileName
// is replaced by the file, its target is not touched. For the editor's own files.
TFileStamp WritePrivateFile(const std::string& fileName, const TContentProducer& produce,
                            const TBeforeReplace& beforeReplace = {});

// Flushes the folder that holds path, so that a rename or removal in it survives a
// crash. 0, or the errno value (a file system that cannot flush a folder says so).
int SyncFolderOf(const std::string& path);

// Creates an empty temporary file beside path, for a new content to be renamed to
// path: in path's folder, named after path's file name and this process (a name
// IsOwnTemporaryName knows; never longer than a file name may be), made new (never
// through a link) with mode 0600. Returns its descriptor (read and write, closed on
// exec) and sets temp to its path; -1 with errno on failure.
int CreateTemporaryBeside(const std::string& path, std::string& temp);

// Whether name (a file name without folder) is that of a temporary CreateTemporaryBeside
// makes.
bool IsOwnTemporaryName(std::string_view name);

// Removes the temporaries that a save killed half way left beside fileName's target
// (the end of its symbolic links): only files named as CreateTemporaryBeside names
// them for that file name, regular files (a link is never followed) of this user,
// whose process no longer runs and which were not written to for some minutes (a
// process of the same number on another machine sharing the folder may still write).
// Returns how many were removed; what cannot be looked at or removed stays.
int RemoveStaleTemporaries(const std::string& fileName);

// The same for every such temporary in folder, whatever file it was for. A folder
// that is a symbolic link is left alone.
int RemoveStaleTemporariesIn(const std::string& folder);

// Why no new file can be made beside fileName's target (the end of its symbolic
// links) to be renamed over it, as an errno value: the folder cannot be written.
// 0 when one can (the probe file is removed at once).
int ReplaceBesideProblem(const std::string& fileName);

// Writes the new content into the existing regular file fileName itself (through
// its symbolic links), for a file that may be written in a folder that may not:
// from the start, then cut to its new length and flushed. The file keeps its
// identity, owner and permissions. Unlike a replace, a failure part way leaves the
// file damaged: the caller keeps a copy of the old bytes first. Refused, as a replace
// is, for anything but a regular file the caller may write to; raises
// EFileError::Create. beforeWrite is asked when the file is open, before its first
// byte is written: false leaves it untouched and returns a stamp with exists false.
// Returns the stamp of the file written.
TFileStamp WriteFileInPlace(const std::string& fileName, const TContentProducer& produce,
                            const TBeforeReplace& beforeWrite = {});

// The largest file the editor reads from its own folders (backups, recovery copies):
// a stray huge file there is neither read whole nor offered.
inline constexpr std::int64_t kMaxOwnFileSize = std::int64_t{256} << 20;

// Whether a file (or anything else) exists at path.
bool FileExists(const std::string& path);
