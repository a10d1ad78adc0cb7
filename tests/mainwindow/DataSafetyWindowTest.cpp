// The real window beside a launcher that rewrites its file: closing with edits asks,
// the launcher's use counts come in while the editor is idle, any other change is told
// in a notice whose reload is one step or whose merge keeps both sides, a recovery copy
// left behind is offered, and a restore lists what it changes and tells of buttons the
// grid cannot hold.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>
#include <functional>
#include <utility>

#include "FileChangedBar.h"
#include "GridRules.h"
#include "GridView.h"
#include "ItemIcons.h"
#include "ListDiffDialog.h"
#include "ListDifferencesModel.h"
#include "ListDifferencesView.h"
#include "MainWindow.h"
#include "RecordText.h"
#include "RecoveryCopy.h"
#include "RecoveryGuard.h"
#include "RestoreDialog.h"
#include "ScriptedDialogs.h"
#include "TestSupport.h"

using testing_support::ReadFile;
using testing_support::TTempDir;

namespace {

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

// Two pages, "a" with two buttons used 3 and 4 times, "b" with one.
TLaunchList Launcher(int firstCount = 3) {
  TLaunchList list;
  list.DeletePage(0);
  list.AddPage("a", 2, 0);
  list.AddPage("b", 1, 0);
  for (int i = 0; i < list.Count(); ++i) {
    list.Get(i).Kind = lkProgram;
    list.Get(i).Title = "t" + std::to_string(i);
    list.Get(i).Link = "/usr/bin/env";
    list.Get(i).UseCount = i + 3;
  }
  list.Get(0).UseCount = firstCount;
  return list;
}

// Scripted questions during which the user (the test) may act.
struct TWaitingDialogs : TScriptedDialogs {
  std::function<void()> WhileOkWaits;  // while the progress box waits for its Ok
  std::function<void()> WhileAsked;    // while a text input waits for its answer
  void WaitForProgressOk() override {
    if (const auto during = std::exchange(WhileOkWaits, nullptr)) during();
    TScriptedDialogs::WaitForProgressOk();
  }
  bool InputText(int x, int y, const QString& caption, QString& text,
                 const QString& prompt) override {
    if (const auto during = std::exchange(WhileAsked, nullptr)) during();
    return TScriptedDialogs::InputText(x, y, caption, text, prompt);
  }
};

// A window on its own data file and state folder, with scripted questions.
struct TEditor {
  TTempDir dir;
  TTempDir state;
  testing_support::TEnvironmentScope stateHome{"XDG_STATE_HOME", state.Path().string()};
  std::string file = dir.File("data.lst");
  TWaitingDialogs dialogs;
  TDialogsScope scope{dialogs};
  std::unique_ptr<TMainWindow> form;

  explicit TEditor(const char* mode = "/F") {
    SaveToTextFile(Launcher(), file);
    Open(mode);
  }
  void Open(const char* mode = "/F") {
    form = std::make_unique<TMainWindow>();
    EXPECT_TRUE(form->FormCreate({"pelledit", mode, Q(file)}));
  }
  // An edit of the user's: a new page "n".
  void Edit() {
    dialogs.PushText(QStringLiteral("n"));
    form->mnPageNewClick();
    ASSERT_TRUE(form->windowTitle().startsWith(QLatin1Char('*')));
  }
  int UseCountAt(int c, int r) const { return UseCountOfText(form->Store().Cell(c, r)); }
  // The row of the page named caption; 0 when there is none.
  int RowOf(const std::string& caption) const {
    for (int r = 1; r < form->Store().RowCount(); ++r)
      if (CaptionOfText(form->Store().Cell(0, r)) == caption) return r;
    return 0;
  }
  const TAskedQuestion& LastQuestion() const { return dialogs.Questions().back(); }
  // Whether a message box of caption was asked.
  bool Asked(const QString& caption) const {
    for (const TAskedQuestion& q : dialogs.Questions())
      if (q.Kind == TQuestionKind::Message && q.Caption == caption) return true;
    return false;
  }
};

}  // namespace

