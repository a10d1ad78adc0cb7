// XDG_STATE_HOME is read here by hand: this Qt has no state location of its own.
#include "StateFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>

#include "LaunchErrors.h"

namespace {

constexpr qsizetype kMaxNameBytes = 255;
constexpr qsizetype kHashChars = 16;
constexpr qsizetype kSuffixRoom = 40;

QString Quoted(const QString& path) {
  return QStringLiteral("\"") + path + QStringLiteral("\"");
}

// Up to max bytes of the UTF-8 name, not cut within a character.
QByteArray CutName(const QByteArray& name, qsizetype max) {
  if (name.size() <= max) return name;
  qsizetype end = max;
  while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80)
    --end;
  return name.left(end);
}

// Why the state folder, lstat'ed as st, is not to be used; empty when it is fine.
QString Refusal(const QString& folder, const struct stat& st) {
  if (!S_ISDIR(st.st_mode))
    return QStringLiteral("状態フォルダー ") + Quoted(folder) +
           QStringLiteral(" は通常のフォルダーではありません。");
  if (st.st_uid != ::geteuid())
    return QStringLiteral("状態フォルダー ") + Quoted(folder) +
           QStringLiteral(" は別のユーザーが所有しているため使えません。");
  return {};
}

}  // namespace

QString StateFolder() {
  // A relative value is to be ignored, as the base directory rules say.
  QString base = qEnvironmentVariable("XDG_STATE_HOME");
  if (base.isEmpty() || QDir::isRelativePath(base))
    base = QDir::homePath() + QStringLiteral("/.local/state");
  return QDir::cleanPath(base + QStringLiteral("/pelledit"));
}

QString MakeStateFolder() {
  const QString folder = StateFolder();
  const QByteArray native = QFile::encodeName(folder);
  if (!QDir().mkpath(QFileInfo(folder).path()))
    return QStringLiteral("フォルダー ") + Quoted(QFileInfo(folder).path()) +
           QStringLiteral(" を作成できません。");
  if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
    return QStringLiteral("フォルダー ") + Quoted(folder) + QStringLiteral(" を作成できません。") +
           QString::fromStdString(msg::SystemReason(errno));
  struct stat st {};
  if (::lstat(native.constData(), &st) != 0)
    return QStringLiteral("フォルダー ") + Quoted(folder) + QStringLiteral(" を作成できません。") +
           QString::fromStdString(msg::SystemReason(errno));
  if (QString refusal = Refusal(folder, st); !refusal.isEmpty()) return refusal;
  // Recovery copies hold the user's data: nobody else may read or plant them.
  if ((st.st_mode & 077) != 0 && ::chmod(native.constData(), 0700) != 0)
    return QStringLiteral("状態フォルダー ") + Quoted(folder) +
           QStringLiteral(" のアクセス許可を変更できません。") +
           QString::fromStdString(msg::SystemReason(errno));
  return {};
}

bool StateFolderTrusted() {
  const QString folder = StateFolder();
  struct stat st {};
  return ::lstat(QFile::encodeName(folder).constData(), &st) == 0 && Refusal(folder, st).isEmpty();
}

QString StatePathFor(const QString& dataFile, const QString& suffix) {
  const QFileInfo info(dataFile);
  const QString canonical = info.canonicalFilePath();
  const QString full = canonical.isEmpty() ? info.absoluteFilePath() : canonical;
  const QByteArray hash =
      QCryptographicHash::hash(QFile::encodeName(full), QCryptographicHash::Sha256).toHex();
  const qsizetype suffixBytes = std::max(QFile::encodeName(suffix).size(), kSuffixRoom);
  const QByteArray name =
      CutName(QFile::encodeName(info.fileName()), kMaxNameBytes - 1 - kHashChars - suffixBytes);
  return StateFolder() + QLatin1Char('/') + QFile::decodeName(name) + QLatin1Char('-') +
         QString::fromLatin1(hash.left(kHashChars)) + suffix;
}

std::optional<TStateFile> ReadTrustedFile(const QString& path, qint64 maxSize, qint64 upTo,
                                          QString* problem) {
  int err = 0;
  QString refusal;
  const int fd =
      ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  struct stat st {};
  if (fd < 0)
    err = errno == ELOOP ? msg::kNotRegularFile : errno;
  else if (::fstat(fd, &st) != 0)
    err = errno;
  else if (!S_ISREG(st.st_mode))
    err = msg::kNotRegularFile;
  else if (st.st_uid != ::geteuid())
    refusal = QStringLiteral("別のユーザーのファイルです。");
  else if (st.st_size > maxSize)
    err = EFBIG;

  std::optional<TStateFile> file;
  if (err == 0 && refusal.isEmpty()) {
    file.emplace();
    file->Bytes.resize(static_cast<qsizetype>(std::min<qint64>(st.st_size, upTo)));
    qsizetype done = 0;
    while (done < file->Bytes.size()) {
      const ssize_t n = ::pread(fd, file->Bytes.data() + done,
                                static_cast<std::size_t>(file->Bytes.size() - done), done);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) err = errno;
      if (n <= 0) break;
      done += n;
    }
    file->Bytes.truncate(done);
    file->Modified = QDateTime::fromMSecsSinceEpoch(qint64{st.st_mtim.tv_sec} * 1000 +
                                                    st.st_mtim.tv_nsec / 1000000);
    if (err != 0) file.reset();
  }
  if (fd >= 0) ::close(fd);
  if (!file && problem != nullptr)
    *problem = refusal.isEmpty() ? QString::fromStdString(msg::SystemReason(err)) : refusal;
  return file;
}

QByteArray HeaderValue(const QByteArray& head, const QByteArray& key) {
  for (const QByteArray& line : head.split('\n')) {
    const QByteArray text = line.endsWith('\r') ? line.chopped(1) : line;
    if (!text.startsWith(';')) break;
    if (text.startsWith(key)) return text.mid(key.size());
  }
  return {};
}

bool SameDataFile(const QString& a, const QString& b) {
  if (a.isEmpty() || b.isEmpty()) return false;
  const QFileInfo first(a), second(b);
  if (first.absoluteFilePath() == second.absoluteFilePath()) return true;
  const QString canonical = first.canonicalFilePath();
  return !canonical.isEmpty() && canonical == second.canonicalFilePath();
}
