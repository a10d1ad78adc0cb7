// The File menu's files: opening another data file (the chooser or the recent files)
// and saving under another name. Either way the window then works on that file.
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <future>

#include "DataFileRead.h"
#include "DataFileSave.h"
#include "Dialogs.h"
#include "EditorStart.h"
#include "FileChangedBar.h"
#include "FreedMemory.h"
#include "GridView.h"
#include "MainWindow.h"
#include "MessageBox.h"
#include "Progress.h"
#include "RecentFiles.h"
#include "RecoveryGuard.h"
#include "StartupLogic.h"
#include "TextFormat.h"

namespace {

bool SameFile(const QString& a, const QString& b) {
  const QFileInfo first(a);
  const QFileInfo second(b);
  return first.exists() && second.exists() ? first == second
                                           : first.absoluteFilePath() == second.absoluteFilePath();
}

}  // namespace

void TMainWindow::ShowDataFile(std::unique_ptr<TLaunchList> list, const TFileStamp& stamp) {
  // The fingerprint of what was loaded is taken on another core while this one fills
  // the grid; both only read the list.
  std::future<TDataFingerprint> loaded =
      std::async(std::launch::async, [l = list.get()] { return FingerprintOf(*l); });
  FillGrid(*list);
  MergeBase_.KeepGrid(store_);
  // A damaged file is not what the grid holds: unsaved from the start.
  if (WarnOfDamage(*list)) Undo_.resetClean();
  Baseline_ = {stamp, loaded.get(), RealTimeNs(), IsSymbolicLink(SaveFileName)};
  // What saves killed part way left beside the file.
  RemoveStaleTemporaries(QFile::encodeName(SaveFileName).toStdString());
  list.reset();
  WatchDataFile();
  UpdateWindowTitle();
  RememberRecentFile(SaveFileName);
  ReturnFreedMemory();  // what reading the file took beside the grid
}

void TMainWindow::ShowLoadingBox() {
  // A large file takes a while to read: the box shows before, not after.
  ShowProgress(0, ShownText(LoadingMessage()), false);
  StepProgress(0, ShownText(LoadingMessage()));
}

void TMainWindow::mnOpenClick() {
  const QString chosen = Dialogs().OpenFileName(this, QStringLiteral("データーファイルを開く"),
                                                DataFolder(), DataFileFilter());
  if (!chosen.isEmpty()) OpenDataFile(chosen);
}

bool TMainWindow::OpenDataFile(const QString& path) {
  const TReturnFreedMemory freed;  // what the work below frees goes back
  if (!Undo_.isClean()) {
    TSaveSession session = SaveSession();
    const TCloseAnswer answer = CloseQuery(session, {});
    if (answer == TCloseAnswer::Stay) return false;
    if (answer == TCloseAnswer::Close) MarkSaved();
  }
  // Taken before the file is read: a change made while it is read is found later.
  const TFileStamp stamp = StampOf(QFile::encodeName(path).toStdString());
  auto list = std::make_unique<TLaunchList>();
  ShowLoadingBox();
  const QString problem = OpenListProblem(path, *list);
  if (!problem.isEmpty()) {
    CloseProgress();
    // The grid stays as it was, edits and recovery copy included.
    if (!QFileInfo::exists(path)) ForgetRecentFile(QFileInfo(path).absoluteFilePath());
    ShowMessageAt(CannotOpenText(path, problem), QStringLiteral("データーファイルを開く"), mbOK,
                  TMsgType::Error, DialogAt().x(), DialogAt().y());
    return false;
  }
  // What a close does for the file left: its window size is kept, its recovery copy
  // goes (its edits were saved or given up just now).
  SaveWindowSize(IniFile(), frameGeometry().size());
  Undo_.clear();
  Recovery_->Settle();
  StopWatching();
  DataFileName = path;
  ShowDataFile(std::move(list), stamp);
  Finder_.Invalidate();
  Grid_->PlaceCurrent(1, 1);
  Grid_->viewport()->update();
  UpdateTitle();
  OfferRecoveryCopy();
  return true;
}

void TMainWindow::mnSaveAsClick() {
  const QString chosen = Dialogs().SaveFileName(this, QStringLiteral("名前を付けて保存"),
                                                DataFolder(), DataFileFilter());
  if (chosen.isEmpty()) return;
  // A new name typed without an extension gets the data file's, as the filter shows.
  const QFileInfo info(chosen);
  const bool bare = info.suffix().isEmpty() && !info.exists();
  SaveDataFileAs(bare ? chosen + QStringLiteral(".lst") : chosen);
}

bool TMainWindow::SaveDataFileAs(const QString& path) {
  const TReturnFreedMemory freed;  // what the work below frees goes back
  const QPoint at = DialogAt();
  if (SameFile(path, SaveFileName)) {
    // The data file itself: a save, which looks at what the launcher wrote first.
    TSaveSession session = SaveSession();
    const bool saved = SaveDataFile(session) == TSaveResult::Saved;
    if (saved) MarkSaved();
    return saved;
  }
  // The chooser asks nothing.
  if (QFileInfo::exists(path) &&
      ShowMessageAt(
          QStringLiteral("\"") + path + QStringLiteral("\" は既にあります。\r\r上書きしますか？"),
          QStringLiteral("名前を付けて保存"), mbYes | mbNo, TMsgType::Confirmation, at.x(),
          at.y()) != mrYes)
    return false;
  TFileBaseline written;
  TSaveSession session(store_, path, written);
  session.DialogAt = at;
  session.Written = [this] {
    WrittenAt_ = Undo_.index();
    MergeBase_.KeepGrid(store_);
  };
  if (!WriteDataFile(session)) return false;
  // The old file's copy goes with the old name; the new file holds every edit.
  Recovery_->Settle();
  StopWatching();
  SaveFileName = DataFileName = path;
  Baseline_ = std::move(written);
  MarkSaved();
  UpdateWindowTitle();
  RememberRecentFile(path);
  return true;
}

void TMainWindow::FillRecentMenu() {
  RecentMenu->clear();
  const QStringList files = RecentFiles();
  for (int i = 0; i < files.size(); ++i) {
    QString shown = files[i];
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    QAction* item = RecentMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
    connect(item, &QAction::triggered, this, [this, path = files[i]] { OpenDataFile(path); });
  }
  if (files.isEmpty()) RecentMenu->addAction(QStringLiteral("(なし)"))->setEnabled(false);
  RecentMenu->addSeparator();
  QAction* clear = RecentMenu->addAction(QStringLiteral("一覧を消去(&C)"));
  clear->setEnabled(!files.isEmpty());
  connect(clear, &QAction::triggered, this, [] { ClearRecentFiles(); });
}