TEST(DataSafety, ClosingWithSlashFAndEditsAsksAndEachAnswerHolds) {
  TEditor e;
  e.form->show();
  const std::size_t asked = e.dialogs.Questions().size();
  EXPECT_TRUE(e.form->close()) << "nothing to save: no question";
  EXPECT_EQ(e.dialogs.Questions().size(), asked);

  e.Open();
  e.form->show();
  e.Edit();
  const std::string before = ReadFile(e.file);
  e.dialogs.PushMessageAnswer(mrCancel);
  EXPECT_FALSE(e.form->close());
  EXPECT_EQ(e.LastQuestion().Text, QStringLiteral("編集したデーターを保存しますか？"));
  EXPECT_EQ(e.LastQuestion().Buttons, unsigned{mbYes | mbNo | mbCancel});
  e.form->Recovery().WriteNow();
  ASSERT_TRUE(FindRecoveryCopy(Q(e.file)));
  e.dialogs.PushMessageAnswer(mrNo);
  EXPECT_TRUE(e.form->close());
  EXPECT_EQ(ReadFile(e.file), before);
  EXPECT_FALSE(FindRecoveryCopy(Q(e.file))) << "given up on purpose";

  e.Open();
  e.form->show();
  e.Edit();
  e.dialogs.PushMessageAnswer(mrYes);
  EXPECT_TRUE(e.form->close());
  EXPECT_EQ(PageCount(e.form->Store()), 3);
  EXPECT_NE(ReadFile(e.file), before);
}

TEST(DataSafety, WhileTheSavesBoxWaitsForOkNoCommandRunsAndOnlyWhatWasWrittenIsSaved) {
  TEditor e;
  e.form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(e.form.get()));
  e.Edit();
  e.dialogs.WhileOkWaits = [&e] {
    // The user clicks the main window and types.
    e.form->activateWindow();
    QApplication::setActiveWindow(e.form.get());
    e.form->Grid().setFocus();
    QTest::keyClick(e.form->windowHandle(), Qt::Key_M, Qt::ControlModifier);
    QTest::keyClick(e.form->windowHandle(), Qt::Key_Z, Qt::ControlModifier);
  };
  e.dialogs.PushMessageAnswer(mrYes);
  e.dialogs.PushText(QStringLiteral("A2"));  // the rename's answer, should it get through
  e.form->mnSave->trigger();
  EXPECT_EQ(e.dialogs.PendingAnswers(), 1) << "the rename ran under the box";
  EXPECT_FALSE(e.form->windowTitle().startsWith(QLatin1Char('*')));
  EXPECT_EQ(PageCount(e.form->Store()), 3) << "the undo ran under the box";

  // A step that gets past the box all the same is not in the file: it stays unsaved.
  e.dialogs.Clear();
  e.Edit();
  e.dialogs.WhileOkWaits = [&e] { e.Edit(); };
  e.dialogs.PushMessageAnswer(mrYes);
  e.form->mnSave->trigger();
  EXPECT_TRUE(e.form->windowTitle().startsWith(QLatin1Char('*')));
  EXPECT_TRUE(e.form->Recovery().Behind()) << "its copy is still wanted";
}

TEST(DataSafety, TheRecoveryCopyIsWrittenWhileACommandsQuestionWaits) {
  TEditor e;
  e.Edit();
  ASSERT_TRUE(e.form->Recovery().Behind());
  bool written = false;
  e.dialogs.WhileAsked = [&e, &written] {
    e.form->Recovery().WriteNow();
    written = !e.form->Recovery().Behind();
  };
  e.dialogs.PushText(QStringLiteral("renamed"));
  e.form->mnPageRenameClick();
  EXPECT_TRUE(written) << "the grid is whole while the rename asks";
}

