#include "Backups.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <optional>
#include <string_view>
#include <tuple>

#include "DataFileRead.h"
#include "FileIO.h"
#include "LaunchErrors.h"

namespace {

constexpr int kKeptBackups = 10;
// Listing reads every entry of the folder: a stray huge file must not be read whole.
constexpr off_t kMaxReadSize = kMaxOwnFileSize;
constexpr std::size_t kChunk = 1 << 20;
constexpr int kStampLength = 15;  // yyyyMMdd-HHmmss
// Not an errno value: something other than a real folder (a file, a symbolic link)
// holds the backup folder's place.
constexpr int kNotFolder = -2;

const QString kStampFormat = QStringLiteral("yyyyMMdd-HHmmss");
const QString kSuffix = QStringLiteral(".bak");

QString Reason(int err) {
  if (err == kNotFolder) return QStringLiteral("指定されたパスは通常のフォルダーではありません。");
  return QString::fromStdString(msg::SystemReason(err));
}

std::string Native(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

QString CannotMake(const QString& what, const QString& path, int err) {
  return what + QStringLiteral(" \"") + path + QStringLiteral("\": ") + Reason(err);
}

// What the name of one of the data file's backups tells.
struct TBackupName {
  QString stamp;
  int number = 1;  // 1 for the name without "-n"
  QDateTime time;
};

bool IsAsciiDigits(QStringView s) {
  return !s.isEmpty() &&
         std::all_of(s.begin(), s.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// "<dataName>.<yyyyMMdd-HHmmss>[-n].bak" with a real date and time and n >= 2 written
// without leading zeros, so that each backup has exactly one name.
std::optional<TBackupName> ParseBackupName(const QString& name, const QString& dataName) {
  const QString prefix = dataName + u'.';
  if (!name.startsWith(prefix) || !name.endsWith(kSuffix)) return std::nullopt;
  const QStringView middle =
      QStringView(name).mid(prefix.size(), name.size() - prefix.size() - kSuffix.size());
  if (middle.size() < kStampLength || middle[8] != u'-' || !IsAsciiDigits(middle.left(8)) ||
      !IsAsciiDigits(middle.mid(9, 6)))
    return std::nullopt;
  TBackupName backup;
  backup.stamp = middle.left(kStampLength).toString();
  const QStringView rest = middle.mid(kStampLength);
  if (!rest.isEmpty()) {
    const QStringView digits = rest.mid(1);
    if (rest[0] != u'-' || !IsAsciiDigits(digits) || digits[0] == u'0') return std::nullopt;
    bool ok = false;
    backup.number = digits.toInt(&ok);
    if (!ok || backup.number < 2) return std::nullopt;
  }
  // Date and time apart: a local time skipped by a clock change is still a backup's.
  const QDate date = QDate::fromString(backup.stamp.left(8), QStringLiteral("yyyyMMdd"));
  const QTime time = QTime::fromString(backup.stamp.mid(9), QStringLiteral("HHmmss"));
  if (!date.isValid() || !time.isValid()) return std::nullopt;
  backup.time = QDateTime(date, time);
  return backup;
}

// A temporary of one of dataName's backups as an earlier version named it:
// ".<backup name>.XXXXXX".
bool IsEarlierTemporary(const QString& name, const QString& dataName) {
  constexpr int kRandom = 7;  // ".XXXXXX"
  return name.startsWith(u'.') && name.size() > 1 + kRandom &&
         name[name.size() - kRandom] == u'.' &&
         ParseBackupName(name.mid(1, name.size() - 1 - kRandom), dataName).has_value();
}

struct TEntry {
  std::string name;  // as the folder holds it
  QString displayName;
  int statError = 0;  // of lstat; st is valid when 0
  struct stat st {};
  std::optional<TBackupName> backup;
  bool temporary = false;  // a backup being written, or one whose writing was cut off

  bool IsRegularBackup() const { return backup && statError == 0 && S_ISREG(st.st_mode); }
};

bool NewerFirst(const TEntry& a, const TEntry& b) {
  return std::tie(a.backup->stamp, a.backup->number) > std::tie(b.backup->stamp, b.backup->number);
}

// The entries of folder, which must be a real folder (a symbolic link is not followed),
// each with its lstat and what its name tells. Returns 0, or the errno value (ENOENT
// for a missing folder) or kNotFolder that stops the reading.
int ReadFolder(const std::string& folder, const QString& dataName, std::vector<TEntry>& entries) {
  entries.clear();
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return errno == ENOTDIR || errno == ELOOP ? kNotFolder : errno;
  DIR* dir = ::fdopendir(fd);
  if (dir == nullptr) {
    const int err = errno;
    ::close(fd);
    return err;
  }
  int err = 0;
  for (;;) {
    errno = 0;
    const dirent* found = ::readdir(dir);
    if (found == nullptr) {
      err = errno;
      break;
    }
    const std::string_view name = found->d_name;
    if (name == "." || name == "..") continue;
    TEntry& entry = entries.emplace_back();
    entry.name = name;
    entry.displayName = QFile::decodeName(found->d_name);
    if (::fstatat(fd, found->d_name, &entry.st, AT_SYMLINK_NOFOLLOW) != 0) entry.statError = errno;
    entry.backup = ParseBackupName(entry.displayName, dataName);
    entry.temporary =
        IsOwnTemporaryName(entry.name) || IsEarlierTemporary(entry.displayName, dataName);
  }
  ::closedir(dir);
  if (err != 0) entries.clear();
  return err;
}

// Whether the file at path holds exactly data's bytes.
bool SameContent(const TInputFile& data, const std::string& path) {
  try {
    const TInputFile other(path);
    if (other.Size() != data.Size()) return false;
    for (std::int64_t at = 0; at < data.Size(); at += static_cast<std::int64_t>(kChunk))
      if (data.ReadAt(at, kChunk) != other.ReadAt(at, kChunk)) return false;
    return true;
  } catch (const ELaunchError&) {
    return false;
  }
}

int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return 0;
}

// Copies data to the new file folder/name with the permission bits mode. It is written
// as a hidden file first and renamed only when whole, never over an existing file: a
// failed copy leaves nothing behind. Empty, or the reason.
QString CopyToNewFile(const TInputFile& data, const std::string& folder, const std::string& name,
                      mode_t mode) {
  const std::string target = folder + '/' + name;
  std::string temp;
  const int fd = CreateTemporaryBeside(target, temp);
  if (fd < 0)
    return CannotMake(QStringLiteral("ファイル"), QFile::decodeName(target.c_str()), errno);
  int err = 0;
  QString readError;
  try {
    for (std::int64_t at = 0; err == 0 && at < data.Size(); at += static_cast<std::int64_t>(kChunk))
      err = WriteAll(fd, data.ReadAt(at, kChunk));
  } catch (const ELaunchError& e) {
    readError = QString::fromStdString(e.what());
  }
  if (err == 0 && ::fchmod(fd, mode & 0777) != 0) err = errno;
  if (err == 0 && ::fsync(fd) != 0) err = errno;
  if (::close(fd) != 0 && err == 0) err = errno;
  if (err == 0 && readError.isEmpty() &&
      ::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) != 0) {
    err = errno;
    // A file system without the no-replace rename: the name was found free just before.
    if (err == EINVAL || err == ENOSYS)
      err = ::rename(temp.c_str(), target.c_str()) == 0 ? 0 : errno;
  }
  if (err == 0 && readError.isEmpty()) {
    SyncFolderOf(target);
    return {};
  }
  ::unlink(temp.c_str());
  return readError.isEmpty()
             ? CannotMake(QStringLiteral("ファイル"), QFile::decodeName(target.c_str()), err)
             : readError;
}

// Reads the regular file at path (a symbolic link is not followed) into list when it
// is a data file within the size cap. Empty, or why it is not read.
QString ReadDataFile(const std::string& path, TLaunchList& list) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return Reason(errno);
  if (!S_ISREG(st.st_mode)) return Reason(S_ISDIR(st.st_mode) ? EISDIR : msg::kNotRegularFile);
  if (st.st_size > kMaxReadSize) return Reason(EFBIG);
  return LoadListProblem(path, list);
}

}  // namespace

