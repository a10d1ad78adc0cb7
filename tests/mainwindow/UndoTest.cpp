// Undo and redo in the real window: every kind of step taken back and made again gives
// the grid, its icons and the current cell exactly as they were, also over a long
// random run; the title's unsaved mark follows the saved state.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>
#include <QUrl>
#include <filesystem>
#include <random>

#include "ButtonListBox.h"
#include "FindBar.h"
#include "GridRules.h"
#include "GridView.h"
#include "MainWindow.h"
#include "PageEditDialog.h"
#include "Progress.h"
#include "RecordText.h"
#include "RegistrationWizard.h"
#include "ReplaceDialog.h"
#include "RestoreDialog.h"
#include "ScriptedDialogs.h"
#include "TargetCheckDialog.h"
#include "TargetFindingsModel.h"
#include "TestSupport.h"
#include "WizardFileList.h"

using testing_support::TTempDir;

namespace {

// Answers every question: Yes (or OK), the number 2, the text "n", the first choice;
// no file and no folder.
class TYesDialogs : public TDialogs {
 public:
  int MessageAt(const QString&, const QString&, unsigned buttons, TMsgType, int, int) override {
    return (buttons & mbYes) ? mrYes : mrOk;
  }
  bool InputNumber(int, int, int, int, int& value, const QString&, const QString&, int) override {
    value = 2;
    return true;
  }
  bool InputText(int, int, const QString&, QString& text, const QString&) override {
    text = QStringLiteral("n");
    return true;
  }
  bool InputChoice(int, int, const QString&, int, int& choice, const QStringList&,
                   const QString&) override {
    choice = 0;
    return true;
  }
  QString OpenFileName(QWidget*, const QString&, const QString&, const QString&) override {
    return OpenAnswer;
  }
  QString SaveFileName(QWidget*, const QString&, const QString&, const QString&) override {
    return {};
  }
  bool BrowseForFolder(const TFolderBrowser&, TBrowseItem&) override { return false; }
  void WaitForProgressOk() override {
    if (ProgressAnswer == 0) ProgressAnswer = 1;
  }
  QString OpenAnswer;
};

// A data file of pages with the given button counts; button b of page p is a program
// titled "p<p>-<b>" (every third unregistered).
std::string DataFile(const TTempDir& dir, const std::vector<int>& counts, int minButtons = 1,
                     int maxButtons = 0) {
  TLaunchList list;
  list.DeletePage(0);
  list.Status.MinButtons = minButtons;
  list.Status.MaxButtons = maxButtons;
  for (std::size_t p = 0; p < counts.size(); ++p) {
    list.AddPage("p" + std::to_string(p), counts[p], 0);
    for (int b = 0; b < counts[p]; ++b) {
      TLaunchDataItem& item = list.Items(static_cast<int>(p), b);
      if (b % 3 == 2) continue;
      item.Kind = lkProgram;
      item.Title = "p" + std::to_string(p) + "-" + std::to_string(b);
      item.Link = "/usr/bin/env";
    }
  }
  const std::string file = dir.File("data.lst");
  SaveToTextFile(list, file);
  return file;
}

// Everything a step may change.
struct TSnapshot {
  std::vector<std::vector<std::string>> rows;
  std::vector<int> icons;
  int col = 0, row = 0;
  bool operator==(const TSnapshot&) const = default;
};

TSnapshot Snap(TMainWindow& f) {
  TSnapshot s;
  for (int r = 0; r < f.Store().RowCount(); ++r)
    s.rows.push_back(f.Store().Row(r));
  for (int p = 0; p < f.IconGrid().Count(); ++p)
    s.icons.push_back(f.IconGrid().Get(p).Count());
  s.col = f.Grid().Col();
  s.row = f.Grid().Row();
  return s;
}

struct TWindow {
  TYesDialogs dialogs;
  TDialogsScope scope{dialogs};
  TMainWindow f;
  explicit TWindow(const std::string& file) {
    EXPECT_TRUE(f.FormCreate({"pelledit", "/F", QString::fromStdString(file)}));
  }
};

// Does step, then checks that undo gives back the grid before it and redo the grid after.
void ExpectUndoable(TMainWindow& f, const char* what, const std::function<void()>& step) {
  const TSnapshot before = Snap(f);
  const int steps = f.UndoStack().count();
  step();
  ASSERT_EQ(f.UndoStack().count(), steps + 1) << what << ": one step";
  const TSnapshot after = Snap(f);
  ASSERT_NE(after, before) << what << " changed nothing";
  f.UndoStack().undo();
  EXPECT_EQ(Snap(f), before) << what << " undone";
  f.UndoStack().redo();
  EXPECT_EQ(Snap(f), after) << what << " redone";
}

}  // namespace