TEST(DataSafety, TheLaunchersCountsComeInWhileIdleWithoutAStepOrAQuestion) {
  TEditor e;
  e.Edit();
  // The user swaps the first two buttons of page "a": the step keeps t0's text.
  int a = 1;
  while (CaptionOfText(e.form->Store().Cell(0, a)) != "a")
    ++a;
  e.form->RecordStep(QStringLiteral("swap"), [&] {
    const std::string t0(e.form->Store().Cell(1, a)), t1(e.form->Store().Cell(2, a));
    e.form->Store().SetCell(1, a, t1);
    e.form->Store().SetCell(2, a, t0);
  });
  const int steps = e.form->UndoStack().count();
  SaveToTextFile(Launcher(30), e.file);
  // The watcher tells of the write; the look comes once the launcher is done.
  for (QDeadlineTimer wait(10000); e.UseCountAt(2, a) != 30 && !wait.hasExpired();)
    QTest::qWait(20);
  EXPECT_EQ(e.UseCountAt(2, a), 30);
  EXPECT_EQ(e.form->UndoStack().count(), steps);
  EXPECT_TRUE(e.form->ChangedBar().isHidden());
  EXPECT_TRUE(e.form->windowTitle().startsWith(QLatin1Char('*'))) << "the edits are still unsaved";
  // Taking the swap back does not take the launcher's count back.
  e.form->UndoStack().undo();
  EXPECT_EQ(TitleOfText(e.form->Store().Cell(1, a)), "t0");
  EXPECT_EQ(e.UseCountAt(1, a), 30);
  e.form->UndoStack().redo();

  // A save after it asks nothing but the save question, and keeps both.
  const std::size_t asked = e.dialogs.Questions().size();
  e.dialogs.PushMessageAnswer(mrYes);
  e.form->mnSave->trigger();
  EXPECT_EQ(e.dialogs.Questions().size(), asked + 2) << "the question and the progress box";
  TLaunchList saved;
  saved.SetFileName(e.file);
  saved.LoadFromFile();
  ASSERT_EQ(saved.Pages.Count(), 3);
  for (int p = 0; p < saved.Pages.Count(); ++p) {
    if (saved.Pages.Get(p).Caption == "a") {
      EXPECT_EQ(saved.Items(p, 1).UseCount, 30);
    }
  }
}

TEST(DataSafety, AnotherChangeIsToldInTheNoticeAndItsReloadIsOneStep) {
  TEditor e;
  e.form->show();
  e.Edit();
  TLaunchList theirs = Launcher();
  theirs.Pages.Get(1).Caption = "theirs";
  SaveToTextFile(theirs, e.file);
  e.form->CheckDataFileNow();
  ASSERT_TRUE(e.form->ChangedBar().isVisible());
  EXPECT_TRUE(e.form->ChangedBar().Text().startsWith(
      QStringLiteral("データーファイルが他のプログラムによって変更されています。")));
  EXPECT_FALSE(e.form->ChangedBar().ReloadButton().isHidden());
  EXPECT_EQ(PageCount(e.form->Store()), 3) << "nothing changes before the user says so";

  e.form->ChangedBar().ReloadButton().click();
  EXPECT_TRUE(e.form->ChangedBar().isHidden());
  EXPECT_EQ(PageCount(e.form->Store()), 2);
  EXPECT_EQ(CaptionOfText(e.form->Store().Cell(0, 2)), "theirs");
  EXPECT_FALSE(e.form->windowTitle().startsWith(QLatin1Char('*'))) << "the grid is the file";
  e.form->UndoStack().undo();
  EXPECT_EQ(PageCount(e.form->Store()), 3) << "the edits come back";
  EXPECT_TRUE(e.form->windowTitle().startsWith(QLatin1Char('*')));

  // The menu's save asks the same question; Cancel writes nothing.
  const std::string disk = ReadFile(e.file);
  theirs.Pages.Get(1).Caption = "again";
  SaveToTextFile(theirs, e.file);
  e.dialogs.PushMessageAnswer(mrYes);
  e.dialogs.PushMessageAnswer(mrCancel);
  e.form->mnSave->trigger();
  EXPECT_EQ(e.LastQuestion().Caption, QStringLiteral("データーファイルの変更"));
  EXPECT_NE(ReadFile(e.file), disk);
  EXPECT_EQ(PageCount(e.form->Store()), 3);
}

