// The real wizard offscreen: the page walk, the method's control states and the hint
// panel, drops from the file manager, the list's commands and mouse reordering, the
// file check, the folder method, and the wizard command around it on a grid: every way
// out but Finish leaves the grid as it was, Finish merges the row, the limits hold.
#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <functional>
#include <tuple>

#include "DataFileCommands.h"
#include "GridFixture.h"
#include "GridRules.h"
#include "RecordText.h"
#include "RegistrationWizard.h"
#include "WizardFileList.h"
#include "WizardFixtures.h"
#include "WizardMerge.h"
#include "WizardRow.h"

using testing_support::Sjis;
using wizard_test::TToolsFolder;
using TPaths = std::vector<std::string>;

namespace {

void Drop(QWidget* target, const TPaths& paths) {
  QMimeData data;
  QList<QUrl> urls;
  for (const std::string& p : paths)
    urls << QUrl::fromLocalFile(QString::fromStdString(p));
  data.setUrls(urls);
  const QPoint at = target->rect().center();
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
}

void Pointer(QWidget* w, QEvent::Type type) {
  QEvent event(type);
  QApplication::sendEvent(w, &event);
}

// The wizard shown as ExecuteWizard shows it, but not modal, on pages p0 ... p2.
struct TOpen {
  TScriptedDialogs dialogs;
  TDialogsScope scope{dialogs};
  TRegistrationWizard w;
  explicit TOpen(std::int32_t maxPages = 0) {
    w.Setup(40, 30, 1, 0, maxPages, {"p0", "p1", "p2"}, {1, 1, 1});
    w.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
  }
  TWizardFileList& List() { return w.FileList(); }
  const TPaths& Paths() { return List().Model().Paths(); }
  void SetPaths(TPaths paths) { List().Model().SetPaths(std::move(paths)); }
  void Select(std::initializer_list<int> entries) {
    List().SelectOnly(*entries.begin());
    for (int i : entries)
      List().selectionModel()->select(List().Model().index(i), QItemSelectionModel::Select);
  }
  void Method(int m) { w.SelectPageTypeGroup->button(m)->click(); }
  QPoint At() const { return {w.frameGeometry().left() + 16, w.frameGeometry().top()}; }
};

using TStep = std::tuple<int, QString, QString, QString, bool>;
TStep Step(const TRegistrationWizard& w) {
  return {w.ActivePage(), w.LBCount->text(), w.btnPrev->text(), w.btnNext->text(), w.acceptDrops()};
}

}  // namespace

TEST(Wizard, NextAndBackWalkThePagesWithTheirCountersAndCaptions) {
  TOpen o;
  const QString exit = QStringLiteral("終了(&X)"), back = QStringLiteral("＜＜ 戻る(&B)");
  const QString next = QStringLiteral("次へ(&N) ＞＞"), finish = QStringLiteral("完了(&X)");
  EXPECT_EQ(Step(o.w), TStep(0, QStringLiteral("(1/3)"), exit, next, false));
  o.w.btnNext->click();
  EXPECT_EQ(Step(o.w), TStep(1, QStringLiteral("(2/3)"), back, next, true));
  o.w.btnNext->click();
  EXPECT_EQ(Step(o.w), TStep(2, QStringLiteral("(3/3)"), back, finish, false));
  o.w.btnPrev->click();
  EXPECT_EQ(Step(o.w), TStep(1, QStringLiteral("(2/3)"), back, next, true));
  o.w.btnPrev->click();
  EXPECT_EQ(Step(o.w), TStep(0, QStringLiteral("(1/3)"), exit, next, false));
  o.w.btnNext->click();
  EXPECT_EQ(Step(o.w), TStep(1, QStringLiteral("(2/3)"), back, next, true));
  EXPECT_TRUE(o.w.isVisible());
}