TEST(Undo, EveryKindOfStepGoesBackAndForthExactly) {
  TTempDir dir;
  TWindow w(DataFile(dir, {3, 4, 2, 6}, 1, 6));
  TMainWindow& f = w.f;
  TGridView& grid = f.Grid();
  const auto at = [&](int c, int r) { grid.PlaceCurrent(c, r); };
  at(1, 2);
  ExpectUndoable(f, "new page", [&] { f.mnPageNewClick(); });
  ExpectUndoable(f, "page delete", [&] { f.mnPageDelClick(); });
  ExpectUndoable(f, "rename", [&] { f.mnPageRenameClick(); });
  at(1, 3);
  ExpectUndoable(f, "move up", [&] { f.mnPageUp->trigger(); });
  ExpectUndoable(f, "move down", [&] { f.mnPageDown->trigger(); });
  at(2, 1);
  ExpectUndoable(f, "add", [&] { f.mnBtnAddClick(); });
  ExpectUndoable(f, "insert", [&] { f.mnBtnInsClick(); });
  ExpectUndoable(f, "delete", [&] { f.mnBtnDelClick(); });
  at(1, 1);
  ExpectUndoable(f, "clear", [&] { f.mnBtnClsClick(); });
  at(1, 2);
  f.mnCopyClick();
  EXPECT_EQ(f.UndoStack().count(), 9) << "a copy changes no cell: no step";
  at(2, 3);
  ExpectUndoable(f, "paste", [&] { f.mnPasteClick(); });
  ExpectUndoable(f, "edit dialog", [&] {
    QTimer::singleShot(0, [] {
      auto* d = qobject_cast<TPageEditDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(d, nullptr);
      d->BtnDownSort->click();
      d->BtnOk->click();
    });
    f.mnBtnEdit->trigger();
  });
  ExpectUndoable(f, "page drag", [&] {
    ASSERT_TRUE(f.GridStartDrag(0, 4));
    f.GridDragDrop(0, 1);
    f.GridEndDrag();
  });
  ExpectUndoable(f, "button move", [&] {
    ASSERT_TRUE(f.GridStartDrag(1, 2));
    f.GridDragDrop(2, 3);
    f.GridEndDrag();
  });
  ExpectUndoable(f, "overwrite on a full page", [&] {
    ASSERT_EQ(CountOfRow(f.Store(), 4), 6);
    ASSERT_TRUE(f.GridStartDrag(1, 3));
    f.GridDragDrop(1, 4);
    f.GridEndDrag();
    EXPECT_EQ(CountOfRow(f.Store(), 4), 6) << "overwritten, not inserted";
  });
  const std::string tool = dir.File("tool");
  testing_support::WriteFile(tool, "#!/bin/sh\n");
  std::filesystem::permissions(tool, std::filesystem::perms::owner_all);
  ExpectUndoable(f, "file drop", [&] { f.GridFilesDropped(1, 2, {QString::fromStdString(tool)}); });

  // The import swaps the whole grid in one step.
  const std::string other = DataFile(dir, {1, 1});
  std::filesystem::rename(other, dir.File("other.CSV"));
  w.dialogs.OpenAnswer = QString::fromStdString(dir.File("other.txt"));
  ExpectUndoable(f, "import", [&] { f.mnInpClick(); });
  EXPECT_EQ(f.mnUndo->text(), QStringLiteral("元に戻す(&U): インポート"));
}

