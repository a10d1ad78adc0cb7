#include "InPlaceWriteMarker.h"

#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <cerrno>

#include "FileIO.h"
#include "LaunchErrors.h"
#include "StateFolder.h"

namespace {

constexpr char kOfLine[] = ";pelledit write in place of: ";
constexpr char kKeptLine[] = ";pelledit old bytes kept in: ";
// Two paths: anything larger was not written here.
constexpr qint64 kMaxMarkerSize = 64 * 1024;

QString MarkerPath(const QString& dataFile) {
  return StatePathFor(dataFile, QStringLiteral(".inplace"));
}

std::string Line(const char* key, const QString& path) {
  // Percent-encoded: a path may hold any byte, a line end too.
  return key + QUrl::toPercentEncoding(QFileInfo(path).absoluteFilePath(), "/").toStdString() +
         '\n';
}

}  // namespace

QString MarkInPlaceWrite(const QString& dataFile, const QString& keptCopy) {
  if (QString problem = MakeStateFolder(); !problem.isEmpty()) return problem;
  const std::string bytes = Line(kOfLine, dataFile) + Line(kKeptLine, keptCopy);
  try {
    WritePrivateFile(
        QFile::encodeName(MarkerPath(dataFile)).toStdString(),
        [&bytes](const std::function<void(std::string_view)>& write) { write(bytes); });
  } catch (const std::exception& e) {
    return QStringLiteral("直接書き込みの記録を残せません。") + QString::fromStdString(e.what());
  }
  return {};
}

QString ClearInPlaceWrite(const QString& dataFile) {
  const std::string marker = QFile::encodeName(MarkerPath(dataFile)).toStdString();
  if (::unlink(marker.c_str()) != 0 && errno != ENOENT)
    return QStringLiteral("直接書き込みの記録 \"") + MarkerPath(dataFile) +
           QStringLiteral("\" を削除できません。") +
           QString::fromStdString(msg::SystemReason(errno));
  SyncFolderOf(marker);
  return {};
}

std::optional<QString> UnfinishedInPlaceWrite(const QString& dataFile) {
  if (!StateFolderTrusted()) return std::nullopt;
  const std::optional<TStateFile> marker =
      ReadTrustedFile(MarkerPath(dataFile), kMaxMarkerSize, kMaxMarkerSize);
  if (!marker) return std::nullopt;
  const QString of = QUrl::fromPercentEncoding(HeaderValue(marker->Bytes, kOfLine));
  const QString kept = QUrl::fromPercentEncoding(HeaderValue(marker->Bytes, kKeptLine));
  if (!SameDataFile(of, dataFile) || kept.isEmpty()) return std::nullopt;
  return kept;
}