TEST(Wizard, TheMethodSetsThePageNameBoxTheFolderChoiceAndTheLimitHint) {
  TOpen o;
  EXPECT_EQ(o.w.PageBox->currentRow(), 0);
  EXPECT_EQ(o.w.TargetPageIndex, 0) << "without a click on the list";
  EXPECT_FALSE(o.w.CBoxFolder->isEnabled());
  o.w.CboxPage->setEditText(QStringLiteral("mine"));
  o.SetPaths({"/kept"});
  o.Method(wmAddToPage);
  EXPECT_EQ(o.w.CboxPage->currentText(), QString());
  EXPECT_FALSE(o.w.CboxPage->isEnabled());
  EXPECT_FALSE(o.w.LbNewPage->isEnabled());
  EXPECT_EQ(o.w.LBPage->text(), QStringLiteral("追加したファイルを登録するページ:(&L)"));
  o.Method(wmFolderPage);
  EXPECT_EQ(o.w.CboxPage->currentText(), QStringLiteral("新規ページ")) << "the typed name is gone";
  EXPECT_TRUE(o.w.CboxPage->isEnabled());
  EXPECT_TRUE(o.w.CBoxFolder->isEnabled());
  EXPECT_TRUE(o.w.BtnFolder->isHidden());
  o.Method(wmNewPage);
  EXPECT_FALSE(o.w.BtnFolder->isHidden());
  EXPECT_FALSE(o.w.CBoxFolder->isEnabled());
  EXPECT_EQ(o.Paths(), TPaths{"/kept"}) << "the files stay";
  o.w.PageBox->setCurrentRow(2);
  EXPECT_EQ(o.w.TargetPageIndex, 2);

  // At the page limit only an existing page can take the files, and the hint says why.
  TOpen full(3);
  EXPECT_EQ(full.w.Method(), wmAddToPage);
  EXPECT_FALSE(full.w.SelectPageTypeGroup->button(wmNewPage)->isEnabled());
  EXPECT_FALSE(full.w.SelectPageTypeGroup->button(wmFolderPage)->isEnabled());
  Pointer(full.w.SelectPageTypeGroup->button(wmNewPage), QEvent::Enter);
  EXPECT_TRUE(full.w.HintText().endsWith(
      QStringLiteral("※ページ数が上限 (3) に達しているため、新しいページは作成できません。")));
}

TEST(Wizard, TheHintPanelShowsTheLongHintOfTheControlUnderThePointer) {
  TOpen o;
  Pointer(o.w.CBoxFolder, QEvent::Enter);
  EXPECT_TRUE(
      o.w.HintText().startsWith(QStringLiteral("[特定のフォルダを元に新しいページを作成] を")))
      << "the enclosing group's hint, without its short part";
  Pointer(o.w.SelectPageTypeGroup->button(0), QEvent::Enter);
  EXPECT_TRUE(o.w.HintText().contains(QStringLiteral("作成します。\n[既存のページに追加]")));
  Pointer(o.w.btnNext, QEvent::Enter);
  EXPECT_EQ(o.w.HintText(),
            QStringLiteral("ボタン等にマウスポインタを合わせると簡単な説明が表示されます。"));

  o.w.btnNext->click();
  Pointer(o.w.BtnSort, QEvent::Enter);
  EXPECT_EQ(o.w.HintText(), QStringLiteral("昇順でファイルを並べ替えます"));
  Pointer(o.w.BtnSort, QEvent::Leave);
  EXPECT_TRUE(o.w.HintText().startsWith(QStringLiteral("[追加登録するファイル一覧] にファイルを")));
  EXPECT_TRUE(o.w.BtnSort->toolTip().isEmpty()) << "hints go to the panel, not to tooltips";

  o.w.btnPrev->click();
  o.Method(wmAddToPage);
  o.w.btnNext->click();
  o.w.btnNext->click();
  Pointer(o.w.PageBox, QEvent::Enter);
  EXPECT_EQ(o.w.HintText(), QStringLiteral("追加したファイルを登録するページを選択して下さい。"));
  Pointer(o.w.CboxPage, QEvent::Enter);
  EXPECT_EQ(o.w.HintText(),
            QStringLiteral("ボタン等にマウスポインタを合わせると簡単な説明が表示されます。"));
}

