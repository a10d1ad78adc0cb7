// What keeps the main window from losing data: the file shared with the launcher is
// watched (its use counts taken in, any other change told in a notice), every save
// looks at it first, and unsaved edits are kept in a recovery copy.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>
#include <algorithm>

#include "DataFileCommands.h"
#include "DataFileSave.h"
#include "FileChangedBar.h"
#include "FreedMemory.h"
#include "GridView.h"
#include "InPlaceWriteMarker.h"
#include "ListDiffDialog.h"
#include "MainWindow.h"
#include "MessageBox.h"
#include "ModalRun.h"
#include "Progress.h"
#include "RecoveryCopy.h"
#include "RecoveryGuard.h"

namespace {

// The launcher's write may still be going on when the watcher tells of it.
constexpr int kSettleMs = 300;
constexpr qint64 kLongestWaitMs = 2000;
constexpr int kBusyRetryMs = 1000;
// A file found half written is looked at again this many times before it is told.
constexpr int kUnreadableRetries = 3;

}  // namespace

bool TMainWindow::Busy() const {
  return InStep_ || ProgressBox != nullptr || QApplication::activeModalWidget() != nullptr ||
         QApplication::activePopupWidget() != nullptr;
}

TSaveSession TMainWindow::SaveSession() {
  TSaveSession session(store_, SaveFileName, Baseline_);
  session.DialogAt = DialogAt();
  session.Reload = [this](const TLaunchList& list) { ReloadFromDisk(list); };
  session.ShowDifferences = [this](const TLaunchList& list) { ShowDifferencesFromDisk(list); };
  session.Merge = [this](const std::shared_ptr<TLaunchList>& list) { return MergeFromDisk(list); };
  session.Written = [this] {
    WrittenAt_ = Undo_.index();
    MergeBase_.KeepGrid(store_);
  };
  session.CountsMerged = [this](const TCountRewrites& rewrites) {
    // A step taken back or made again later must not put the old counts back.
    for (int i = 0; i < Undo_.count(); ++i)
      if (auto* step = dynamic_cast<TGridStep*>(const_cast<QUndoCommand*>(Undo_.command(i))))
        step->RewriteTexts([&rewrites](std::string_view text) { return rewrites.Rewrite(text); });
    Grid_->viewport()->update();
    UpdateTitle();  // the title line shows the current button's use count
  };
  return session;
}

void TMainWindow::MarkSaved() {
  ChangedBar_->hide();
  WatchDataFile();  // a new file has the old name now
  // The file holds the grid as it was written, not as it is now: a step made after
  // the write (none should get past the progress box) stays unsaved.
  const bool editedSince = WrittenAt_ >= 0 && WrittenAt_ != Undo_.index();
  WrittenAt_ = -1;
  if (editedSince) {
    Undo_.resetClean();
    Recovery_->Changed(true);
    return;
  }
  Undo_.setClean();
  Recovery_->Settle();
}

void TMainWindow::ReloadFromDisk(const TLaunchList& list) {
  const TReturnFreedMemory freed;  // what the work below frees goes back
  const bool damaged = ReplaceGridData(QStringLiteral("データーファイルの読み込み直し"), list);
  MergeBase_.KeepGrid(store_);
  MarkSaved();  // the grid is the file again; undo brings the edits back
  if (damaged) Undo_.resetClean();
}

bool TMainWindow::MergeFromDisk(const std::shared_ptr<TLaunchList>& theirs) {
  const TReturnFreedMemory freed;  // what the work below frees goes back
  const TLaunchList base = MergeBase_.List(Baseline_.Data);
  // The merge borrows the grid's texts, which the replace below lets go of: the
  // snapshot keeps them until it is done.
  const TGridSnapshot grid = store_.Snapshot();
  TLaunchList ours;
  GridToLaunchList(grid, ours);
  TListDiffDialog dialog(this);
  dialog.move(DialogAt());
  dialog.ShowMerge(base, ours, *theirs);
  // A merge without a conflict has nothing to ask: undo takes it back.
  if (!dialog.Merge().Conflicts.empty() && ExecModal(dialog) != QDialog::Accepted) return false;
  // Without edits of the user's the merge is the file: saved, as after a reload.
  const bool isTheFile = FingerprintOf(dialog.Merge().Merged) == FingerprintOf(*theirs);
  ReplaceGridData(QStringLiteral("データーファイルの変更のマージ"), dialog.Merge().Merged);
  if (isTheFile) {
    MergeBase_.KeepGrid(store_);
    MarkSaved();
    return true;
  }
  // The file is the base of the next merge; the grid holds edits it does not have.
  MergeBase_.KeepFile(theirs);
  Undo_.resetClean();
  Recovery_->Changed(true);
  ChangedBar_->hide();
  WatchDataFile();
  UpdateWindowTitle();
  return true;
}