TEST(Undo, AThousandRandomCommandsUndoToTheStartAndRedoToTheEnd) {
  TTempDir dir;
  TWindow w(DataFile(dir, {3, 1, 4, 2, 6, 1, 3}, 1, 8));
  TMainWindow& f = w.f;
  f.UndoStack().setUndoLimit(0);  // no limit: every step stays
  std::mt19937 random(20261207);
  const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  const TSnapshot start = Snap(f);
  for (int i = 0; i < 1000; ++i) {
    const int pages = PageCount(f.Store());
    const int r = 1 + pick(pages);
    const int count = CountOfRow(f.Store(), r);
    f.Grid().PlaceCurrent(count > 0 ? 1 + pick(count) : 1, r);
    switch (pick(12)) {
      case 0:
        f.mnPageNewClick();
        break;
      case 1:
        if (pages > 3) f.mnPageDelClick();
        break;
      case 2:
        f.mnPageRenameClick();
        break;
      case 3:
        f.mnPageUp->trigger();
        break;
      case 4:
        f.mnPageDown->trigger();
        break;
      case 5:
        f.mnBtnAddClick();
        break;
      case 6:
        f.mnBtnInsClick();
        break;
      case 7:
        f.mnBtnDelClick();
        break;
      case 8:
        f.mnBtnClsClick();
        break;
      case 9:
        f.mnCopyClick();
        f.Grid().PlaceCurrent(1, 1 + pick(pages));
        f.mnPasteClick();
        break;
      case 10: {
        const int to = 1 + pick(pages);
        if (f.GridStartDrag(f.Grid().Col(), r)) {
          f.GridDragDrop(std::max(1, std::min(CountOfRow(f.Store(), to), 2)), to);
          f.GridEndDrag();
        }
        break;
      }
      default:
        if (f.GridStartDrag(0, r)) {
          f.GridDragDrop(0, 1 + pick(pages));
          f.GridEndDrag();
        }
    }
  }
  const TSnapshot end = Snap(f);
  ASSERT_GT(f.UndoStack().count(), 500);
  while (f.UndoStack().canUndo())
    f.UndoStack().undo();
  const TSnapshot back = Snap(f);
  EXPECT_TRUE(back.rows == start.rows);
  EXPECT_EQ(back.icons, start.icons);
  // The current cell was moved between the steps, so only the texts and icons count.
  while (f.UndoStack().canRedo())
    f.UndoStack().redo();
  const TSnapshot forth = Snap(f);
  EXPECT_TRUE(forth.rows == end.rows);
  EXPECT_EQ(forth.icons, end.icons);
}

TEST(Undo, TheTitleMarksAGridThatDiffersFromTheSavedFile) {
  TTempDir dir;
  TWindow w(DataFile(dir, {2, 2}));
  TMainWindow& f = w.f;
  EXPECT_EQ(f.windowTitle(), QStringLiteral("data.lst - 登録データー編集"));
  f.mnPageNewClick();
  EXPECT_EQ(f.windowTitle(), QStringLiteral("*data.lst - 登録データー編集"));
  f.mnSave->trigger();
  EXPECT_EQ(f.windowTitle(), QStringLiteral("data.lst - 登録データー編集"));
  f.UndoStack().undo();
  EXPECT_TRUE(f.windowTitle().startsWith(QLatin1Char('*'))) << "before the save point";
  f.UndoStack().redo();
  EXPECT_FALSE(f.windowTitle().startsWith(QLatin1Char('*'))) << "back at the save point";
  EXPECT_FALSE(f.mnRedo->isEnabled());
  EXPECT_EQ(f.mnUndo->text(), QStringLiteral("元に戻す(&U): 新規ページ挿入"));
}

