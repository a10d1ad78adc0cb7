#include "RecentFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

void WriteRecentFiles(const QStringList& files) {
  const QString path = RecentFilesFile();
  QDir().mkpath(QFileInfo(path).absolutePath());
  // Two editors may write it at once: each writes a whole list, never half of one.
  QSaveFile out(path);
  if (!out.open(QIODevice::WriteOnly)) return;
  for (const QString& file : files)
    out.write(file.toUtf8() + '\n');
  out.commit();
}

}  // namespace

QString RecentFilesFile() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/pelledit/recent-files");
}

QStringList RecentFiles() {
  QFile in(RecentFilesFile());
  if (!in.open(QIODevice::ReadOnly)) return {};
  QStringList files;
  // A list edited by hand may hold anything: only absolute paths count, each once.
  while (files.size() < kRecentFilesKept && !in.atEnd()) {
    QString line = QString::fromUtf8(in.readLine());
    if (line.endsWith(QLatin1Char('\n'))) line.chop(1);  // a name may end in spaces: only that
    if (QDir::isAbsolutePath(line) && !files.contains(line)) files.append(line);
  }
  return files;
}

void RememberRecentFile(const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  if (absolute.isEmpty() || absolute.contains(QLatin1Char('\n')) ||
      absolute.contains(QLatin1Char('\r')))
    return;
  QStringList files = RecentFiles();
  files.removeAll(absolute);
  files.prepend(absolute);
  WriteRecentFiles(files.mid(0, kRecentFilesKept));
}

QString NewestRecentFile() {
  for (const QString& file : RecentFiles())
    if (QFileInfo(file).isFile()) return file;
  return {};
}

void ForgetRecentFile(const QString& path) {
  QStringList files = RecentFiles();
  if (files.removeAll(path) > 0) WriteRecentFiles(files);
}

void ClearRecentFiles() {
  QFile::remove(RecentFilesFile());
}
