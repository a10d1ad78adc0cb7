#include "RecoveryCopy.h"

#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <algorithm>
#include <new>

#include "GridTextSource.h"
#include "LaunchErrors.h"
#include "StateFolder.h"

namespace {

// The first lines of a recovery copy; ';' makes them comments of the text form.
constexpr char kOfLine[] = ";pelledit recovery copy of: ";
constexpr char kProcessLine[] = ";pelledit process: ";
constexpr qint64 kHeadBytes = 8192;
const QString kSuffix = QStringLiteral(".recovery.lst");

std::string Native(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

// Whether process pid is another editor that is still running.
bool IsOtherRunningEditor(qint64 pid) {
  if (pid <= 0 || pid == ::getpid()) return false;
  if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno != EPERM) return false;
  QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
  if (!comm.open(QIODevice::ReadOnly)) return false;
  const QString name = QFileInfo(QCoreApplication::applicationFilePath()).fileName().left(15);
  return QString::fromUtf8(comm.readLine()).trimmed() == name;
}

// The process a copy's file name gives (0 for the name once shared by all editors),
// or -1 when name is no recovery copy's of the data file whose names start with stem.
qint64 ProcessInName(const QString& name, const QString& stem) {
  if (!name.startsWith(stem) || !name.endsWith(kSuffix)) return -1;
  const QStringView middle =
      QStringView(name).mid(stem.size(), name.size() - stem.size() - kSuffix.size());
  if (middle.isEmpty()) return 0;
  const QStringView digits = middle.mid(1);
  if (!middle.startsWith(u'.') || digits.isEmpty() || digits.size() > 10 ||
      !std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
    return -1;
  return digits.toLongLong();
}

// The copy at path, when it is one of dataFile's that may be offered.
std::optional<TRecoveryCopy> Examine(const QString& path, qint64 namedProcess,
                                     const QString& dataFile) {
  const std::optional<TStateFile> file = ReadTrustedFile(path, kMaxOwnFileSize, kHeadBytes);
  if (!file) return std::nullopt;
  TRecoveryCopy copy;
  copy.Path = path;
  copy.DataFile = QUrl::fromPercentEncoding(HeaderValue(file->Bytes, kOfLine));
  copy.Process = HeaderValue(file->Bytes, kProcessLine).toLongLong();
  // A copy put there by hand, or one of another file that happens to share the name.
  if (!SameDataFile(copy.DataFile, dataFile)) return std::nullopt;
  if (namedProcess != 0 && copy.Process != namedProcess) return std::nullopt;
  if (IsOtherRunningEditor(copy.Process)) return std::nullopt;
  copy.Written = file->Modified;
  const QFileInfo data(dataFile);
  // File times are as coarse as the system's tick: the same time counts as after.
  copy.NewerThanFile = !data.exists() || copy.Written >= data.lastModified();
  return copy;
}

}  // namespace

QString RecoveryCopyPath(const QString& dataFile) {
  return StatePathFor(dataFile, QLatin1Char('.') + QString::number(::getpid()) + kSuffix);
}

QString WriteRecoveryCopy(const TGridCells& grid, const QString& dataFile,
                          const std::atomic<bool>* stop) {
  const QString cannot = QStringLiteral("復元用データーを保存できません。");
  if (QString problem = MakeStateFolder(); !problem.isEmpty()) return cannot + problem;
  const QString full = QFileInfo(dataFile).absoluteFilePath();
  TTextFileWrite how;
  // Percent-encoded: a path may hold any byte but the line ends of the text form.
  how.leadingComments = {kOfLine + QUrl::toPercentEncoding(full, "/").toStdString(),
                         kProcessLine + std::to_string(::getpid())};
  how.privateFile = true;
  how.beforeReplace = [stop] { return stop == nullptr || !stop->load(); };
  QString reason;
  try {
    TGridTextSource source(grid, stop);
    SaveToTextFile(source, Native(RecoveryCopyPath(dataFile)), how);
    return {};
  } catch (const EWriteStopped&) {
    return {};  // given up on purpose: nothing to tell
  } catch (const std::bad_alloc&) {
    reason = QString::fromStdString(msg::SystemReason(ENOMEM));
  } catch (const std::exception& e) {
    reason = QString::fromStdString(e.what());
  }
  return cannot + reason;
}

std::vector<TRecoveryCopy> FindRecoveryCopies(const QString& dataFile) {
  std::vector<TRecoveryCopy> copies;
  if (!StateFolderTrusted()) return copies;
  RemoveStaleTemporariesIn(Native(StateFolder()));  // of copies whose writing was cut off
  const QString stem = QFileInfo(StatePathFor(dataFile, {})).fileName();
  const QDir folder(StateFolder());
  const QStringList names =
      folder.entryList(QDir::Files | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
  for (const QString& name : names) {
    const qint64 process = ProcessInName(name, stem);
    if (process < 0) continue;
    if (auto copy = Examine(folder.filePath(name), process, dataFile))
      copies.push_back(std::move(*copy));
  }
  std::stable_sort(
      copies.begin(), copies.end(),
      [](const TRecoveryCopy& a, const TRecoveryCopy& b) { return a.Written > b.Written; });
  return copies;
}

std::optional<TRecoveryCopy> FindRecoveryCopy(const QString& dataFile) {
  std::vector<TRecoveryCopy> copies = FindRecoveryCopies(dataFile);
  if (copies.empty()) return std::nullopt;
  return std::move(copies.front());
}

bool LoadRecoveryCopy(const TRecoveryCopy& copy, TLaunchList& list, QString& error) {
  TLaunchList loaded;
  const std::optional<TStateFile> file =
      ReadTrustedFile(copy.Path, kMaxOwnFileSize, kMaxOwnFileSize, &error);
  if (file) {
    try {
      loaded.LoadFromBytes(std::string_view(file->Bytes.constData(), file->Bytes.size()));
    } catch (const std::exception& e) {
      loaded.Loaded = false;
      error = QString::fromStdString(e.what());
    }
  }
  if (!file || !loaded.Loaded) {
    error = QStringLiteral("復元用データー \"") + copy.Path +
            QStringLiteral("\" を読み込めません。") + error;
    return false;
  }
  loaded.FileName = list.FileName;
  list = std::move(loaded);
  return true;
}

void RemoveRecoveryCopy(const QString& dataFile) {
  ::unlink(Native(RecoveryCopyPath(dataFile)).c_str());
}

void DiscardRecoveryCopy(const TRecoveryCopy& copy) {
  ::unlink(Native(copy.Path).c_str());
}