TEST(FindAndReplace, TheBarFindsAsTypedAndTheReplacementIsOneStep) {
  TTempDir dir;
  TWindow w(DataFile(dir, {3, 4, 2}));
  TMainWindow& f = w.f;
  f.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
  ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
  f.mnFind->trigger();
  ASSERT_TRUE(f.FindBar().isVisible());
  QLineEdit& text = f.FindBar().Edit();
  const auto* count = f.FindBar().findChild<QLabel*>(QStringLiteral("LbFindCount"));
  // A hit not current is framed in the highlight colour.
  const auto marked = [&f](int c, int r) {
    const QRect cell = f.Grid().visualRect(f.Grid().model()->index(r - 1, c - 1));
    return f.Grid().viewport()->grab().toImage().pixelColor(cell.left() + 1, cell.center().y()) ==
           f.Grid().palette().color(QPalette::Highlight);
  };
  QTest::keyClicks(&text, QStringLiteral("P1-"));
  EXPECT_EQ(f.Grid().Row(), 2) << "the first hit, letter case folded";
  EXPECT_EQ(f.Grid().Col(), 1);
  EXPECT_EQ(count->text(), QStringLiteral("1 / 3 件"));
  EXPECT_TRUE(marked(4, 2));
  EXPECT_FALSE(marked(1, 1)) << "p0-0 is no hit";
  f.mnFindNext->trigger();
  EXPECT_EQ(f.Grid().Col(), 2);
  f.mnFindNext->trigger();  // p1-2 is unregistered: on to p1-3
  EXPECT_EQ(f.Grid().Col(), 4);
  f.mnFindNext->trigger();
  EXPECT_EQ(f.Grid().Col(), 1) << "wrapped to the first";
  QTest::keyClick(&text, Qt::Key_Return, Qt::ShiftModifier);
  EXPECT_EQ(f.Grid().Col(), 4) << "back, wrapped to the last";
  EXPECT_EQ(count->text(), QStringLiteral("3 / 3 件  末尾に戻りました"));
  QTest::keyClick(&text, Qt::Key_F3, Qt::ShiftModifier);
  EXPECT_EQ(f.Grid().Col(), 2);
  QTest::keyClick(&text, Qt::Key_Escape);
  EXPECT_FALSE(marked(4, 2)) << "no marks with the bar closed";
  EXPECT_TRUE(f.Finder().Folded()) << "the grid did not change: the next Ctrl+F only searches";
  QTest::keyClick(&f.Grid(), Qt::Key_F3);
  EXPECT_EQ(f.Grid().Col(), 4) << "F3 goes on with the last search";
  EXPECT_TRUE(f.FindBar().isVisible());

  const TSnapshot before = Snap(f);
  QTimer::singleShot(0, [] {
    auto* d = qobject_cast<TReplaceDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(d, nullptr);
    d->EdFrom->setText(QStringLiteral("/usr/bin/"));
    d->EdTo->setText(QStringLiteral("/opt/新/"));
    QTest::keyClick(d->EdTo, Qt::Key_Return);
    EXPECT_EQ(d->Preview->model()->rowCount(), static_cast<int>(d->Plan().size()));
    const auto* summary = d->findChild<QLabel*>(QStringLiteral("LbSummary"));
    EXPECT_EQ(summary ? summary->text() : QString(),
              QStringLiteral("%1 項目を変更します。").arg(d->Plan().size()));
    QTest::keyClick(d->EdTo, Qt::Key_Return);  // after the preview, Return replaces
    if (d->isVisible()) d->reject();
  });
  f.mnReplace->trigger();
  EXPECT_EQ(LinkOfText(f.Store().Cell(1, 1)), testing_support::Sjis("/opt/新/env"));
  EXPECT_EQ(f.mnUndo->text(), QStringLiteral("元に戻す(&U): 置換"));
  text.setText(QStringLiteral("新/ENV"));
  EXPECT_TRUE(count->text().endsWith(QStringLiteral(" / 7 件"))) << "every button replaced";
  f.UndoStack().undo();
  EXPECT_TRUE(Snap(f).rows == before.rows) << "undone byte for byte";
  EXPECT_TRUE(f.Finder().Folded()) << "the folded texts follow the step, not thrown away";
  f.mnFindNext->trigger();
  EXPECT_EQ(count->text(), QStringLiteral("0 件  見つかりません"));
}

TEST(Backups, ASaveKeepsTheOldFileAndARestoreIsOneStep) {
  TTempDir dir;
  const std::string file = DataFile(dir, {2, 2});
  const std::string original = testing_support::ReadFile(file);
  TWindow w(file);
  TMainWindow& f = w.f;
  const TSnapshot loaded = Snap(f);
  f.mnPageNewClick();
  f.mnSave->trigger();
  const std::string saved = testing_support::ReadFile(file);
  ASSERT_NE(saved, original);
  QTimer::singleShot(0, [] {
    auto* d = qobject_cast<TRestoreDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(d, nullptr);
    ASSERT_EQ(d->List->topLevelItemCount(), 1) << "the file before the save";
    d->accept();
  });
  f.mnRestore->trigger();
  EXPECT_TRUE(Snap(f).rows == loaded.rows);
  EXPECT_TRUE(f.windowTitle().startsWith(QLatin1Char('*'))) << "not saved yet";
  EXPECT_EQ(testing_support::ReadFile(file), saved) << "the data file changes only by a save";
  f.UndoStack().undo();
  EXPECT_EQ(PageCount(f.Store()), 3);
}

