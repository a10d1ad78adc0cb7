// Our own file writing rather than QSaveFile: the data file is often a link or a file
// the launcher holds open, and the save must keep the link, the owner and the mode,
// write in place when a rename cannot, and tell which file it made.
#include "FileIO.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <optional>
#include <utility>

#include "LargePages.h"
#include "LaunchErrors.h"

namespace {

constexpr std::size_t kChunk = std::size_t{1} << 16;

ssize_t ReadRetrying(int fd, char* buffer, std::size_t size, std::int64_t offset) {
  for (;;) {
    ssize_t n = offset < 0 ? ::read(fd, buffer, size) : ::pread(fd, buffer, size, offset);
    if (n >= 0 || errno != EINTR) return n;
  }
}

}  // namespace

TInputFile::TInputFile(const std::string& fileName) : fileName_(fileName) {
  // Without O_NONBLOCK, opening a named pipe would wait for a writer forever.
  fd_ = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd_ < 0) throw EFileError::Open(fileName, errno);
  struct stat st {};
  int err = ::fstat(fd_, &st) != 0 ? errno : 0;
  // Only a regular file is a data file: a pipe or a device could block or never end.
  if (err == 0 && !S_ISREG(st.st_mode)) err = msg::kNotRegularFile;
  if (err != 0) {
    ::close(fd_);
    throw EFileError::Open(fileName, err);
  }
  size_ = st.st_size;
}

TInputFile::~TInputFile() {
  if (fd_ >= 0) ::close(fd_);
}

std::string TByteSource::ReadAt(std::int64_t offset, std::size_t size) const {
  std::string out;
  if (offset < 0 || offset >= Size()) return out;
  std::int64_t available = Size() - offset;
  if (static_cast<std::uint64_t>(available) < size) size = static_cast<std::size_t>(available);
  out.resize(size);
  out.resize(ReadAtInto(offset, out.data(), size));
  return out;
}

