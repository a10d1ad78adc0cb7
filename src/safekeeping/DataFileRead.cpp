#include "DataFileRead.h"

#include <sys/stat.h>

#include <QFile>
#include <cerrno>

#include "LaunchErrors.h"

QString LoadListProblem(const std::string& path, TLaunchList& list) {
  list.SetFileName(path);
  try {
    list.LoadFromFile();
  } catch (const EFileError& e) {
    return QString::fromStdString(e.what());
  } catch (const std::exception& e) {
    return QStringLiteral("壊れているか、データーファイルではありません: ") +
           QString::fromStdString(e.what());
  }
  if (!list.Loaded) return QStringLiteral("このアプリケーションのデーターファイルではありません。");
  return {};
}

QString OpenListProblem(const QString& path, TLaunchList& list) {
  const std::string native = QFile::encodeName(path).toStdString();
  struct stat st {};
  if (::stat(native.c_str(), &st) != 0) return QString::fromStdString(msg::SystemReason(errno));
  // A pipe or a device would be read until it ends, if it ever does.
  if (!S_ISREG(st.st_mode))
    return QString::fromStdString(
        msg::SystemReason(S_ISDIR(st.st_mode) ? EISDIR : msg::kNotRegularFile));
  return LoadListProblem(native, list);
}

QString CannotOpenText(const QString& path, const QString& problem) {
  return QStringLiteral("\"") + path + QStringLiteral("\" を開けません。") +
         (problem.isEmpty() ? QString() : QStringLiteral("\r\r") + problem);
}