QString BackupFolder(const QString& dataFile) {
  return QDir(QFileInfo(dataFile).absolutePath()).filePath(QStringLiteral("pelledit-backup"));
}

TBackupResult MakeBackup(const QString& dataFile, const QDateTime& now) {
  return MakeBackupIn(dataFile, BackupFolder(dataFile), now);
}

TBackupResult MakeBackupIn(const QString& dataFile, const QString& folder, const QDateTime& now) {
  TBackupResult result;
  const QString dataName = QFileInfo(dataFile).fileName();
  if (dataName.isEmpty()) return result;
  const std::string dataPath = Native(dataFile);
  struct stat st {};
  if (::stat(dataPath.c_str(), &st) != 0) {
    if (errno == ENOENT) return result;  // a first save: nothing to keep
    result.Failure = CannotMake(QStringLiteral("データーファイル"), dataFile, errno);
    return result;
  }
  if (!S_ISREG(st.st_mode)) return result;
  std::optional<TInputFile> data;
  try {
    data.emplace(dataPath);
  } catch (const ELaunchError& e) {
    result.Failure = QString::fromStdString(e.what());
    return result;
  }

  const std::string folderPath = Native(folder);
  if (::mkdir(folderPath.c_str(), 0777) != 0 && errno != EEXIST) {
    result.Failure = CannotMake(QStringLiteral("フォルダー"), folder, errno);
    return result;
  }
  RemoveStaleTemporariesIn(folderPath);
  std::vector<TEntry> entries;
  if (const int err = ReadFolder(folderPath, dataName, entries); err != 0) {
    result.Failure = CannotMake(QStringLiteral("フォルダー"), folder, err);
    return result;
  }

  const QString stamp = now.toLocalTime().toString(kStampFormat);
  int lastNumber = 0;  // of the names with this stamp, whatever they are
  std::vector<const TEntry*> backups;
  for (const TEntry& entry : entries) {
    if (!entry.backup) continue;
    if (entry.backup->stamp == stamp) lastNumber = std::max(lastNumber, entry.backup->number);
    if (entry.IsRegularBackup()) backups.push_back(&entry);
  }
  std::sort(backups.begin(), backups.end(),
            [](const TEntry* a, const TEntry* b) { return NewerFirst(*a, *b); });
  if (!backups.empty() && SameContent(*data, folderPath + '/' + backups.front()->name)) {
    result.Path = QDir(folder).filePath(QFile::decodeName(backups.front()->name.c_str()));
    return result;
  }

  // The next number after the highest of this second, so that the order of the names
  // stays the order the backups were made in.
  const int number = lastNumber + 1;
  const QString name = dataName + u'.' + stamp +
                       (number > 1 ? QStringLiteral("-") + QString::number(number) : QString()) +
                       kSuffix;
  result.Failure = CopyToNewFile(*data, folderPath, Native(name), st.st_mode);
  if (!result.Failure.isEmpty()) return result;
  result.Path = QDir(folder).filePath(name);

  // The backup just made stays even when a clock set back makes it look the oldest.
  for (std::size_t i = kKeptBackups - 1; i < backups.size(); ++i) {
    const std::string path = folderPath + '/' + backups[i]->name;
    if (::unlink(path.c_str()) != 0 && result.Note.isEmpty())
      result.Note = QStringLiteral("古いバックアップ \"") + QFile::decodeName(path.c_str()) +
                    QStringLiteral("\" を削除できません。") + Reason(errno);
  }
  return result;
}