// The texts of a difference list's column, row by row.
QStringList Column(const TListDifferencesModel& model, int column) {
  QStringList texts;
  for (int r = 0; r < model.rowCount(); ++r)
    texts << model.index(r, column).data().toString();
  return texts;
}

// Runs act on the next difference dialog titled title, once it is up.
void OnDiffDialog(const QString& title, std::function<void(TListDiffDialog&)> act) {
  auto* poll = new QTimer(qApp);
  QObject::connect(poll, &QTimer::timeout, [poll, title, act = std::move(act)] {
    auto* d = qobject_cast<TListDiffDialog*>(QApplication::activeModalWidget());
    if (d == nullptr || d->windowTitle() != title) return;
    poll->stop();
    poll->deleteLater();
    act(*d);
  });
  poll->start(10);
}

TEST(DataSafety, TheNoticesMergeKeepsBothSidesAsOneStepAndCountsTheLaunchersUsesOnce) {
  TEditor e;
  e.form->show();
  SaveToTextFile(Launcher(30), e.file);  // the launcher counts t0's uses
  e.form->CheckDataFileNow();
  const int a = e.RowOf("a");
  ASSERT_EQ(e.UseCountAt(1, a), 30);
  e.Edit();
  // Another program renames page b, adds a button to it and counts t1 six more times.
  TLaunchList theirs = Launcher(30);
  theirs.Pages.Get(1).Caption = "theirs";
  auto added = std::make_unique<TLaunchDataItem>();
  added->Title = "added";
  theirs.AddButton(1, std::move(added));
  theirs.Get(1).UseCount = 10;
  SaveToTextFile(theirs, e.file);
  e.form->CheckDataFileNow();
  ASSERT_TRUE(e.form->ChangedBar().isVisible());
  ASSERT_FALSE(e.form->ChangedBar().MergeButton().isHidden());
  const int steps = e.form->UndoStack().count();

  e.form->ChangedBar().MergeButton().click();
  EXPECT_TRUE(e.form->ChangedBar().isHidden());
  EXPECT_EQ(e.form->UndoStack().count(), steps + 1);
  EXPECT_TRUE(e.RowOf("n")) << "the user's page";
  ASSERT_TRUE(e.RowOf("theirs"));
  EXPECT_EQ(CountOfRow(e.form->Store(), e.RowOf("theirs")), 2);
  EXPECT_EQ(e.UseCountAt(1, e.RowOf("a")), 30) << "taken in before: not counted twice";
  EXPECT_EQ(e.UseCountAt(2, e.RowOf("a")), 10);
  EXPECT_TRUE(e.form->windowTitle().startsWith(QLatin1Char('*')));

  e.form->UndoStack().undo();
  EXPECT_TRUE(e.RowOf("n"));
  EXPECT_TRUE(e.RowOf("b")) << "the user's grid is back";
  EXPECT_EQ(e.UseCountAt(2, e.RowOf("a")), 4);
  e.form->UndoStack().redo();
  // The file is what the grid was merged with: a save asks nothing about it.
  e.dialogs.PushMessageAnswer(mrYes);
  const std::size_t asked = e.dialogs.Questions().size();
  e.form->mnSave->trigger();
  EXPECT_EQ(e.dialogs.Questions().size(), asked + 2) << "the question and the progress box";

  // With nothing of the user's since, a merge is the file: nothing to save.
  TLaunchList again;
  again.SetFileName(e.file);
  again.LoadFromFile();
  again.Pages.Get(e.RowOf("theirs") - 1).Caption = "again";
  SaveToTextFile(again, e.file);
  e.form->CheckDataFileNow();
  e.form->ChangedBar().MergeButton().click();
  EXPECT_TRUE(e.RowOf("again"));
  EXPECT_FALSE(e.form->windowTitle().startsWith(QLatin1Char('*')));
}