void TMainWindow::ShowDifferencesFromDisk(const TLaunchList& theirs) {
  TLaunchList grid;
  GridToLaunchList(store_, grid);
  TListDiffDialog dialog(this);
  dialog.move(DialogAt());
  dialog.ShowDifferences(grid, theirs);
  ExecModal(dialog);
}

void TMainWindow::SetUpDataSafety() {
  // Both follow SaveFileName, whichever file the window holds.
  Recovery_ = std::make_unique<TRecoveryGuard>(
      [this]() -> TRecoveryGuard::TCopyWrite {
        // The grid as it is now, read on another thread while editing goes on.
        auto grid = std::make_shared<const TGridSnapshot>(store_.Snapshot());
        return [grid, file = SaveFileName](const std::atomic<bool>& stop) {
          return WriteRecoveryCopy(*grid, file, &stop);
        };
      },
      [this] { RemoveRecoveryCopy(SaveFileName); },
      [this](const QString& problem) { TellCopyProblem(problem); });
  // A command waiting for an answer has not changed the grid yet: a copy of it is whole.
  Recovery_->SetHalfChanged([this] { return store_.HasJournalledChanges(); });
  connect(&Undo_, &QUndoStack::indexChanged, this,
          [this] { Recovery_->Changed(!Undo_.isClean()); });

  Watcher_ = new QFileSystemWatcher(this);
  DiskCheckTimer_ = new QTimer(this);
  DiskCheckTimer_->setSingleShot(true);
  connect(DiskCheckTimer_, &QTimer::timeout, this, &TMainWindow::CheckDataFileNow);
  connect(Watcher_, &QFileSystemWatcher::fileChanged, this, &TMainWindow::DataFileTouched);
  connect(Watcher_, &QFileSystemWatcher::directoryChanged, this, &TMainWindow::DataFileTouched);
  connect(ChangedBar_, &TFileChangedBar::OverwriteRequested, this,
          &TMainWindow::OverwriteChangedFile);
  connect(ChangedBar_, &TFileChangedBar::DiffRequested, this, [this] {
    const TDiskCheck check = CheckDataFile(Baseline_, SaveFileName);
    if (check.List && check.Change == TDiskChange::Changed)
      ShowDifferencesFromDisk(*check.List);
    else
      CheckDataFileNow();  // what the file is now is told anew
  });
  connect(ChangedBar_, &TFileChangedBar::MergeRequested, this, [this] {
    const TDiskCheck check = CheckDataFile(Baseline_, SaveFileName);
    if (!check.List || check.Change != TDiskChange::Changed) {
      ChangedBar_->hide();
      CheckDataFileNow();
    } else if (MergeFromDisk(check.List)) {
      Baseline_ = {check.Stamp, FingerprintOf(*check.List), check.StampTakenNs, check.IsLink};
    }
  });
  connect(ChangedBar_, &TFileChangedBar::ReloadRequested, this, [this] {
    const TDiskCheck check = CheckDataFile(Baseline_, SaveFileName);
    ChangedBar_->hide();
    if (check.List && check.Change != TDiskChange::Unchanged) {
      ReloadFromDisk(*check.List);
      Baseline_ = {check.Stamp, FingerprintOf(*check.List), check.StampTakenNs, check.IsLink};
    } else {
      CheckDataFileNow();
    }
  });
}

void TMainWindow::TellCopyProblem(const QString& problem) {
  // Once: the guard tries again and again, and the user can do little more than save.
  // A notice of a change of the file is not hidden by it; the next failure tells.
  if (CopyProblemTold_ || ChangedBar_->ShowsChange()) return;
  CopyProblemTold_ = true;
  ChangedBar_->ShowInformation(
      QStringLiteral("復元用データーを保存できません。異常終了すると未保存の編集は失われます。") +
      problem);
}

void TMainWindow::StopWatching() {
  DiskCheckTimer_->stop();
  UnreadableChecks_ = 0;
  const QStringList watched = Watcher_->files() + Watcher_->directories();
  if (!watched.isEmpty()) Watcher_->removePaths(watched);
  ChangedBar_->hide();
}

void TMainWindow::WatchDataFile() {
  if (Watcher_ == nullptr) return;
  // A save, the launcher's or ours, renames a new file over the old name: the watch
  // of the old file ends with it, and the folder tells when the name is back.
  const QString folder = QFileInfo(SaveFileName).absolutePath();
  if (!Watcher_->directories().contains(folder)) Watcher_->addPath(folder);
  if (!Watcher_->files().contains(SaveFileName) && QFileInfo::exists(SaveFileName))
    Watcher_->addPath(SaveFileName);
}