std::vector<TBackupInfo> ListBackups(const QString& dataFile, QString& error) {
  error.clear();
  std::vector<TBackupInfo> list;
  const QString dataName = QFileInfo(dataFile).fileName();
  if (dataName.isEmpty()) return list;
  const QString folder = BackupFolder(dataFile);
  RemoveStaleTemporariesIn(Native(folder));
  std::vector<TEntry> entries;
  const int err = ReadFolder(Native(folder), dataName, entries);
  if (err == ENOENT) return list;  // no backup made yet
  if (err != 0) {
    error = QStringLiteral("バックアップ フォルダー \"") + folder +
            QStringLiteral("\" を読み込めません。") + Reason(err);
    return list;
  }

  std::sort(entries.begin(), entries.end(), [](const TEntry& a, const TEntry& b) {
    if (a.backup && b.backup) return NewerFirst(a, b);
    if (a.backup || b.backup) return a.backup.has_value();
    return a.name < b.name;
  });
  const std::string folderPath = Native(folder);
  for (const TEntry& entry : entries) {
    if (entry.temporary) continue;
    TBackupInfo& info = list.emplace_back();
    info.Path = QDir(folder).filePath(entry.displayName);
    if (!entry.backup) {
      if (entry.statError == 0) info.Time = QDateTime::fromSecsSinceEpoch(entry.st.st_mtime);
      info.Problem = QStringLiteral("このデーターファイルのバックアップではありません。");
      continue;
    }
    info.Time = entry.backup->time;
    TLaunchList loaded;
    info.Problem = ReadDataFile(folderPath + '/' + entry.name, loaded);
    info.Readable = info.Problem.isEmpty();
    if (info.Readable) {
      info.Pages = loaded.Pages.Count();
      info.Buttons = loaded.Count();
    }
  }
  return list;
}

bool LoadBackup(const QString& path, TLaunchList& list, QString& error) {
  TLaunchList loaded;
  const QString problem = ReadDataFile(Native(path), loaded);
  if (!problem.isEmpty()) {
    error = QStringLiteral("バックアップ \"") + path + QStringLiteral("\" を読み込めません。") +
            problem;
    return false;
  }
  loaded.FileName = list.FileName;
  list = std::move(loaded);
  return true;
}
