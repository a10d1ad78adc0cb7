#include "DataFileSave.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <future>

#include "Backups.h"
#include "DataFileCommands.h"
#include "GridTextSource.h"
#include "InPlaceWriteMarker.h"
#include "LaunchErrors.h"
#include "Progress.h"
#include "StateFolder.h"

namespace {

const QString kChangedCaption = QStringLiteral("データーファイルの変更");
const QString kSaveErrorCaption = QStringLiteral("保存エラー");

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
  if (s.Ask(text, QStringLiteral("保存の確認"), mbYes | mbNo, TMsgType::Confirmation) != mrYes)
    return {};
  QString problem = MakeStateFolder();
  TBackupResult kept;
  if (problem.isEmpty()) {
    kept = MakeBackupIn(s.FileName, copies);
    problem = kept.Failure;
  }
  if (!problem.isEmpty() || kept.Path.isEmpty()) {
    s.Ask(QStringLiteral("今のファイルの内容を残せないため、直接書き込みません。\r\r") + problem,
          kSaveErrorCaption, mbOK, TMsgType::Error);
    return {};
  }
  return kept.Path;
}

// The question's text for check, with the answers of buttons.
QString OutsideChangeText(const QString& fileName, const TDiskCheck& check, unsigned buttons) {
  QString text = QStringLiteral("データーファイルが他のプログラムによって変更されています。\r\r") +
                 Quoted(fileName) + QStringLiteral("\r\r");
  // A link put in the file's place sends the bytes elsewhere: the answer must know where.
  if (check.IsLink)
    text += QStringLiteral("この名前はシンボリックリンクになっています。上書きすると ") +
            Quoted(QFileInfo(fileName).canonicalFilePath().isEmpty()
                       ? QFileInfo(fileName).symLinkTarget()
                       : QFileInfo(fileName).canonicalFilePath()) +
            QStringLiteral(" に書き込みます。\r\r");
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
      text += QStringLiteral(
          "「はい」: 編集中のデーターで上書きします\r"
          "「いいえ」: ファイルを読み込み直します (「元に戻す」で"
          "編集中のデーターに戻せます)\r");
      if (buttons & mbMerge)
        text += QStringLiteral(
            "「マージ」: ファイルの変更を編集中のデーターに取り込みます (保存はしません。"
            "「元に戻す」で編集中のデーターに戻せます)\r");
      if (buttons & mbDiff)
        text += QStringLiteral("「差分を表示」: 編集中のデーターとファイルの違いを一覧します\r");
      return text + QStringLiteral("「キャンセル」: 保存しません");
  }
}

}  // namespace

bool TakeInUnasked(TSaveSession& s, const TDiskCheck& check) {
  return TakeInUnasked(s, check, s.Baseline);
}

bool TakeInUnasked(TSaveSession& s, const TDiskCheck& check, TFileBaseline& base) {
  switch (check.Change) {
    case TDiskChange::Unchanged:
      base.Stamp = check.Stamp;
      base.StampTakenNs = check.StampTakenNs;
      base.IsLink = check.IsLink;
      return true;
    case TDiskChange::UseCountsOnly: {
      TDataFingerprint theirs = FingerprintOf(*check.List);
      TCountRewrites rewrites;
      MergeUseCounts(s.Grid, base.Data, theirs, &rewrites);
      base = {check.Stamp, std::move(theirs), check.StampTakenNs, check.IsLink};
      if (s.CountsMerged && !rewrites.empty()) s.CountsMerged(rewrites);
      return true;
    }
    default:
      return false;
  }
}

TSaveResult AskAboutOutsideChange(TSaveSession& s, const TDiskCheck& check) {
  const bool canReload = check.Change == TDiskChange::Changed && check.List && s.Reload;
  const unsigned buttons = mbYes | mbCancel | (canReload ? mbNo : 0u) |
                           (canReload && s.Merge ? mbMerge : 0u) |
                           (canReload && s.ShowDifferences ? mbDiff : 0u);
  for (;;) {
    const int answer = s.Ask(OutsideChangeText(s.FileName, check, buttons), kChangedCaption,
                             buttons, TMsgType::Warning);
    if (answer == mrYes) return TSaveResult::Saved;
    if (answer == mrDiff && (buttons & mbDiff)) {
      s.ShowDifferences(*check.List);
      continue;
    }
    if (answer == mrMerge && (buttons & mbMerge)) {
      if (!s.Merge(check.List)) continue;  // given up in its conflicts: asked again
    } else if (answer == mrNo && canReload) {
      s.Reload(*check.List);
    } else {
      return TSaveResult::NotSaved;
    }
    s.Baseline = {check.Stamp, FingerprintOf(*check.List), check.StampTakenNs, check.IsLink};
    return answer == mrNo ? TSaveResult::Reloaded : TSaveResult::Merged;
  }
}