TEST(Wizard, FilesDroppedOnPage2GoThroughTheFilterAndFoldersProposePageNames) {
  TToolsFolder f;
  TOpen o;
  Drop(o.List().viewport(), {f.tools});
  EXPECT_EQ(o.List().Count(), 0) << "page 1 takes no drop";
  o.w.btnNext->click();
  Drop(o.List().viewport(), {f.tools});
  EXPECT_EQ(o.Paths().size(), 9u);
  EXPECT_EQ(o.w.LbListCount->text(), QStringLiteral("ファイル数：9"));
  EXPECT_EQ(o.w.CboxPage->findText(QStringLiteral("tools")), 0);
  EXPECT_EQ(o.w.CboxPage->currentText(), QStringLiteral("新規ページ"));

  o.w.CBoxExt->setCurrentIndex(tfShortcuts);
  Drop(o.w.LbListCount, f.Paths({"c.exe", "A.LNK", "b.pif", "A.LNK"}));
  const TPaths added(o.Paths().begin() + 9, o.Paths().end());
  EXPECT_EQ(added, f.Paths({"A.LNK", "b.pif", "A.LNK"})) << "anywhere on the window, twice";
  EXPECT_EQ(o.Paths()[2], f.Path("c.exe")) << "the filter leaves what was listed";
  EXPECT_EQ(o.w.LbListCount->text(), QStringLiteral("ファイル数：12"));
}

TEST(Wizard, SortMoveAndDeleteWorkOnWholePathsAndTheSelection) {
  TOpen o;
  o.w.btnNext->click();
  o.w.BtnSortClick(true);
  o.w.BtnUpClick(true);
  o.w.BtnDelClick();
  o.w.BtnCheckClick();
  EXPECT_TRUE(o.dialogs.Questions().empty()) << "an empty list: nothing happens, nothing is said";

  o.SetPaths({"/m/a", "/m/B", "/k/z", "/m/c"});
  o.w.BtnDownSort->click();
  EXPECT_EQ(o.Paths(), (TPaths{"/m/c", "/m/B", "/m/a", "/k/z"}));
  EXPECT_EQ(o.List().SelectedFlags(), (std::vector<bool>{true, false, false, false}));
  o.w.BtnSort->click();
  EXPECT_EQ(o.Paths(), (TPaths{"/k/z", "/m/a", "/m/B", "/m/c"})) << "by path, not by name";

  o.Select({1, 3});
  o.w.BtnUp->click();
  EXPECT_EQ(o.Paths(), (TPaths{"/m/a", "/m/c", "/k/z", "/m/B"}));
  EXPECT_EQ(o.List().SelectedFlags(), (std::vector<bool>{true, false, false, false}));
  EXPECT_EQ(o.List().Current(), 0);
  o.Select({0, 2});
  o.w.BtnDn->click();
  EXPECT_EQ(o.Paths(), (TPaths{"/m/c", "/m/B", "/m/a", "/k/z"}));
  EXPECT_EQ(o.List().Current(), 2);

  o.SetPaths({"/a", "/b", "/a"});
  o.Select({2});
  o.w.BtnUp->click();
  EXPECT_EQ(o.Paths(), (TPaths{"/a", "/a", "/b"})) << "the selected one of two equal entries";
  o.Select({0, 2});
  o.w.BtnDel->click();
  EXPECT_EQ(o.Paths(), TPaths{"/a"});
  EXPECT_EQ(o.w.LbListCount->text(), QStringLiteral("ファイル数：1"));
  o.w.BtnAllCls->click();
  EXPECT_EQ(o.w.LbListCount->text(), QStringLiteral("ファイル数：0"));
}