TEST(TargetCheck, TheListGroupsFindingsAndClearsTheChosenButtons) {
  TTempDir dir;
  TWindow w(DataFile(dir, {2, 1}));  // every link is /usr/bin/env: present
  TMainWindow& f = w.f;
  TLaunchDataItem gone;
  gone.Kind = lkProgram;
  gone.Title = "gone \"x\"";
  gone.Link = dir.File("missing \"x\"");  // not as it is in the cell, which doubles quotes
  TLaunchDataItem windows = gone;
  windows.Link = "C:\\Tools\\app.exe";
  f.RecordStep(QStringLiteral("set"), [&] {
    f.Store().SetCell(1, 1, ItemToText(gone));
    f.Store().SetCell(1, 2, ItemToText(windows));
  });
  f.Grid().PlaceCurrent(1, 2);
  QTimer::singleShot(0, [&gone, &f] {
    auto* d = qobject_cast<TTargetCheckDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(d, nullptr);
    const QAbstractItemModel* list = d->List->model();
    ASSERT_EQ(list->rowCount(d->Findings->MissingGroup()), 1);
    // Return goes to the finding's button, as a double click does, and clears nothing.
    d->List->setFocus();
    d->List->setCurrentIndex(list->index(0, 0, d->Findings->MissingGroup()));
    QTest::keyClick(d->List, Qt::Key_Return);
    EXPECT_EQ(QPoint(f.Grid().Col(), f.Grid().Row()), QPoint(1, 1));
    EXPECT_EQ(list->rowCount(d->Findings->MissingGroup()), 1) << "Return cleared nothing";
    EXPECT_TRUE(d->isVisible());
    ASSERT_EQ(list->rowCount(d->Findings->UncheckableGroup()), 1);
    EXPECT_EQ(d->Findings->MissingGroup().data().toString(), QStringLiteral("リンク切れ (1)"));
    const auto shown = [list](const QModelIndex& group, int column) {
      return list->index(0, column, group).data().toString();
    };
    EXPECT_EQ(shown(d->Findings->MissingGroup(), 2), QString::fromStdString(gone.Title));
    EXPECT_EQ(shown(d->Findings->MissingGroup(), 4), QString::fromStdString(gone.Link));
    EXPECT_EQ(shown(d->Findings->UncheckableGroup(), 4), QStringLiteral("C:\\Tools\\app.exe"));
    d->List->selectAll();  // then every finding but the one that cannot be checked
    d->List->selectionModel()->select(list->index(0, 0, d->Findings->UncheckableGroup()),
                                      QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    d->BtnClear->click();
    EXPECT_EQ(list->rowCount(d->Findings->MissingGroup()), 0) << "listed anew";
    EXPECT_EQ(list->rowCount(d->Findings->UncheckableGroup()), 1);
    d->reject();
  });
  f.mnCheckTargets->trigger();
  EXPECT_EQ(KindOfText(f.Store().Cell(1, 1)), lkNone);
  EXPECT_EQ(f.mnUndo->text(), QStringLiteral("元に戻す(&U): 登録情報クリア"));
}

TEST(Undo, TheWizardsMergeIsOneStep) {
  TTempDir dir;
  TWindow w(DataFile(dir, {2, 1}));
  TMainWindow& f = w.f;
  const std::string tool = dir.File("tool");
  testing_support::WriteFile(tool, "#!/bin/sh\n");
  std::filesystem::permissions(tool, std::filesystem::perms::owner_all);
  const TSnapshot before = Snap(f);
  QTimer::singleShot(0, [&] {
    auto* wizard = qobject_cast<TRegistrationWizard*>(QApplication::activeModalWidget());
    ASSERT_NE(wizard, nullptr);
    wizard->btnNext->click();
    wizard->FileList().Model().SetPaths({tool});
    wizard->btnNext->click();
    wizard->btnNext->click();
  });
  f.mnWiz->trigger();
  EXPECT_TRUE(f.isVisible());
  ASSERT_EQ(PageCount(f.Store()), 3);
  EXPECT_EQ(f.mnUndo->text(), QStringLiteral("元に戻す(&U): 登録ウイザード"));
  f.UndoStack().undo();
  EXPECT_TRUE(Snap(f).rows == before.rows);
  EXPECT_EQ(Snap(f).icons, before.icons);
}