TEST(DataSafety, TheSaveQuestionShowsTheDifferencesAndMergesWithAChoicePerConflict) {
  TEditor e;
  e.form->show();
  const int a = e.RowOf("a");
  TLaunchList edited = Launcher();
  edited.Get(0).Title = "ours";
  e.form->RecordStep(QStringLiteral("edit"),
                     [&] { e.form->Store().SetCell(1, a, ItemToText(edited.Get(0))); });
  TLaunchList theirs = Launcher();
  theirs.Get(0).Title = "file";
  theirs.Pages.Get(1).Caption = "theirs";
  SaveToTextFile(theirs, e.file);
  const std::string disk = ReadFile(e.file);

  e.dialogs.PushMessageAnswer(mrYes);   // save
  e.dialogs.PushMessageAnswer(mrDiff);  // the file was changed: see how
  QStringList changes;
  OnDiffDialog(QStringLiteral("ファイルとの差分"), [&](TListDiffDialog& d) {
    changes = Column(*d.Differences, TListDifferencesModel::colChange);
    d.BtnClose->click();
  });
  e.dialogs.PushMessageAnswer(mrMerge);  // asked again: merge
  QStringList taken;
  OnDiffDialog(QStringLiteral("マージ"), [&](TListDiffDialog& d) {
    EXPECT_EQ(d.Differences->ConflictCount(), 1) << "both changed t0's title";
    d.List->setCurrentIndex(d.Differences->index(0, 0));
    QTest::keyClick(d.List, Qt::Key_Space);
    taken = Column(*d.Differences, TListDifferencesModel::colTaken);
    d.BtnMerge->click();
  });
  e.form->mnSave->trigger();
  EXPECT_TRUE(changes.contains(QStringLiteral("ページ名変更"))) << changes.join(u',').toStdString();
  EXPECT_TRUE(changes.contains(QStringLiteral("ボタン変更"))) << changes.join(u',').toStdString();
  ASSERT_FALSE(taken.isEmpty());
  EXPECT_EQ(taken.front(), QStringLiteral("ファイルの内容"));
  EXPECT_EQ(ReadFile(e.file), disk) << "merged, not saved";
  EXPECT_EQ(TitleOfText(e.form->Store().Cell(1, a)), "file");
  EXPECT_TRUE(e.RowOf("theirs"));
  EXPECT_FALSE(e.form->windowTitle().startsWith(QLatin1Char('*'))) << "all of it the file's";
  e.form->UndoStack().undo();
  EXPECT_EQ(TitleOfText(e.form->Store().Cell(1, a)), "ours");
  EXPECT_TRUE(e.form->windowTitle().startsWith(QLatin1Char('*')));
}

TEST(DataSafety, ALauncherThatNeverPausesStillHasItsCountsTakenIn) {
  TEditor e;
  SaveToTextFile(Launcher(30), e.file);
  // Touched more often than the watcher waits for a writer to settle.
  for (QDeadlineTimer wait(10000); e.UseCountAt(1, 1) != 30 && !wait.hasExpired();) {
    std::filesystem::last_write_time(e.file, std::filesystem::file_time_type::clock::now());
    QTest::qWait(100);
  }
  EXPECT_EQ(e.UseCountAt(1, 1), 30);
}

TEST(DataSafety, ARecoveryCopyThatCannotBeWrittenIsToldOnceInTheNotice) {
  TEditor e;
  testing_support::WriteFile(e.state.File("pelledit"), "a file where the folder belongs");
  e.Edit();
  e.form->Recovery().WriteNow();
  ASSERT_TRUE(e.form->ChangedBar().isVisibleTo(e.form.get()));
  EXPECT_TRUE(
      e.form->ChangedBar().Text().startsWith(QStringLiteral("復元用データーを保存できません")))
      << e.form->ChangedBar().Text().toStdString();
  EXPECT_TRUE(e.form->ChangedBar().ReloadButton().isHidden());
  EXPECT_TRUE(e.form->ChangedBar().OverwriteButton().isHidden());
  e.form->ChangedBar().DismissButton().click();
  e.Edit();
  e.form->Recovery().WriteNow();
  EXPECT_TRUE(e.form->ChangedBar().isHidden()) << "told once";
}