TEST(Wizard, DraggingTheSelectionDropsItAsOneBlock) {
  TOpen o;
  o.w.btnNext->click();
  o.SetPaths({"/0", "/1", "/2", "/3", "/4"});
  TWizardFileList& list = o.List();
  QWidget* viewport = list.viewport();
  const auto center = [&](int i) { return list.visualRect(list.Model().index(i)).center(); };
  o.Select({1, 2});
  QTest::mousePress(viewport, Qt::LeftButton, {}, center(2));
  QTest::mouseMove(viewport, center(2) + QPoint(0, 6));
  QTest::mouseMove(viewport, center(0));
  EXPECT_EQ(list.DropIndex(), 0);
  EXPECT_EQ(list.DropRect().top(), list.visualRect(list.Model().index(0)).top())
      << "above the focused entry: the mark is at the target's top";
  const QPoint below(5, viewport->height() - 2);
  QTest::mouseMove(viewport, below);
  EXPECT_EQ(list.DropIndex(), 4);
  EXPECT_EQ(list.DropRect().bottom(), list.visualRect(list.Model().index(4)).bottom());
  QTest::mouseRelease(viewport, Qt::LeftButton, {}, below);
  EXPECT_EQ(o.Paths(), (TPaths{"/0", "/3", "/4", "/1", "/2"})) << "below the last: to the end";
  EXPECT_EQ(list.SelectedFlags(), (std::vector<bool>{false, false, false, true, false}));
  EXPECT_EQ(list.DropIndex(), -1);

  o.Select({4});
  QTest::mousePress(viewport, Qt::LeftButton, {}, center(4));
  QTest::mouseMove(viewport, center(4) + QPoint(0, -6));
  QTest::mouseMove(viewport, center(1));
  QTest::mouseRelease(viewport, Qt::LeftButton, {}, center(1));
  EXPECT_EQ(o.Paths(), (TPaths{"/0", "/2", "/3", "/4", "/1"})) << "onto an entry above: before it";
}

TEST(Wizard, TheFileCheckKeepsWhatCanBeRegisteredAndReports) {
  TToolsFolder f;
  testing_support::WriteFile(f.Path("data.zzz"), std::string("\x00\x01\x02\xff\xfe", 5));
  TOpen o;
  o.w.btnNext->click();
  o.SetPaths({f.Path("sub"), f.Path("x.exe"), f.Path("notes.txt"), f.Path("data.zzz")});
  o.dialogs.PushMessageAnswer(mrOk);
  o.w.BtnCheck->click();
  EXPECT_EQ(o.Paths(), f.Paths({"sub", "x.exe", "notes.txt"}));
  EXPECT_EQ(o.w.LbListCount->text(), QStringLiteral("ファイル数：3"));
  ASSERT_EQ(o.dialogs.Questions().size(), 1u);
  const TAskedQuestion& q = o.dialogs.Questions()[0];
  EXPECT_EQ(q.Text, QStringLiteral("ファイルチェックが完了しました\r\r4 >> 3"));
  EXPECT_EQ(q.Caption, QStringLiteral("ファイルチェック"));
  EXPECT_EQ(q.Buttons, static_cast<unsigned>(mbOK));
  EXPECT_EQ(q.Type, TMsgType::Plain);
  EXPECT_EQ(QPoint(q.X, q.Y), o.At());
}

