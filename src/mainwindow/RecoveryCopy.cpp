#include "RecoveryCopy.h"

#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include "DataFileCommands.h"
#include "StateFolder.h"

namespace {

// The first lines of a recovery copy; ';' makes them comments of the text form.
constexpr char kOfLine[] = ";pelledit recovery copy of: ";
constexpr char kProcessLine[] = ";pelledit process: ";
constexpr qint64 kHeadBytes = 8192;

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

}  // namespace

QString RecoveryCopyPath(const QString& dataFile) {
  return StatePathFor(dataFile, QStringLiteral(".recovery.lst"));
}

QString WriteRecoveryCopy(const TGridStore& grid, const QString& dataFile) {
  if (QString problem = MakeStateFolder(); !problem.isEmpty()) return problem;
  const QString full = QFileInfo(dataFile).absoluteFilePath();
  TTextFileWrite how;
  // Percent-encoded: a path may hold any byte but the line ends of the text form.
  how.leadingComments = {kOfLine + QUrl::toPercentEncoding(full, "/").toStdString(),
                         kProcessLine + std::to_string(::getpid())};
  try {
    TLaunchList list;
    GridToLaunchList(grid, list);
    SaveToTextFile(list, Native(RecoveryCopyPath(dataFile)), how);
  } catch (const std::exception& e) {
    return QString::fromStdString(e.what());
  }
  return {};
}

std::optional<TRecoveryCopy> FindRecoveryCopy(const QString& dataFile) {
  TRecoveryCopy copy;
  copy.Path = RecoveryCopyPath(dataFile);
  QFile file(copy.Path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const QByteArray head = file.read(kHeadBytes);
  for (const QByteArray& line : head.split('\n')) {
    const QByteArray text = line.endsWith('\r') ? line.chopped(1) : line;
    if (text.startsWith(kOfLine))
      copy.DataFile = QUrl::fromPercentEncoding(text.mid(sizeof(kOfLine) - 1));
    else if (text.startsWith(kProcessLine))
      copy.Process = text.mid(sizeof(kProcessLine) - 1).toLongLong();
    else
      break;
  }
  if (IsOtherRunningEditor(copy.Process)) return std::nullopt;
  const QFileInfo info(copy.Path);
  copy.Written = info.lastModified();
  const QFileInfo data(dataFile);
  // File times are as coarse as the system's tick: the same time counts as after.
  copy.NewerThanFile = !data.exists() || info.lastModified() >= data.lastModified();
  return copy;
}

bool LoadRecoveryCopy(const TRecoveryCopy& copy, TLaunchList& list, QString& error) {
  TLaunchList loaded;
  loaded.SetFileName(Native(copy.Path));
  try {
    loaded.LoadFromFile();
  } catch (const std::exception& e) {
    loaded.Loaded = false;
    error = QString::fromStdString(e.what());
  }
  if (!loaded.Loaded) {
    error = QStringLiteral("復元用データー \"") + copy.Path +
            QStringLiteral("\" を読み込めません。") + error;
    return false;
  }
  loaded.FileName = list.FileName;
  list = std::move(loaded);
  return true;
}

void RemoveRecoveryCopy(const QString& dataFile) {
  QFile::remove(RecoveryCopyPath(dataFile));
}