std::size_t TInputFile::ReadAtInto(std::int64_t offset, char* buffer, std::size_t size) const {
  if (offset < 0 || offset >= size_) return 0;
  std::int64_t available = size_ - offset;
  if (static_cast<std::uint64_t>(available) < size) size = static_cast<std::size_t>(available);
  std::size_t done = 0;
  while (done < size) {
    ssize_t n =
        ReadRetrying(fd_, buffer + done, size - done, offset + static_cast<std::int64_t>(done));
    if (n < 0) throw EFileError::Open(fileName_, errno);
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

std::size_t TInputFile::Read(char* buffer, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    ssize_t n = ReadRetrying(fd_, buffer + done, size - done, -1);
    if (n < 0) throw EFileError::Open(fileName_, errno);
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

std::size_t TMemorySource::ReadAtInto(std::int64_t offset, char* buffer, std::size_t size) const {
  if (offset < 0 || offset >= Size()) return 0;
  std::size_t n = std::min(size, bytes_.size() - static_cast<std::size_t>(offset));
  std::memcpy(buffer, bytes_.data() + offset, n);
  return n;
}

THeldBytes ReadAllBytes(const TByteSource& source) {
  THeldBytes held;
  const auto size = static_cast<std::size_t>(std::max<std::int64_t>(source.Size(), 0));
  // Not zero-filled: the read writes every byte that counts. A large file is read
  // into large pages where the system offers them: a fault per 2 MB, not per 4 KB.
  std::shared_ptr<char[]> bytes = std::make_shared_for_overwrite<char[]>(size + 1);
  PreferLargePages(bytes.get(), size);
  held.size = source.ReadAtInto(0, bytes.get(), size);
  held.bytes = std::move(bytes);
  return held;
}

THeldBytes MapFileBytes(const TInputFile& file) {
  const auto size = static_cast<std::size_t>(std::max<std::int64_t>(file.Size(), 0));
  const int fd = size > 0 ? ::open(file.FileName().c_str(), O_RDONLY | O_CLOEXEC) : -1;
  void* mapped = fd >= 0 ? ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0) : MAP_FAILED;
  if (fd >= 0) ::close(fd);  // the mapping keeps the file
  if (mapped == MAP_FAILED) return ReadAllBytes(file);
  ::madvise(mapped, size, MADV_SEQUENTIAL);
  THeldBytes held;
  held.bytes = std::shared_ptr<const char[]>(
      static_cast<const char*>(mapped),
      [size](const char* p) { ::munmap(const_cast<char*>(p), size); });
  held.size = size;
  return held;
}

// The Ctrl+Z that ends the file is looked for line by line (see Next), so that
// bytes a caller reads through Rest are not searched twice.
TLineReader::TLineReader(std::string_view bytes)
    : held_(const_cast<char*>(bytes.data())), end_(bytes.size()), eof_(true) {}

std::size_t TMemorySource::Read(char* buffer, std::size_t size) {
  std::size_t n = std::min(size, bytes_.size() - pos_);
  if (n > 0) std::memcpy(buffer, bytes_.data() + pos_, n);
  pos_ += n;
  return n;
}

bool TLineReader::Fill() {
  if (eof_) return false;
  if (begin_ > 0) {  // keep the unfinished line at the front
    std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  // Small sources get a buffer of their own size, large ones grow by chunks.
  const std::size_t chunk = static_cast<std::size_t>(
      std::clamp<std::int64_t>(source_->Size() + 1, 1, static_cast<std::int64_t>(kChunk)));
  if (capacity_ < end_ + chunk) {
    std::size_t capacity = std::max(capacity_ * 2, end_ + chunk);
    auto grown = std::make_unique_for_overwrite<char[]>(capacity);
    if (end_ > 0) std::memcpy(grown.get(), buffer_.get(), end_);
    buffer_ = std::move(grown);
    capacity_ = capacity;
  }
  char* fresh = buffer_.get() + end_;
  std::size_t n = source_->Read(fresh, chunk);
  if (n == 0) {
    eof_ = true;
    return false;
  }
  if (const void* stop = std::memchr(fresh, '\x1a', n)) {
    n = static_cast<const char*>(stop) - fresh;
    eof_ = true;
  }
  end_ += n;
  return n > 0;
}

bool TLineReader::Next(std::string_view& line) {
  std::size_t searched = begin_;
  const char* lf = nullptr;
  for (;;) {
    lf = end_ > searched
             ? static_cast<const char*>(std::memchr(Data() + searched, '\n', end_ - searched))
             : nullptr;
    if (lf != nullptr) break;
    std::size_t pending = end_ - begin_;
    if (!Fill()) {
      if (end_ == begin_) return false;
      break;  // the last line, without LF
    }
    searched = begin_ + pending;
  }
  std::size_t stop = lf != nullptr ? static_cast<std::size_t>(lf - Data()) : end_;
  if (held_ != nullptr) {
    if (const void* ctrlZ = std::memchr(Data() + begin_, '\x1a', stop - begin_)) {
      stop = end_ = static_cast<std::size_t>(static_cast<const char*>(ctrlZ) - Data());
      lf = nullptr;
      if (stop == begin_) return false;
    }
  }
  line = std::string_view(Data() + begin_, stop - begin_);
  begin_ = lf != nullptr ? stop + 1 : end_;
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (!line.empty() && std::memchr(line.data(), '\r', line.size()) != nullptr) {
    scratch_.clear();
    for (char c : line)
      if (c != '\r') scratch_.push_back(c);
    line = scratch_;
  }
  return true;
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

namespace {

constexpr int kMaxLinks = 40;  // as many as the kernel follows in one path

// The file that writing to fileName really changes: the end of its symbolic links,
// which need not exist yet (a dangling link names the file to create). Returns 0,
// or the errno value that stops the way there.
int ResolveTarget(const std::string& fileName, std::string& target) {
  target = fileName;
  for (int links = 0;; ++links) {
    struct stat st {};
    if (::lstat(target.c_str(), &st) != 0) return errno == ENOENT ? 0 : errno;
    if (!S_ISLNK(st.st_mode)) return 0;
    if (links == kMaxLinks) return ELOOP;
    std::string link(st.st_size > 0 ? static_cast<std::size_t>(st.st_size) : PATH_MAX, '\0');
    ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
    if (n < 0) return errno;
    link.resize(static_cast<std::size_t>(n));
    // A relative link is read from the folder that holds it.
    const std::string::size_type slash = target.rfind('/');
    if (link.starts_with('/') || slash == std::string::npos)
      target = link;
    else
      target = target.substr(0, slash + 1) + link;
  }
}

// 0 when an existing target of st may be replaced, else the reason it may not:
// it is no regular file, or the caller may not write to it. Root may write to
// anything, so it is held to the owner's bits: a read-only file stays read-only.
int ReplaceRefusal(const std::string& target, const struct stat& st) {
  if (!S_ISREG(st.st_mode)) return msg::kNotRegularFile;
  if (::geteuid() == 0) return (st.st_mode & S_IWUSR) != 0 ? 0 : EACCES;
  return ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) == 0 ? 0 : errno;
}

mode_t DefaultMode() {
  mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

TFileStamp StampFromStat(const struct stat& st) {
  TFileStamp stamp;
  stamp.exists = true;
  stamp.device = static_cast<std::uint64_t>(st.st_dev);
  stamp.inode = static_cast<std::uint64_t>(st.st_ino);
  stamp.size = static_cast<std::int64_t>(st.st_size);
  stamp.modifiedNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  return stamp;
}

// The target a write to fileName changes and, when it exists, its stat. Raises
// EFileError::Create when it may not be written (see ReplaceRefusal).
std::string WritableTarget(const std::string& fileName, struct stat& old, bool& existed) {
  std::string target;
  int err = ResolveTarget(fileName, target);
  existed = false;
  if (err == 0) {
    existed = ::lstat(target.c_str(), &old) == 0;
    if (existed)
      err = ReplaceRefusal(target, old);
    else if (errno != ENOENT)
      err = errno;
  }
  if (err != 0) throw EFileError::Create(fileName, err);
  return target;
}

constexpr std::size_t kMaxNameBytes = 255;  // NAME_MAX of the usual file systems
constexpr std::string_view kTempMark = ".pelledit-";
constexpr std::size_t kTempRandom = 6;  // mkostemp's XXXXXX
constexpr std::size_t kMaxPidDigits = 10;
// Room the temporary's name leaves for the file name it is made for.
constexpr std::size_t kTempBaseBytes =
    kMaxNameBytes - 1 - kTempMark.size() - kMaxPidDigits - 1 - kTempRandom;
// A temporary written to in this time may still be a save in progress elsewhere.
constexpr std::time_t kStaleAfterSeconds = 10 * 60;

// The folder (with its '/') and the file name of path.
std::pair<std::string, std::string> SplitPath(const std::string& path) {
  const std::string::size_type slash = path.rfind('/');
  if (slash == std::string::npos) return {"./", path};
  return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

// Up to max bytes of name, not cut within a UTF-8 character.
std::string_view CutName(std::string_view name, std::size_t max) {
  if (name.size() <= max) return name;
  std::size_t end = max;
  while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80)
    --end;
  return name.substr(0, end);
}

// What every temporary for a file named base starts with.
std::string TempPrefix(std::string_view base) {
  return "." + std::string(CutName(base, kTempBaseBytes)) + std::string(kTempMark);
}

// The process number in a temporary's name, 0 when name is no temporary of ours.
pid_t TemporaryPid(std::string_view name) {
  const std::string_view::size_type mark = name.rfind(kTempMark);
  if (!name.starts_with('.') || mark == std::string_view::npos || mark == 0) return 0;
  std::string_view rest = name.substr(mark + kTempMark.size());
  const std::string_view::size_type dash = rest.find('-');
  if (dash == std::string_view::npos || dash == 0 || dash > kMaxPidDigits ||
      rest.size() != dash + 1 + kTempRandom)
    return 0;
  long long pid = 0;
  for (char c : rest.substr(0, dash)) {
    if (c < '0' || c > '9') return 0;
    pid = pid * 10 + (c - '0');
  }
  for (char c : rest.substr(dash + 1))
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) return 0;
  return pid > 0 && pid <= INT_MAX ? static_cast<pid_t>(pid) : 0;
}

// Removes the stale temporaries (see RemoveStaleTemporaries) in the open folder fd
// whose names start with prefix.
int RemoveStaleIn(int fd, std::string_view prefix) {
  DIR* dir = ::fdopendir(fd);
  if (dir == nullptr) {
    ::close(fd);
    return 0;
  }
  const std::time_t staleBefore = std::time(nullptr) - kStaleAfterSeconds;
  int removed = 0;
  while (const dirent* found = ::readdir(dir)) {
    const std::string_view name = found->d_name;
    const pid_t pid = TemporaryPid(name);
    if (pid == 0 || !name.starts_with(prefix)) continue;
    struct stat st {};
    if (::fstatat(::dirfd(dir), found->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(st.st_mode) || st.st_uid != ::geteuid() || st.st_mtime > staleBefore)
      continue;
    // Any process of that number, an editor or not, may be the writer: only none is stale.
    if (::kill(pid, 0) == 0 || errno != ESRCH) continue;
    if (::unlinkat(::dirfd(dir), found->d_name, 0) == 0) ++removed;
  }
  ::closedir(dir);
  return removed;
}

// Hands produce's pieces to fd; the first error stops the writing and is returned.
// Should produce raise, fd is closed and the exception passes on.
int WritePieces(int fd, const TContentProducer& produce, std::int64_t& written) {
  int err = 0;
  written = 0;
  try {
    produce([fd, &err, &written](std::string_view piece) {
      if (err != 0) return;
      if (!WriteAll(fd, piece))
        err = errno;
      else
        written += static_cast<std::int64_t>(piece.size());
    });
  } catch (...) {
    ::close(fd);
    throw;
  }
  return err;
}

}  // namespace

TFileStamp StampOf(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return {};
  return StampFromStat(st);
}

int SyncFolderOf(const std::string& path) {
  const int fd = ::open(SplitPath(path).first.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno;
  const int err = ::fsync(fd) == 0 ? 0 : errno;
  ::close(fd);
  return err;
}

int CreateTemporaryBeside(const std::string& path, std::string& temp) {
  const auto [dir, base] = SplitPath(path);
  temp = dir + TempPrefix(base) + std::to_string(::getpid()) + "-XXXXXX";
  // mkostemp makes the file new (O_EXCL: a link in its place is no way through).
  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return -1;
  if (::fchmod(fd, 0600) != 0) {
    const int err = errno;
    ::close(fd);
    ::unlink(temp.c_str());
    errno = err;
    return -1;
  }
  return fd;
}

bool IsOwnTemporaryName(std::string_view name) {
  return TemporaryPid(name) != 0;
}

int RemoveStaleTemporaries(const std::string& fileName) {
  std::string target;
  if (ResolveTarget(fileName, target) != 0) return 0;
  const auto [dir, base] = SplitPath(target);
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  return fd < 0 ? 0 : RemoveStaleIn(fd, TempPrefix(base));
}

int RemoveStaleTemporariesIn(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  return fd < 0 ? 0 : RemoveStaleIn(fd, ".");
}

namespace {

// How a new file takes a target's place.
struct TReplace {
  const std::string& fileName;  // as the caller named it, for the error
  const std::string& target;    // the name the new file gets
  mode_t mode;
  std::optional<std::pair<uid_t, gid_t>> owner;  // kept when the old file had one
};

// Puts temp in target's place. With replaced, the two are swapped (where the file
// system can swap them at once): the file that stood there is asked about at temp,
// and when replaced says no it is swapped back. Returns 0, an errno value, or -1 when
// the old file was put back.
int TakePlace(const std::string& temp, const std::string& target, const TReplacedCheck& replaced) {
  if (replaced &&
      ::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) == 0) {
    if (replaced(temp)) return 0;
    return ::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) == 0
               ? -1
               : 0;  // cannot be put back: the new file stays, as a rename would leave it
  }
  // No file to swap with, or a file system that cannot swap.
  return ::rename(temp.c_str(), target.c_str()) == 0 ? 0 : errno;
}

// Writes produce's content to a temporary beside how.target and renames it there
// when all was written and flushed and beforeReplace agrees.
TFileStamp Replace(const TReplace& how, const TContentProducer& produce,
                   const TBeforeReplace& beforeReplace, const TReplacedCheck& replaced = {}) {
  // Written beside the target and renamed over it: another hard link to the old
  // file keeps the old bytes.
  std::string temp;
  const int fd = CreateTemporaryBeside(how.target, temp);
  if (fd < 0) throw EFileError::Create(how.fileName, errno);

  // After a failed write the later pieces are not written: the first error is the one told.
  std::int64_t written = 0;
  int err = 0;
  try {
    err = WritePieces(fd, produce, written);
  } catch (...) {
    ::unlink(temp.c_str());
    throw;
  }
  if (err == 0 && how.owner) {
    if (::fchown(fd, how.owner->first, how.owner->second) != 0) { /* keep our own owner */
    }
  }
  if (err == 0 && ::fchmod(fd, how.mode) != 0) err = errno;
  if (err == 0 && ::fsync(fd) != 0) err = errno;
  // Taken from the new file itself, before it has the target's name: whatever
  // replaces it after the rename has another identity.
  struct stat now {};
  if (err == 0 && ::fstat(fd, &now) != 0) err = errno;
  if (::close(fd) != 0 && err == 0) err = errno;
  bool agreed = true;
  if (err == 0 && beforeReplace) {
    try {
      agreed = beforeReplace();
    } catch (...) {
      ::unlink(temp.c_str());
      throw;
    }
  }
  if (err == 0 && agreed) {
    err = TakePlace(temp, how.target, replaced);
    if (err == -1) err = 0, agreed = false;
  }
  if (err != 0 || !agreed) {
    ::unlink(temp.c_str());
    if (err != 0) throw EFileError::Create(how.fileName, err);
    return {};
  }
  // The rename is done: a folder that cannot be flushed does not undo it. After a swap
  // the old file is at temp.
  ::unlink(temp.c_str());
  SyncFolderOf(how.target);
  return StampFromStat(now);
}

}  // namespace

TFileStamp WriteFileReplacing(const std::string& fileName, std::string_view bytes,
                              const TBeforeReplace& beforeReplace) {
  return WriteFileReplacing(
      fileName, [bytes](const std::function<void(std::string_view)>& write) { write(bytes); },
      beforeReplace);
}

TFileStamp WriteFileReplacing(const std::string& fileName, const TContentProducer& produce,
                              const TBeforeReplace& beforeReplace, const TReplacedCheck& replaced) {
  struct stat old {};
  bool existed = false;
  const std::string target = WritableTarget(fileName, old, existed);
  TReplace how{fileName, target, existed ? static_cast<mode_t>(old.st_mode & 07777) : DefaultMode(),
               std::nullopt};
  if (existed) how.owner.emplace(old.st_uid, old.st_gid);
  return Replace(how, produce, beforeReplace, replaced);
}

TFileStamp WritePrivateFile(const std::string& fileName, const TContentProducer& produce,
                            const TBeforeReplace& beforeReplace) {
  return Replace({fileName, fileName, 0600, std::nullopt}, produce, beforeReplace);
}

int ReplaceBesideProblem(const std::string& fileName) {
  std::string target;
  if (const int err = ResolveTarget(fileName, target); err != 0) return err;
  std::string temp;
  const int fd = CreateTemporaryBeside(target, temp);
  if (fd < 0) return errno;
  ::close(fd);
  ::unlink(temp.c_str());
  return 0;
}

TFileStamp WriteFileInPlace(const std::string& fileName, const TContentProducer& produce,
                            const TBeforeReplace& beforeWrite) {
  struct stat old {};
  bool existed = false;
  const std::string target = WritableTarget(fileName, old, existed);
  if (!existed) throw EFileError::Create(fileName, ENOENT);
  // Not truncated on open: a write that cannot start leaves the file whole.
  const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) throw EFileError::Create(fileName, errno);
  struct stat opened {};
  int err = ::fstat(fd, &opened) != 0 ? errno : 0;
  // The file checked is the file opened (not something put in its place since).
  if (err == 0 &&
      (!S_ISREG(opened.st_mode) || opened.st_ino != old.st_ino || opened.st_dev != old.st_dev))
    err = msg::kNotRegularFile;
  if (err == 0 && beforeWrite) {
    bool agreed = false;
    try {
      agreed = beforeWrite();
    } catch (...) {
      ::close(fd);
      throw;
    }
    if (!agreed) {
      ::close(fd);
      return {};
    }
  }
  std::int64_t written = 0;
  if (err == 0) err = WritePieces(fd, produce, written);
  if (err == 0 && ::ftruncate(fd, static_cast<off_t>(written)) != 0) err = errno;
  if (err == 0 && ::fsync(fd) != 0) err = errno;
  struct stat now {};
  if (err == 0 && ::fstat(fd, &now) != 0) err = errno;
  if (::close(fd) != 0 && err == 0) err = errno;
  if (err != 0) throw EFileError::Create(fileName, err);
  return StampFromStat(now);
}