TEST(Wizard, TheFolderMethodBrowsesInsideTheSpecialFolderEachTimePage2IsEntered) {
  const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
  const std::string apps = desktop.toStdString() + "/apps";
  std::filesystem::create_directories(apps);
  testing_support::WriteFile(apps + "/a.exe", "");
  TOpen o;
  o.Method(wmFolderPage);
  o.w.CBoxFolder->setCurrentIndex(2);  // デスクトップ
  o.dialogs.PushFolder(QString::fromStdString(apps));
  o.w.btnNext->click();
  ASSERT_EQ(o.dialogs.Questions().size(), 1u);
  EXPECT_EQ(o.dialogs.Questions()[0].Caption, QStringLiteral("デスクトップ から追加"));
  EXPECT_EQ(o.dialogs.Questions()[0].Root, QDir::cleanPath(desktop));
  EXPECT_EQ(o.dialogs.Questions()[0].InitialText, QDir::cleanPath(desktop));
  EXPECT_EQ(o.Paths(), TPaths{apps + "/a.exe"});
  EXPECT_EQ(o.w.CboxPage->findText(QStringLiteral("apps")), 0);

  o.w.btnPrev->click();
  o.dialogs.PushCancel();
  o.w.btnNext->click();
  o.w.btnPrev->click();
  o.dialogs.PushFolder(QString::fromStdString(apps));
  o.w.btnNext->click();
  EXPECT_EQ(o.Paths(), (TPaths{apps + "/a.exe", apps + "/a.exe"}));

  // A special folder with no place on this system: told, and page 2 stays as it is.
  o.w.btnPrev->click();
  o.w.CBoxFolder->setCurrentIndex(4);  // お気に入り
  o.dialogs.PushMessageAnswer(mrOk);
  o.w.btnNext->click();
  EXPECT_EQ(o.w.ActivePage(), 1);
  EXPECT_EQ(o.dialogs.Questions().back().Type, TMsgType::Error);
  EXPECT_EQ(o.Paths().size(), 2u);

  o.w.btnPrev->click();
  o.Method(wmNewPage);
  o.w.btnNext->click();
  o.dialogs.PushFolder(QString::fromStdString(apps), QStringLiteral("アプリ"));
  o.w.BtnFolder->click();
  EXPECT_EQ(o.dialogs.Questions().back().Caption, QStringLiteral("フォルダから追加"));
  EXPECT_EQ(o.Paths().size(), 3u);
  EXPECT_EQ(o.w.CboxPage->itemText(o.w.CboxPage->count() - 1), QStringLiteral("アプリ"))
      << "the dialog's display name";
}

namespace {

// The wizard command as the main window runs it (see WizardMerge.h), with act run
// inside the wizard's modal loop.
bool RunWizardCommand(TGridFixture& g, const std::function<void(TRegistrationWizard&)>& act) {
  QTimer::singleShot(0, [act] {
    auto* w = qobject_cast<TRegistrationWizard*>(QApplication::activeModalWidget());
    ASSERT_NE(w, nullptr);
    act(*w);
    if (w->isVisible()) {
      ADD_FAILURE() << "the wizard is still open";
      w->reject();
    }
  });
  std::vector<std::string> names;
  std::vector<int> counts;
  WizardPages(g.grid, names, counts);
  const auto status = StatusOfGrid(g.grid);
  bool isNewPage = false;
  int target = -1;
  std::vector<std::string> row;
  if (!ExecuteWizard(0, 0, status->MinButtons, isNewPage, target, row, names,
                     TotalButtonCount(g.grid), status->MaxButtons, status->MaxPages, counts)) {
    EXPECT_TRUE(row.empty());
    EXPECT_EQ(target, -1);
    return false;
  }
  return MergeWizardRow(g.edit, isNewPage, target, row);
}

std::vector<std::vector<std::string>> Rows(const TGridStore& grid) {
  std::vector<std::vector<std::string>> rows;
  for (int r = 0; r < grid.RowCount(); ++r)
    rows.push_back(grid.Row(r));
  return rows;
}

void Walk(TRegistrationWizard& w, int pages) {
  for (int i = 0; i < pages; ++i)
    w.btnNext->click();
}

}  // namespace

