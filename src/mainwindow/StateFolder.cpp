// XDG_STATE_HOME is read here by hand: this Qt has no state location of its own.
#include "StateFolder.h"

#include <sys/stat.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

#include "LaunchErrors.h"

QString StateFolder() {
  // A relative value is to be ignored, as the base directory rules say.
  QString base = qEnvironmentVariable("XDG_STATE_HOME");
  if (base.isEmpty() || QDir::isRelativePath(base))
    base = QDir::homePath() + QStringLiteral("/.local/state");
  return QDir::cleanPath(base + QStringLiteral("/pelledit"));
}

QString MakeStateFolder() {
  const QString folder = StateFolder();
  if (!QDir().mkpath(QFileInfo(folder).path()))
    return QStringLiteral("フォルダー \"") + QFileInfo(folder).path() +
           QStringLiteral("\" を作成できません。");
  if (::mkdir(QFile::encodeName(folder).constData(), 0700) != 0 && errno != EEXIST)
    return QStringLiteral("フォルダー \"") + folder + QStringLiteral("\" を作成できません。") +
           QString::fromStdString(msg::SystemReason(errno));
  if (!QFileInfo(folder).isDir())
    return QStringLiteral("\"") + folder + QStringLiteral("\" はフォルダーではありません。");
  return {};
}

QString StatePathFor(const QString& dataFile, const QString& suffix) {
  const QFileInfo info(dataFile);
  const QString canonical = info.canonicalFilePath();
  const QString full = canonical.isEmpty() ? info.absoluteFilePath() : canonical;
  const QByteArray hash =
      QCryptographicHash::hash(QFile::encodeName(full), QCryptographicHash::Sha256).toHex();
  return StateFolder() + QLatin1Char('/') + info.fileName() + QLatin1Char('-') +
         QString::fromLatin1(hash.left(16)) + suffix;
}