namespace {

// What a save writes over: the file as the grid last matched it (the counts of any
// launcher write since taken in), or the file the user agreed to overwrite.
struct TAgreedFile {
  TFileBaseline File;
  bool IsBaseline = true;  // the session's baseline follows it
};

// Looks at the file against what the save agreed to write over: the launcher's counts
// are taken in, any other change is asked about. Returns Saved when the save may go on
// writing.
TSaveResult LookBeforeWriting(TSaveSession& s, TAgreedFile& agreed) {
  const TDiskCheck check = CheckDataFileSettled(agreed.File, s.FileName);
  if (TakeInUnasked(s, check, agreed.File)) {
    if (agreed.IsBaseline) s.Baseline = agreed.File;
    return TSaveResult::Saved;
  }
  const TSaveResult answer = AskAboutOutsideChange(s, check);
  if (answer == TSaveResult::Saved) {
    agreed.File = {check.Stamp, check.List ? FingerprintOf(*check.List) : TDataFingerprint(),
                   check.StampTakenNs, check.IsLink};
    agreed.IsBaseline = false;
  }
  return answer;
}

// How the grid is written: replacing the file (after a backup was kept, or the user
// agreed to save without one), or into the file itself (after its old bytes were kept).
struct TWritePlan {
  bool InPlace = false;
  QString Note;  // told once the file was written
};

// Keeps the old file first (or asks when it cannot), or offers a write in place when
// the folder cannot be written. false: nothing is to be written.
bool PlanWrite(TSaveSession& s, TWritePlan& plan) {
  const std::string native = Native(s.FileName);
  if (OnlyTheFolderRefuses(s, native)) {
    const QString kept = OfferWriteInPlace(s);
    if (kept.isEmpty()) return false;
    // Until the write is done, the next open can tell a file it cut off.
    if (const QString problem = MarkInPlaceWrite(s.FileName, kept); !problem.isEmpty()) {
      s.Ask(QStringLiteral("直接書き込みません。\r\r") + problem, kSaveErrorCaption, mbOK,
            TMsgType::Error);
      return false;
    }
    plan.InPlace = true;
    plan.Note = QStringLiteral(
                    "フォルダーに書き込めないため、データーファイルに直接書き込みました。"
                    "\r前の内容は ") +
                Quoted(kept) + QStringLiteral(" にあります。");
    return true;
  }
  // The file about to be replaced is kept first; without a backup the save asks.
  const TBackupResult backup = MakeBackup(s.FileName);
  if (!backup.Failure.isEmpty() &&
      s.Ask(QStringLiteral("バックアップを作れません。\r\r") + backup.Failure +
                QStringLiteral("\r\rバックアップなしで保存しますか？"),
            QStringLiteral("保存の確認"), mbYes | mbNo, TMsgType::Warning) != mrYes)
    return false;
  plan.Note = backup.Note;
  return true;
}

enum class TWriteOutcome { Written, Failed, Moved };

// Writes the grid once. The file is looked at again just before it is replaced (or
// written into): when it is no longer what the save agreed to write over, nothing is
// written and the outcome is Moved.
TWriteOutcome WriteOnce(TSaveSession& s, const TAgreedFile& agreed, const TWritePlan& plan) {
  const std::string native = Native(s.FileName);
  const auto unmoved = [&] {
    // A new stamp is never passed on its data alone: a writer writing into the file may
    // have been read half way, its changes not yet there. The look before the next try
    // takes the stamp in, and reads the file again when a tick may have hidden a write.
    bool same = false;
    {
      const TDiskCheck now = CheckDataFile(agreed.File, s.FileName);
      same = now.Stamp == agreed.File.Stamp && now.IsLink == agreed.File.IsLink &&
             (now.Change == TDiskChange::Unchanged || now.Change == TDiskChange::Unreadable);
    }
    // Once more, with what was read let go: nothing but the rename comes after this look.
    return same && StampOf(native) == agreed.File.Stamp;
  };
  TTextFileWrite how;
  how.inPlace = plan.InPlace;
  how.beforeReplace = unmoved;
  // Between the last look and the rename another program may still have written the
  // file: what the rename took the place of is looked at, and put back unless agreed.
  how.replaced = [&agreed](const std::string& replaced) {
    return StampOf(replaced) == agreed.File.Stamp;
  };
  try {
    // Written from the cells, one button at a time: the grid is never held twice.
    const TGridSnapshot grid = s.Grid.Snapshot();
    TGridTextSource source(grid);
    // Taken on another core while this one writes (both only read the snapshot).
    std::future<TDataFingerprint> written = std::async(std::launch::async, [&grid] {
      TGridTextSource again(grid);
      return FingerprintOf(again);
    });
    const TFileStamp stamp = SaveToTextFile(source, native, how);
    // Written whole, or not begun: no damaged file to tell of at the next open. After
    // a failure part way the marker stays.
    if (plan.InPlace) ClearInPlaceWrite(s.FileName);
    if (!stamp.exists) return TWriteOutcome::Moved;
    s.Baseline = {stamp, written.get(), RealTimeNs(), IsSymbolicLink(s.FileName)};
  } catch (const std::exception& error) {
    CloseProgress();
    s.Ask(QString::fromStdString(error.what()), kSaveErrorCaption, mbOK, TMsgType::Error);
    return TWriteOutcome::Failed;
  }
  if (s.Written) s.Written();
  return TWriteOutcome::Written;
}

// Writes the grid over agreed, looking again and again until the file stood still
// from the look to the rename.
TSaveResult WriteAgreed(TSaveSession& s, TAgreedFile& agreed) {
  TWritePlan plan;
  if (!PlanWrite(s, plan)) return TSaveResult::NotSaved;
  ShowProgress(0, QStringLiteral("データーファイル保存中..."), false);
  QCoreApplication::processEvents();
  constexpr int kMostTries = 100;  // a file rewritten without a pause must not hang the save
  for (int tries = 1;; ++tries) {
    const TWriteOutcome outcome = WriteOnce(s, agreed, plan);
    if (outcome == TWriteOutcome::Failed) return TSaveResult::NotSaved;
    if (outcome == TWriteOutcome::Written) break;
    if (tries == kMostTries) {
      CloseProgress();
      s.Ask(QStringLiteral("データーファイルが他のプログラムによって書き換え続けられているため、"
                           "保存できません。\r\r") +
                Quoted(s.FileName),
            kSaveErrorCaption, mbOK, TMsgType::Error);
      return TSaveResult::NotSaved;
    }
    // Moved between the look and the write: the launcher's counts come in, anything
    // else is asked about again.
    const TSaveResult answer = LookBeforeWriting(s, agreed);
    if (answer != TSaveResult::Saved) {
      CloseProgress();
      return answer;
    }
  }
  FinishProgress(QStringLiteral("[保存完了] 編集したデーターを保存しました"));
  // The box has one short line: a note of its own is read whole in a message box.
  if (!plan.Note.isEmpty())
    s.Ask(plan.Note, QStringLiteral("保存完了"), mbOK, TMsgType::Information);
  return TSaveResult::Saved;
}

}  // namespace