TEST(WizardCommand, EveryWayOutButFinishLeavesTheGridAndFinishMergesTheRow) {
  TToolsFolder f;
  const TPaths good = f.Paths({"sub", "nothing.zzz", "x.url", "prog.exe"});
  TGridFixture g({2, 1, 3}, TGridFixture::Status(0, 0, 4));
  const auto before = Rows(g.grid);
  const auto fill = [&](TRegistrationWizard& w) { w.FileList().Model().SetPaths(good); };
  const std::vector<std::function<void(TRegistrationWizard&)>> ways = {
      [](TRegistrationWizard& w) { w.btnPrev->click(); },
      [](TRegistrationWizard& w) { w.close(); },
      [&](TRegistrationWizard& w) { Walk(w, 1), fill(w), w.close(); },
      [&](TRegistrationWizard& w) { Walk(w, 2), fill(w), QTest::keyClick(&w, Qt::Key_Escape); },
      [](TRegistrationWizard& w) { Walk(w, 3); },  // Finish with an empty list
      [&](TRegistrationWizard& w) {
        Walk(w, 1);
        w.FileList().Model().SetPaths(f.Paths({"nothing.zzz", "missing.txt"}));
        Walk(w, 2);
      },
  };
  g.dialogs.PushMessageAnswer(mrOk);  // the files named, in one box
  g.dialogs.PushMessageAnswer(mrOk);  // nothing could be registered
  for (const auto& way : ways) {
    EXPECT_FALSE(RunWizardCommand(g, way));
    EXPECT_EQ(Rows(g.grid), before);
    EXPECT_EQ(g.IconTitles(3), (TTitles{"p2-0", "p2-1", "p2-2"}));
  }
  ASSERT_EQ(g.dialogs.Questions().size(), 2u);
  EXPECT_EQ(g.dialogs.Questions()[0].Caption, QStringLiteral("登録エラー"));
  EXPECT_EQ(g.dialogs.Questions()[0].Text,
            RefusedPathsMessage(f.Paths({"nothing.zzz", "missing.txt"})));
  EXPECT_EQ(g.dialogs.Questions()[1].Text, NothingRegisteredMessage());

  g.dialogs.PushMessageAnswer(mrOk);  // the file left out is named
  ASSERT_TRUE(RunWizardCommand(g, [&](TRegistrationWizard& w) {
    Walk(w, 1);
    fill(w);
    Walk(w, 1);
    w.PageBox->setCurrentRow(1);
    w.CboxPage->setEditText(QStringLiteral("道具"));
    Walk(w, 1);
  }));
  ASSERT_EQ(PageCount(g.grid), 4);
  EXPECT_EQ(g.Caption(2), Sjis("道具"));
  EXPECT_EQ(g.Titles(2), (TTitles{"sub", "x", "prog.exe", Sjis("未登録")}));
  ASSERT_EQ(g.dialogs.Questions().size(), 3u);
  EXPECT_EQ(g.dialogs.Questions()[2].Text, RefusedPathsMessage(f.Paths({"nothing.zzz"})));
  EXPECT_EQ(g.Caption(3), "p1") << "the chosen page moved down";
  EXPECT_EQ(g.IconTitles(4), (TTitles{"p2-0", "p2-1", "p2-2"}));
  EXPECT_EQ(g.edit.Row, 2);
}

TEST(WizardCommand, TheLimitsOfTheDataFileHold) {
  TToolsFolder f;
  TGridFixture g({3, 1}, TGridFixture::Status(2, 5, 1));
  g.dialogs.PushMessageAnswer(mrOk);
  ASSERT_TRUE(RunWizardCommand(g, [&](TRegistrationWizard& w) {
    EXPECT_EQ(w.Method(), wmAddToPage) << "two pages of two: no new page";
    Walk(w, 1);
    w.FileList().Model().SetPaths(f.Paths({"c.exe", "prog.exe", "tool.COM", "sub"}));
    Walk(w, 2);
  }));
  EXPECT_EQ(g.Titles(1), (TTitles{"p0-0", "p0-1", "p0-2", "c.exe", "prog.exe"}));
  EXPECT_EQ(g.Caption(1), "p0");
  ASSERT_EQ(g.dialogs.Questions().size(), 1u);
  EXPECT_EQ(
      g.dialogs.Questions()[0].Text,
      QStringLiteral(
          "1ページに登録できるボタンは 5 個までです。\r2 個のファイルは登録されませんでした。"));
}
