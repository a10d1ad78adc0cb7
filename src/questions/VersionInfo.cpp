#include "VersionInfo.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "VersionConfig.h"

namespace {

QString LongPath(const QString& path) {
  const QString canonical = QFileInfo(path).canonicalFilePath();
  return canonical.isEmpty() ? path : canonical;
}

bool IsOwnProgram(const QString& longPath) {
  if (!QCoreApplication::instance() || longPath.isEmpty()) return false;
  return LongPath(QCoreApplication::applicationFilePath()) == longPath;
}

}  // namespace

void GetVersionInfo(const QString& path, TVersionInfo& info) {
  info = TVersionInfo{};
  info.Path = LongPath(path);
  if (!info.Path.isEmpty()) {
    info.Folder = QFileInfo(info.Path).path();
    if (!info.Folder.endsWith(QLatin1Char('/'))) info.Folder += QLatin1Char('/');
  }
  if (!IsOwnProgram(info.Path)) return;
  info.ProductName = QStringLiteral(PELLO_PRODUCT_NAME);
  info.ProductVersion = QStringLiteral(PELLO_PRODUCT_VERSION);
  info.LegalCopyright = QStringLiteral(PELLO_LEGAL_COPYRIGHT);
}