TSaveResult SaveDataFile(TSaveSession& s) {
  TAgreedFile agreed{s.Baseline};
  if (const TSaveResult answer = LookBeforeWriting(s, agreed); answer != TSaveResult::Saved)
    return answer;
  return WriteAgreed(s, agreed);
}

bool WriteDataFile(TSaveSession& s) {
  // Whatever the file holds now is what the caller agreed to write over.
  const TDiskCheck now = CheckDataFileSettled(TFileBaseline(), s.FileName);
  TAgreedFile agreed{{now.Stamp, now.List ? FingerprintOf(*now.List) : TDataFingerprint(),
                      now.StampTakenNs, now.IsLink},
                     false};
  return WriteAgreed(s, agreed) == TSaveResult::Saved;
}

TSaveResult SaveWithQuestion(TSaveSession& s) {
  const QString text = QStringLiteral("編集したデーターを \" ") + s.FileName +
                       QStringLiteral(" \" に\r\r上書き保存しますか？");
  if (s.Ask(text, QStringLiteral("上書き保存の確認"), mbYes | mbNo, TMsgType::Plain) != mrYes)
    return TSaveResult::NotSaved;
  return SaveDataFile(s);
}

TCloseAnswer CloseQuery(TSaveSession& s, const TCloseWindow& window) {
  const int answer =
      s.Ask(QStringLiteral("編集したデーターを保存しますか？"), QStringLiteral("保存の確認"),
            mbYes | mbNo | mbCancel, TMsgType::Confirmation);
  if (answer == mrNo) return TCloseAnswer::Discard;
  if (answer != mrYes) return TCloseAnswer::Stay;
  if (window.hide) window.hide();
  if (SaveDataFile(s) == TSaveResult::Saved) return TCloseAnswer::Close;
  // Not saved, or reloaded: either way the window shows what it now holds.
  if (window.show) window.show();
  return TCloseAnswer::Stay;
}