void TMainWindow::DataFileTouched() {
  WatchDataFile();
  // Each touch waits for the writer to settle, but a writer that never pauses must
  // not keep the look away for ever.
  if (!DiskCheckTimer_->isActive()) TouchedSince_.start();
  DiskCheckTimer_->start(
      static_cast<int>(std::clamp<qint64>(kLongestWaitMs - TouchedSince_.elapsed(), 0, kSettleMs)));
}

void TMainWindow::CheckDataFileNow() {
  if (Busy()) {
    // Never a question in the middle of something: look again once it is done.
    DiskCheckTimer_->start(kBusyRetryMs);
    return;
  }
  const TDiskCheck check = CheckDataFile(Baseline_, SaveFileName);
  if (check.Change == TDiskChange::Unreadable && ++UnreadableChecks_ <= kUnreadableRetries) {
    DiskCheckTimer_->start(kBusyRetryMs);
    return;
  }
  UnreadableChecks_ = 0;
  TSaveSession session = SaveSession();
  // The launcher's counts come in without an undo step: they are not an edit.
  if (TakeInUnasked(session, check)) {
    if (ChangedBar_->ShowsChange()) ChangedBar_->hide();
    return;
  }
  ShowOutsideChange(check);
}

void TMainWindow::ShowOutsideChange(const TDiskCheck& check) {
  QString text = QStringLiteral("データーファイルが他のプログラムによって変更されています。");
  if (check.Change == TDiskChange::Gone)
    text += QStringLiteral(" ファイルが見つかりません。");
  else if (check.Change == TDiskChange::Unreadable)
    text += QStringLiteral(" 今のファイルはデーターファイルとして読み込めません。") + check.Problem;
  ChangedBar_->ShowNotice(text, check.Change == TDiskChange::Changed && check.List);
}

void TMainWindow::OverwriteChangedFile() {
  const TReturnFreedMemory freed;  // what the work below frees goes back
  ChangedBar_->hide();
  // The answer to the question a save would ask: the file is written as the grid is.
  TSaveSession session = SaveSession();
  if (WriteDataFile(session)) MarkSaved();
}

void TMainWindow::OfferRecoveryCopy() {
  const QPoint at = DialogAt();
  if (const std::optional<QString> kept = UnfinishedInPlaceWrite(SaveFileName)) {
    ShowMessageAt(QStringLiteral("前回のデーターファイルへの直接書き込みは完了していません。"
                                 "ファイルの内容が壊れているおそれがあります。\r\r\"") +
                      SaveFileName + QStringLiteral("\"\r\r書き込む前の内容は \"") + *kept +
                      QStringLiteral("\" にあります。"),
                  QStringLiteral("データーファイルの確認"), mbOK, TMsgType::Warning, at.x(),
                  at.y());
    ClearInPlaceWrite(SaveFileName);  // told once; the copy stays where it is
  }
  // Every editor that ended unasked left a copy of its own: each is offered in turn,
  // the newest first, until one is taken.
  for (const TRecoveryCopy& copy : FindRecoveryCopies(SaveFileName))
    if (OfferRecoveryCopy(copy)) break;
}

bool TMainWindow::OfferRecoveryCopy(const TRecoveryCopy& copy) {
  TLaunchList list;
  list.SetFileName(SaveFileName.toStdString());
  QString error;
  const bool readable = LoadRecoveryCopy(copy, list, error);
  if (readable && FingerprintOf(list) == Baseline_.Data) {
    DiscardRecoveryCopy(copy);  // nothing the file does not have
    return false;
  }
  const QPoint at = DialogAt();
  if (!readable) {
    ShowMessageAt(error + QStringLiteral("\r\r復元用データーはそのまま残します。"),
                  QStringLiteral("復元用データー"), mbOK, TMsgType::Warning, at.x(), at.y());
    return false;
  }
  QString text =
      QStringLiteral("保存されずに終わった編集データー (復元用データー) があります。\r\r\"") +
      copy.Path + QStringLiteral("\"\r記録日時: ") +
      copy.Written.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")) + QStringLiteral("\r\r");
  if (!copy.NewerThanFile)
    text += QStringLiteral("データーファイルはこの記録の後に更新されています。\r\r");
  text += QStringLiteral(
      "編集データーに読み込みますか？ (「元に戻す」でファイルの内容に戻せます)\r"
      "「いいえ」を選ぶと復元用データーは削除されます。");
  if (ShowMessageAt(text, QStringLiteral("復元用データー"), mbYes | mbNo, TMsgType::Confirmation,
                    at.x(), at.y()) != mrYes) {
    DiscardRecoveryCopy(copy);
    return false;
  }
  ReplaceGridData(QStringLiteral("復元用データーの読み込み"), list);
  // The edits are this editor's now: its own copy holds them before the old one goes.
  if (copy.Path != RecoveryCopyPath(SaveFileName)) {
    Recovery_->WriteNow();
    if (!Recovery_->Behind()) DiscardRecoveryCopy(copy);
  }
  return true;
}
