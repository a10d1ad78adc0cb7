#include "ExchangeCommands.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "DataFileCommands.h"
#include "Dialogs.h"
#include "GridTextSource.h"
#include "LaunchErrors.h"
#include "Questions.h"

namespace {

const QString kExportCaption = QStringLiteral("データーエクスポート");
const QString kImportErrorCaption = QStringLiteral("インポートエラー");

// path with the extension of its file name replaced by extension (added when none).
QString WithExtension(const QString& path, const QString& extension) {
  const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
  const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
  return (dot > slash ? path.left(dot) : path) + extension;
}

}  // namespace

QString ExportPath(const QString& chosen) {
  return WithExtension(chosen, QStringLiteral(".csv"));
}

QString ImportPath(const QString& chosen) {
  const QString exact = WithExtension(chosen, QStringLiteral(".CSV"));
  const QFileInfo info(exact);
  if (info.exists()) return exact;
  // A case-sensitive file system: the export wrote ".csv". Only the extension's
  // letter case may differ.
  const QString base = WithExtension(info.fileName(), QString());
  const QDir folder = info.dir();
  for (const QString& name : folder.entryList(QDir::Files | QDir::System | QDir::Hidden)) {
    if (name.size() == info.fileName().size() && name.startsWith(base) &&
        name.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
      return folder.filePath(name);
  }
  return exact;
}

bool ExportGrid(const TGridStore& grid, const QString& folder, QPoint dialogAt) {
  const QString chosen =
      Dialogs().SaveFileName(nullptr, QStringLiteral("エクスポートするファイルの指定"), folder,
                             QStringLiteral("すべてのファイル(*.*)|*.*"));
  if (chosen.isEmpty()) return false;
  const QString path = ExportPath(chosen);
  // The chooser asks nothing, and the file written may not be the one chosen.
  if (QFileInfo::exists(path) &&
      AskAt(dialogAt,
            QStringLiteral("\"") + path + QStringLiteral("\" は既にあります。\r\r上書きしますか？"),
            kExportCaption, mbYes | mbNo, TMsgType::Confirmation) != mrYes)
    return false;
  try {
    TGridTextSource source(grid);
    SaveToTextFile(source, path.toStdString());
  } catch (const std::exception& error) {
    AskAt(dialogAt, QString::fromStdString(error.what()), kExportCaption, mbOK, TMsgType::Error);
    return false;
  }
  AskAt(dialogAt,
        QStringLiteral("\"") + path + QStringLiteral("\" に\r\rデーターをエクスポートしました"),
        kExportCaption, mbOK, TMsgType::Information);
  return true;
}

bool ImportFile(const QString& folder, QPoint dialogAt, const TImportWindow& window) {
  AskAt(dialogAt, QStringLiteral("インポートすると編集中のデーターは上書きされます。"),
        QStringLiteral("データーインポート"), mbOK, TMsgType::Information);
  const QString chosen =
      Dialogs().OpenFileName(nullptr, QStringLiteral("インポートするファイルの指定"), folder,
                             QStringLiteral("カンマ区切り形式ファイル(*.CSV)|*.csv"));
  if (chosen.isEmpty()) return false;
  const QString path = ImportPath(chosen);
  const std::string native = QFile::encodeName(path).toStdString();
  TLaunchList list;
  QString problem;
  try {
    list.Loaded = list.LoadFromTextFile(native);
    if (!list.Loaded) problem = QStringLiteral("ファイル形式が正しくない為インポートできません。");
  } catch (const std::exception& error) {
    problem = QString::fromStdString(error.what());
  }
  // Read as CP932, UTF-8 text would come in as other characters.
  if (IsUtf8DataFile(list, native))
    problem = QStringLiteral("\"") + path + QStringLiteral("\" は ") +
              QString::fromUtf8(msg::kNotShiftJis) + QStringLiteral("。");
  if (!problem.isEmpty()) {
    AskAt(dialogAt, problem, kImportErrorCaption, mbOK, TMsgType::Error);
    return false;
  }
  if (window.hide) window.hide();
  if (window.fill) window.fill(list, path);
  if (window.show) window.show();
  return true;
}