TEST(DataSafety, ARecoveryCopyLeftBehindIsOfferedAndTakenAsOneStep) {
  TEditor e;
  e.Edit();
  e.form->Recovery().WriteNow();
  e.form.reset();  // ends without a close, as a crash would
  ASSERT_TRUE(FindRecoveryCopy(Q(e.file)));

  e.dialogs.PushMessageAnswer(mrYes);
  e.Open();
  EXPECT_TRUE(e.Asked(QStringLiteral("復元用データー")));
  EXPECT_EQ(PageCount(e.form->Store()), 3);
  EXPECT_TRUE(e.form->windowTitle().startsWith(QLatin1Char('*')));
  e.form->UndoStack().undo();
  EXPECT_EQ(PageCount(e.form->Store()), 2) << "the file's data";
  e.form.reset();

  // Declined: removed, and not offered again.
  e.dialogs.PushMessageAnswer(mrNo);
  e.Open();
  EXPECT_EQ(PageCount(e.form->Store()), 2);
  EXPECT_FALSE(FindRecoveryCopy(Q(e.file)));
}

TEST(DataSafety, TheRestoreListsWhatTheChosenBackupWouldChange) {
  TEditor e;
  TLaunchList backup = Launcher();
  backup.Pages.Get(1).Caption = "old";
  const std::filesystem::path folder = e.dir.Path() / "pelledit-backup";
  std::filesystem::create_directory(folder);
  SaveToTextFile(backup, (folder / "data.lst.20261207-112300.bak").string());
  TRestoreDialog dialog(Q(e.file), e.form->Store());
  ASSERT_EQ(dialog.Differences->DifferenceCount(), 1);
  EXPECT_EQ(dialog.Differences->index(0, TListDifferencesModel::colChange).data().toString(),
            QStringLiteral("ページ名変更"));
  EXPECT_TRUE(dialog.Differences->index(0, TListDifferencesModel::colDetail)
                  .data()
                  .toString()
                  .contains(QStringLiteral("old")));
}

TEST(DataSafety, ARestoreTellsOfButtonsTheGridCannotHoldAndDrawsEveryIcon) {
  TEditor e;
  e.form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(e.form.get()));
  // A backup whose first page counts one button fewer than it has.
  std::string bytes = TextDataFileBytes(Launcher());
  const std::size_t page = bytes.find("\"a\",2,");
  ASSERT_NE(page, std::string::npos);
  bytes.replace(page, 6, "\"a\",1,");
  const std::filesystem::path folder = e.dir.Path() / "pelledit-backup";
  std::filesystem::create_directory(folder);
  testing_support::WriteFile((folder / "data.lst.20261207-112300.bak").string(), bytes);
  e.dialogs.PushMessageAnswer(mrOk);
  QTimer::singleShot(0, [] {
    auto* d = qobject_cast<TRestoreDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(d, nullptr);
    d->List->setCurrentItem(d->List->topLevelItem(0));
    d->accept();
  });
  e.form->mnRestore->trigger();
  EXPECT_TRUE(e.Asked(QStringLiteral("データーファイルの確認")));
  EXPECT_EQ(CountOfRow(e.form->Store(), 1), 1);
  // The grid was painted while it was refilled: no icon is kept from a cell not yet filled.
  (void)e.form->grab();
  const QImage drawn = e.form->IconGrid().Get(0).Get(0).Icon.pixmap(32).toImage();
  const QImage expected = GetItemIcon(*ButtonOfCell(e.form->Store(), 1, 1)).pixmap(32).toImage();
  EXPECT_TRUE(drawn == expected);
}
