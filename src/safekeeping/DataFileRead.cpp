#include "DataFileRead.h"

#include <sys/stat.h>

#include <QFile>
#include <cerrno>

#include "LaunchErrors.h"

QString LoadListProblem(const std::string& path, TLaunchList& list) {
  list.SetFileName(path);
  QString problem;
  try {
    list.LoadFromFile();
    if (!list.Loaded)
      problem = QStringLiteral("このアプリケーションのデーターファイルではありません。");
  } catch (const EFileError& e) {
    return QString::fromStdString(e.what());
  } catch (const std::exception& e) {
    problem = QStringLiteral("壊れているか、データーファイルではありません: ") +
              QString::fromStdString(e.what());
  }
  // Read as CP932 it would show other characters, and the save would keep them.
  if (IsUtf8DataFile(list, path))
    return QString::fromUtf8(msg::kNotShiftJis) + QStringLiteral("。");
  return problem;
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
