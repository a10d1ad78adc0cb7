#include "DataFileSave.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <future>

#include "Backups.h"
#include "DataFileCommands.h"
#include "LaunchErrors.h"
#include "MessageBox.h"
#include "Progress.h"
#include "StateFolder.h"

namespace {

const QString kChangedCaption = QStringLiteral("データーファイルの変更");
const QString kSaveErrorCaption = QStringLiteral("保存エラー");

int Ask(const TSaveSession& s, const QString& text, const QString& caption, unsigned buttons,
        TMsgType type) {
  return ShowMessageAt(text, caption, buttons, type, s.DialogAt.x(), s.DialogAt.y());
}

std::string Native(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

QString Quoted(const QString& path) {
  return QStringLiteral("\"") + path + QStringLiteral("\"");
}

// Whether the data file may be written in place because its folder alone refuses a
// new file: the file exists and may be written, the folder may not.
bool OnlyTheFolderRefuses(const TSaveSession& s, const std::string& native) {
  if (!FileExists(native)) return false;
  const int err = s.ReplaceBeside ? s.ReplaceBeside(native) : ReplaceBesideProblem(native);
  if (err != EACCES && err != EPERM) return false;
  return ::access(native.c_str(), W_OK) == 0;
}

// Asks whether to write the file in place and keeps its old bytes in the state folder
// first. Returns the copy's path, or an empty string when the user or the copy says no.
QString OfferWriteInPlace(const TSaveSession& s) {
  const QString folder = QFileInfo(s.FileName).absolutePath();
  const QString copies = StatePathFor(s.FileName, QStringLiteral(".backup"));
  const QString text =
      QStringLiteral("フォルダー ") + Quoted(folder) +
      QStringLiteral(
          " に書き込めないため、新しいファイルを作って置き換えることができません。"
          "\r\rデーターファイルに直接書き込みますか？\r\r今のファイルの内容は先に ") +
      Quoted(copies) + QStringLiteral(" に残します。");
  if (Ask(s, text, QStringLiteral("保存の確認"), mbYes | mbNo, TMsgType::Confirmation) != mrYes)
    return {};
  QString problem = MakeStateFolder();
  TBackupResult kept;
  if (problem.isEmpty()) {
    kept = MakeBackupIn(s.FileName, copies);
    problem = kept.Failure;
  }
  if (!problem.isEmpty() || kept.Path.isEmpty()) {
    Ask(s, QStringLiteral("今のファイルの内容を残せないため、直接書き込みません。\r\r") + problem,
        kSaveErrorCaption, mbOK, TMsgType::Error);
    return {};
  }
  return kept.Path;
}

// The question's text for check.
QString OutsideChangeText(const QString& fileName, const TDiskCheck& check) {
  QString text = QStringLiteral("データーファイルが他のプログラムによって変更されています。\r\r") +
                 Quoted(fileName) + QStringLiteral("\r\r");
  switch (check.Change) {
    case TDiskChange::Gone:
      return text + QStringLiteral(
                        "ファイルは削除されたか、名前が変更されています。\r\r"
                        "「はい」: 編集中のデーターで作り直します\r"
                        "「キャンセル」: 保存しません");
    case TDiskChange::Unreadable:
      return text + QStringLiteral("今のファイルはデーターファイルとして読み込めません。\r") +
             check.Problem +
             QStringLiteral(
                 "\r\r「はい」: 編集中のデーターで上書きします\r"
                 "「キャンセル」: 保存しません");
    default:
      return text + QStringLiteral(
                        "「はい」: 編集中のデーターで上書きします\r"
                        "「いいえ」: ファイルを読み込み直します (「元に戻す」で"
                        "編集中のデーターに戻せます)\r"
                        "「キャンセル」: 保存しません");
  }
}

}  // namespace

bool TakeInUnasked(TSaveSession& s, const TDiskCheck& check) {
  switch (check.Change) {
    case TDiskChange::Unchanged:
      s.Baseline.Stamp = check.Stamp;
      return true;
    case TDiskChange::UseCountsOnly: {
      TDataFingerprint theirs = FingerprintOf(*check.List);
      TTextRewrites rewrites;
      MergeUseCounts(s.Grid, s.Baseline.Data, theirs, &rewrites);
      s.Baseline = {check.Stamp, std::move(theirs)};
      if (s.CountsMerged && !rewrites.empty()) s.CountsMerged(rewrites);
      return true;
    }
    default:
      return false;
  }
}

TSaveResult AskAboutOutsideChange(TSaveSession& s, const TDiskCheck& check) {
  const bool canReload = check.Change == TDiskChange::Changed && check.List && s.Reload;
  const unsigned buttons = mbYes | mbCancel | (canReload ? mbNo : 0u);
  const int answer =
      Ask(s, OutsideChangeText(s.FileName, check), kChangedCaption, buttons, TMsgType::Warning);
  if (answer == mrYes) return TSaveResult::Saved;
  if (answer != mrNo || !canReload) return TSaveResult::NotSaved;
  s.Reload(*check.List);
  s.Baseline = {check.Stamp, FingerprintOf(*check.List)};
  return TSaveResult::Reloaded;
}

TSaveResult SaveDataFile(TSaveSession& s) {
  const TDiskCheck check = CheckDataFile(s.Baseline, s.FileName);
  if (!TakeInUnasked(s, check)) {
    const TSaveResult answer = AskAboutOutsideChange(s, check);
    if (answer != TSaveResult::Saved) return answer;
  }
  return WriteDataFile(s) ? TSaveResult::Saved : TSaveResult::NotSaved;
}

bool WriteDataFile(TSaveSession& s) {
  const std::string native = Native(s.FileName);
  TTextFileWrite how;
  QString note;
  if (OnlyTheFolderRefuses(s, native)) {
    const QString kept = OfferWriteInPlace(s);
    if (kept.isEmpty()) return false;
    how.inPlace = true;
    note = QStringLiteral(
               "フォルダーに書き込めないため、データーファイルに直接書き込みました。"
               "\r前の内容は ") +
           Quoted(kept) + QStringLiteral(" にあります。");
  } else {
    // The file about to be replaced is kept first; without a backup the save asks.
    const TBackupResult backup = MakeBackup(s.FileName);
    if (!backup.Failure.isEmpty() &&
        Ask(s,
            QStringLiteral("バックアップを作れません。\r\r") + backup.Failure +
                QStringLiteral("\r\rバックアップなしで保存しますか？"),
            QStringLiteral("保存の確認"), mbYes | mbNo, TMsgType::Warning) != mrYes)
      return false;
    note = backup.Note;
  }

  ShowProgress(0, QStringLiteral("データーファイル保存中..."), false);
  QCoreApplication::processEvents();
  try {
    TLaunchList list;
    GridToLaunchList(s.Grid, list);
    list.SetFileName(native);
    // Taken on another core while this one writes (both only read the list).
    std::future<TDataFingerprint> written =
        std::async(std::launch::async, [&list] { return FingerprintOf(list); });
    const TFileStamp stamp = SaveToTextFile(list, native, how);
    s.Baseline = {stamp, written.get()};
  } catch (const std::exception& error) {
    CloseProgress();
    Ask(s, QString::fromStdString(error.what()), kSaveErrorCaption, mbOK, TMsgType::Error);
    return false;
  }
  FinishProgress(QStringLiteral("[保存完了] 編集したデーターを保存しました"));
  // The box has one short line: a note of its own is read whole in a message box.
  if (!note.isEmpty()) Ask(s, note, QStringLiteral("保存完了"), mbOK, TMsgType::Information);
  return true;
}

TSaveResult SaveWithQuestion(TSaveSession& s) {
  const QString text = QStringLiteral("編集したデーターを \" ") + s.FileName +
                       QStringLiteral(" \" に\r\r上書き保存しますか？");
  if (Ask(s, text, QStringLiteral("上書き保存の確認"), mbYes | mbNo, TMsgType::Plain) != mrYes)
    return TSaveResult::NotSaved;
  return SaveDataFile(s);
}

TCloseAnswer CloseQuery(TSaveSession& s, const TCloseWindow& window) {
  const int answer =
      Ask(s, QStringLiteral("編集したデーターを保存しますか？"), QStringLiteral("保存の確認"),
          mbYes | mbNo | mbCancel, TMsgType::Confirmation);
  if (answer == mrNo) return TCloseAnswer::Discard;
  if (answer != mrYes) return TCloseAnswer::Stay;
  if (window.hide) window.hide();
  if (SaveDataFile(s) == TSaveResult::Saved) return TCloseAnswer::Close;
  // Not saved, or reloaded: either way the window shows what it now holds.
  if (window.show) window.show();
  return TCloseAnswer::Stay;
}
