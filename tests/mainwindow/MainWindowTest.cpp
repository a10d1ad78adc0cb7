// Drives the real main window offscreen: start-up, the grid's cells and icons, the
// selection rule, hover, wheel, title line and hints, double-clicks and the pop-up menu.
#include <QAction>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <QUrl>
#include <filesystem>

#include <gtest/gtest.h>

#include "ButtonListBox.h"
#include "GridRules.h"
#include "GridView.h"
#include "MainWindow.h"
#include "PageEditDialog.h"
#include "RecordText.h"
#include "ScriptedDialogs.h"
#include "TestSupport.h"

using testing_support::Sjis;
using testing_support::TTempDir;

#include "ListColumns.h"
#include "MainWindowFixture.h"

using namespace main_window_test;

// Opening reads no button's icon: a cell's icon is read when the cell is first drawn.
TEST(MainWindowStartup, ReadsAnIconWhenItsCellIsFirstDrawn) {
  TTempDir dir;
  const std::string file = DataFile(dir, {{"one", 3}, {"two", 2}});
  TStarted s({"pelledit", "/F", Q(file)});
  ASSERT_TRUE(s.accepted);
  const TIconList& icons = s.form.IconGrid().Get(0);
  EXPECT_TRUE(icons.Get(0).Icon.isNull());
  s.form.resize(490, 436);
  (void)s.form.grab();
  EXPECT_FALSE(icons.Get(0).Icon.isNull());
  EXPECT_FALSE(s.form.IconGrid().Get(1).Get(1).Icon.isNull());
}

TEST(MainWindowStartup, FillsTheGridWithEveryRecordAndOneIconPerButton) {
  TTempDir dir;
  const std::string file = DataFile(dir, {{"one", 3}, {Sjis("二番目のページ"), 2}, {"empty", 0}});
  TStarted s({"pelledit", "/F", Q(file)});
  ASSERT_TRUE(s.accepted);
  TGridStore& g = s.form.Store();
  EXPECT_EQ(g.RowCount(), 4);
  EXPECT_EQ(g.Cell(0, 0), StatusToText(TDataStatus()));
  EXPECT_EQ(CaptionOfText(g.Cell(0, 2)), Sjis("二番目のページ"));
  EXPECT_EQ(TitleOfText(g.Cell(3, 1)), "one-2");
  EXPECT_EQ(g.Cell(4, 1), "");
  ASSERT_EQ(s.form.IconGrid().Count(), 3);
  EXPECT_EQ(s.form.IconGrid().Get(0).Count(), 3);
  EXPECT_EQ(s.form.IconGrid().Get(1).Count(), 2);
  EXPECT_EQ(s.form.IconGrid().Get(2).Count(), 0);

  // The progress box ran and waited for its Ok.
  ASSERT_FALSE(s.dialogs.Questions().empty());
  EXPECT_EQ(s.dialogs.Questions().back().Kind, TQuestionKind::ProgressOk);

  const QFontMetrics metrics(s.form.Grid().font());
  const int widest = metrics.horizontalAdvance(QStringLiteral("二番目のページ")) + 8;
  EXPECT_EQ(s.form.NameColWidth, std::max(80, widest));
  EXPECT_EQ(s.form.Grid().NameColumnWidth(), s.form.NameColWidth);
  EXPECT_EQ(s.form.SaveFileName, Q(file));
  EXPECT_FALSE(s.form.SaveOnClose);
  EXPECT_TRUE(s.form.mnSave->isVisible());
}

TEST(MainWindowStartup, RefusesBadCommandLinesWithoutWritingTheIniFile) {
  TTempDir dir;
  const std::string file = DataFile(dir, {{"p", 1}});
  testing_support::WriteFile(dir.File("junk.lst"), "junk");
  for (const QStringList& args :
       {QStringList{"pelledit"}, QStringList{"pelledit", "/FA", Q(file)},
        QStringList{"pelledit", "-F", Q(file)}, QStringList{"pelledit", "/F"},
        QStringList{"pelledit", "/F", Q(dir.File("none.lst"))},
        QStringList{"pelledit", "/F", Q(dir.File("junk.lst"))}}) {
    TStarted s(args);
    EXPECT_FALSE(s.accepted) << args.join(' ').toStdString();
    s.form.close();
  }
  EXPECT_FALSE(std::filesystem::exists(dir.File(IniName())));
}

TEST(MainWindowStartup, FasHidesTheSaveItemAndTheSizeLivesBesideTheFile) {
  TTempDir dir;
  const std::string file = DataFile(dir, {{"p", 1}});
  testing_support::WriteFile(dir.File(IniName()), "[Bounds]\nWidth=600\nHeight=500\n");
  TStarted s({"pelledit", "/fas", Q(file)});
  ASSERT_TRUE(s.accepted);
  EXPECT_TRUE(s.form.SaveOnClose);
  EXPECT_FALSE(s.form.mnSave->isVisible());
  EXPECT_FALSE(qobject_cast<QMenu*>(s.form.mnSave->parent())->actions()[1]->isVisible())
      << "nor the line under it";
  s.form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&s.form));
  // The remembered size is the outer one: the frame is inside it, so a size read and
  // written again does not grow by the frame on every run.
  EXPECT_EQ(s.form.frameGeometry().size(), QSize(600, 500));
  s.dialogs.PushMessageAnswer(mrNo);  // save? no
  s.form.close();
  const std::string ini = testing_support::ReadFile(dir.File(IniName()));
  EXPECT_NE(ini.find("Width=600"), std::string::npos) << ini;
  EXPECT_NE(ini.find("Height=500"), std::string::npos) << ini;
}

TEST(MainWindowGrid, SelectionFollowsThePointerOnlyOverButtons) {
  TTempDir dir;
  const std::string file = DataFile(dir, {{"three", 3}, {"one", 1}});
  TStarted s({"pelledit", "/F", Q(file)});
  ASSERT_TRUE(s.accepted);
  s.form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&s.form));
  TGridView& grid = s.form.Grid();
  EXPECT_EQ(grid.Col(), 1);
  EXPECT_EQ(grid.Row(), 1);

  QWidget* viewport = grid.viewport();
  QTest::mouseMove(viewport, CenterOf(s.form, 3, 1));
  EXPECT_EQ(grid.Col(), 3);
  EXPECT_EQ(s.form.TitleLabel().text(), QStringLiteral("[ three ] [使用回数 : 2 ] three-2"));
  QTest::mouseMove(viewport, CenterOf(s.form, 5, 1));
  EXPECT_EQ(grid.Col(), 3) << "past the last button the current cell stays";
  QTest::mouseMove(viewport, CenterOf(s.form, 3, 2));
  EXPECT_EQ(grid.Row(), 1) << "row 2 has one button: column 3 refuses the row change";
  // Row first, then column: from (3, 1) the row change is refused, the column taken;
  // the next move over the same cell then takes the row.
  QTest::mouseMove(viewport, CenterOf(s.form, 1, 2));
  EXPECT_EQ(grid.Row(), 1);
  EXPECT_EQ(grid.Col(), 1);
  QTest::mouseMove(viewport, CenterOf(s.form, 1, 2) + QPoint(2, 2));
  EXPECT_EQ(grid.Row(), 2);
  EXPECT_EQ(grid.Col(), 1);

  grid.setFocus();
  QTest::keyClick(&grid, Qt::Key_Right);
  EXPECT_EQ(grid.Col(), 1) << "the keys obey the same rule";
  QTest::keyClick(&grid, Qt::Key_Up);
  QTest::keyClick(&grid, Qt::Key_Right);
  QTest::keyClick(&grid, Qt::Key_Right);
  QTest::keyClick(&grid, Qt::Key_Right);
  EXPECT_EQ(grid.Row(), 1);
  EXPECT_EQ(grid.Col(), 3);
}

TEST(MainWindowGrid, HintShowsTheCommentAsLines) {
  TTempDir dir;
  const std::string file = DataFile(dir, {{"p", 3}});
  TStarted s({"pelledit", "/F", Q(file)});
  ASSERT_TRUE(s.accepted);
  s.form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&s.form));
  QTest::mouseMove(s.form.Grid().viewport(), CenterOf(s.form, 2, 1));
  QString text;
  int ac = 0, ar = 0;
  ASSERT_TRUE(s.form.GridHintAt(2, 1, text, ac, ar));
  EXPECT_EQ(text, QStringLiteral("p-1 : \na\nb\n使用回数 : 1"));
  EXPECT_EQ(ac, 2);
  ASSERT_TRUE(s.form.GridHintAt(0, 1, text, ac, ar));
  EXPECT_EQ(text, QStringLiteral("ページ名: p"));
  EXPECT_FALSE(s.form.GridHintAt(5, 1, text, ac, ar));
}

namespace {

// The hint on screen: its label, and its text as the label renders it.
QLabel* ShownHint() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == QLatin1String("qtooltip_label") && w->isVisible())
      return qobject_cast<QLabel*>(w);
  return nullptr;
}
QString RenderedText(const QLabel& label) {
  QTextDocument doc;
  doc.setHtml(label.text());
  return doc.toPlainText();
}

}  // namespace

TEST(MainWindowGrid, HintsShowDataAsPlainTextAtTheCellsTopRight) {
  TTempDir dir;
  const std::string name = Sjis("<b>太字</b>&amp;");
  const std::string file = DataFile(dir, {{name, 3}});
  TStarted s({"pelledit", "/F", Q(file)});
  ASSERT_TRUE(s.accepted);
  s.form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&s.form));
  TGridView& grid = s.form.Grid();

  QWidget* names = grid.verticalHeader()->viewport();
  const QPoint onName = names->mapFrom(&grid, grid.CellRect(0, 1).center());
  QHelpEvent nameHint(QEvent::ToolTip, onName, names->mapToGlobal(onName));
  QApplication::sendEvent(names, &nameHint);
  QLabel* hint = ShownHint();
  ASSERT_NE(hint, nullptr);
  EXPECT_EQ(RenderedText(*hint), QStringLiteral("ページ名: <b>太字</b>&amp;"));
  const QRect nameCell = grid.CellRect(0, 1);
  EXPECT_EQ(hint->pos(), grid.mapToGlobal(QPoint(nameCell.right() - 4, nameCell.top() + 4)));

  QTest::mouseMove(grid.viewport(), CenterOf(s.form, 2, 1));
  const QPoint onButton = CenterOf(s.form, 2, 1);
  QHelpEvent buttonHint(QEvent::ToolTip, onButton, grid.viewport()->mapToGlobal(onButton));
  QApplication::sendEvent(grid.viewport(), &buttonHint);
  hint = ShownHint();
  ASSERT_NE(hint, nullptr);
  EXPECT_EQ(RenderedText(*hint), QStringLiteral("<b>太字</b>&amp;-1 : \na\nb\n使用回数 : 1"));
  const QRect buttonCell = grid.CellRect(2, 1);
  EXPECT_EQ(hint->pos(), grid.mapToGlobal(QPoint(buttonCell.right() - 4, buttonCell.top() + 4)));
  QToolTip::hideText();
}

TEST(MainWindowGrid, DoubleClickOnTheCornerTogglesTheNameColumn) {
  TTempDir dir;
  const std::string file = DataFile(dir, {{std::string(30, 'W'), 1}});
  TStarted s({"pelledit", "/F", Q(file)});
  ASSERT_TRUE(s.accepted);
  const int wide = s.form.NameColWidth;
  ASSERT_GT(wide, 80);
  EXPECT_EQ(s.form.Grid().NameColumnWidth(), wide);
  s.form.GridDblClick(0, 0);
  EXPECT_EQ(s.form.Grid().NameColumnWidth(), 80);
  s.form.GridDblClick(0, 0);
  EXPECT_EQ(s.form.Grid().NameColumnWidth(), wide);

  int renames = 0, edits = 0;
  QObject::connect(s.form.mnPageRename, &QAction::triggered, [&] { ++renames; });
  QObject::connect(s.form.mnBtnEdit, &QAction::triggered, [&] { ++edits; });
  s.dialogs.PushCancel();
  s.form.GridDblClick(0, 1);
  QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });  // the edit dialog
  s.form.GridDblClick(2, 1);  // the first empty cell
  s.form.GridDblClick(3, 1);  // beyond it: nothing
  EXPECT_EQ(renames, 1);
  EXPECT_EQ(edits, 1);
}

TEST(MainWindowGrid, WheelScrollsOneLineAndMovesTheCurrentCell) {
  TTempDir dir;
  std::vector<std::pair<std::string, int>> pages;
  for (int p = 0; p < 30; ++p)
    pages.push_back({"p" + std::to_string(p), 40});
  const std::string file = DataFile(dir, pages);
  TStarted s({"pelledit", "/F", Q(file)});
  ASSERT_TRUE(s.accepted);
  s.form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&s.form));
  TGridView& grid = s.form.Grid();
  const QPoint at = CenterOf(s.form, 1, 1);
  QWheelEvent down(at, grid.viewport()->mapToGlobal(at), {}, {0, -120}, Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(grid.viewport(), &down);
  EXPECT_EQ(grid.verticalScrollBar()->value(), 1);
  EXPECT_EQ(grid.Row(), 2);
  QWheelEvent right(at, grid.viewport()->mapToGlobal(at), {}, {0, -120}, Qt::NoButton,
                    Qt::ControlModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(grid.viewport(), &right);
  EXPECT_EQ(grid.horizontalScrollBar()->value(), 1);
  EXPECT_EQ(grid.Col(), 2);

  // A fine wheel or a touchpad sends parts of a notch: four quarters make one line.
  for (int part = 1; part <= 4; ++part) {
    QWheelEvent quarter(at, grid.viewport()->mapToGlobal(at), {}, {0, -30}, Qt::NoButton,
                        Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid.viewport(), &quarter);
    EXPECT_EQ(grid.verticalScrollBar()->value(), part < 4 ? 1 : 2) << "after part " << part;
  }
}

TEST(MainWindowGrid, PopupMenuItemsFollowTheColumnAndTheLimits) {
  TTempDir dir;
  TDataStatus status;
  status.MaxPages = 2;
  status.MinButtons = 1;
  const std::string file = DataFile(dir, {{"a", 2}, {"b", 1}}, status);
  TStarted s({"pelledit", "/F", Q(file)});
  ASSERT_TRUE(s.accepted);
  TMainWindow& f = s.form;
  EXPECT_TRUE(f.GridContextPopup(0, 1));
  f.UpdateGridMenu(0);
  EXPECT_TRUE(f.PopupCopy(f.mnPageNew)->isVisible());
  EXPECT_FALSE(f.PopupCopy(f.mnPageNew)->isEnabled()) << "at the page limit";
  EXPECT_FALSE(f.PopupCopy(f.mnCopy)->isVisible());
  EXPECT_FALSE(f.PopupCopy(f.mnPageUp)->isEnabled());

  EXPECT_TRUE(f.GridContextPopup(2, 1));
  f.UpdateGridMenu(2);
  EXPECT_FALSE(f.PopupCopy(f.mnPageNew)->isVisible());
  EXPECT_TRUE(f.PopupCopy(f.mnCopy)->isVisible());
  EXPECT_FALSE(f.PopupCopy(f.mnPaste)->isEnabled());
  EXPECT_TRUE(f.PopupCopy(f.mnBtnDel)->isEnabled());
  EXPECT_FALSE(f.GridContextPopup(4, 1)) << "beyond the first empty cell";
  EXPECT_FALSE(f.GridContextPopup(3, 0)) << "the header row";

  const QList<QAction*> items = f.PopupMenu().actions();
  ASSERT_EQ(items.size(), 18);
  // The caption alone, as a screen reader reads it; the shortcut rides on the item.
  EXPECT_EQ(items[0]->text(), QStringLiteral("編集(&E)..."));
  EXPECT_EQ(items[0]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));
  EXPECT_EQ(items[0], f.PopupCopy(f.mnBtnEdit));
  EXPECT_EQ(items[17], f.PopupCopy(f.mnBtnDel));
  EXPECT_EQ(f.mnBtnDel->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Delete));
  EXPECT_EQ(f.mnBtnAdd->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_Insert));
}

TEST(MainWindowGrid, ShortcutsOfHiddenPopupItemsStillWork) {
  TTempDir dir;
  const std::string file = DataFile(dir, {{"a", 2}, {"b", 1}});
  TStarted s({"pelledit", "/F", Q(file)});
  ASSERT_TRUE(s.accepted);
  TMainWindow& f = s.form;
  f.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
  TGridView& grid = f.Grid();
  grid.setFocus();
  int newPages = 0, copies = 0;
  QObject::connect(f.mnPageNew, &QAction::triggered, [&] { ++newPages; });
  QObject::connect(f.mnCopy, &QAction::triggered, [&] { ++copies; });

  f.UpdateGridMenu(1);  // over a button: the page items are hidden
  ASSERT_FALSE(f.PopupCopy(f.mnPageNew)->isVisible());
  s.dialogs.PushCancel();
  s.dialogs.PushMessageAnswer(mrOk);
  QTest::keyClick(&grid, Qt::Key_N, Qt::ControlModifier);
  f.UpdateGridMenu(0);  // over a page name: the button items are hidden
  ASSERT_FALSE(f.PopupCopy(f.mnCopy)->isVisible());
  QTest::keyClick(&grid, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(newPages, 1);
  EXPECT_EQ(copies, 1);
}

// The menu's greyed items are the menu's: the shortcuts act whenever their command would.
TEST(MainWindowGrid, ShortcutsDoNotKeepTheStateOfTheLastMenu) {
  TTempDir dir;
  const std::string file = DataFile(dir, {{"a", 3}});  // kinds 0 (unregistered), 1, 2
  TStarted s({"pelledit", "/F", Q(file)});
  ASSERT_TRUE(s.accepted);
  TMainWindow& f = s.form;
  f.Grid().PlaceCurrent(1, 1);
  f.UpdateGridMenu(1);
  EXPECT_FALSE(f.PopupCopy(f.mnBtnCls)->isEnabled());
  f.Grid().PlaceCurrent(2, 1);
  s.dialogs.PushMessageAnswer(mrYes);
  f.mnBtnCls->trigger();
  EXPECT_EQ(KindOfText(f.Store().Cell(2, 1)), lkNone);
}

// A page name, and the first empty cell after a page's buttons, act on that page even
// when the current column lies past its buttons or it has none.
TEST(MainWindowGrid, APageNameOrTheCellAfterItsButtonsActsOnItsOwnPage) {
  TTempDir dir;
  const std::string file = DataFile(dir, {{"a", 3}, {"b", 1}, {"e", 0}});
  TStarted s({"pelledit", "/F", Q(file)});
  ASSERT_TRUE(s.accepted);
  TMainWindow& f = s.form;
  TGridView& grid = f.Grid();
  const auto at = [&] { return std::pair(grid.Col(), grid.Row()); };
  grid.PlaceCurrent(3, 1);
  EXPECT_TRUE(f.GridContextPopup(0, 2));
  EXPECT_EQ(at(), std::pair(1, 2)) << "b's last button";
  EXPECT_TRUE(f.GridContextPopup(0, 3));
  EXPECT_EQ(at(), std::pair(1, 3)) << "a page without buttons";
  EXPECT_EQ(f.TitleLabel().text(), QStringLiteral("[ e ]"));
  grid.PlaceCurrent(3, 1);
  EXPECT_TRUE(f.GridContextPopup(2, 2));
  EXPECT_EQ(at(), std::pair(1, 2));
  grid.PlaceCurrent(3, 1);
  s.dialogs.PushCancel();
  f.GridDblClick(0, 3);
  EXPECT_EQ(at(), std::pair(1, 3));

  // A moved page leaves the current cell on the page its row shows now.
  grid.PlaceCurrent(3, 1);
  f.mnPageDown->trigger();
  EXPECT_EQ(at(), std::pair(1, 1));
  EXPECT_TRUE(f.TitleLabel().text().startsWith(QStringLiteral("[ b ]")))
      << f.TitleLabel().text().toStdString();
}

TEST(MainWindowGrid, TheCurrentCellIsHighlightedOnlyWithFocus) {
  TTempDir dir;
  const std::string file = DataFile(dir, {{"p", 2}});
  TStarted s({"pelledit", "/F", Q(file)});
  ASSERT_TRUE(s.accepted);
  s.form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&s.form));
  TGridView& grid = s.form.Grid();
  const QPoint probe = CenterOf(s.form, 1, 1) + QPoint(17, 17);  // beside the icon
  const QColor highlight = grid.palette().color(QPalette::Highlight);
  grid.clearFocus();
  QImage unfocused = grid.viewport()->grab().toImage();
  EXPECT_NE(unfocused.pixelColor(probe), highlight);
  grid.setFocus();
  QApplication::processEvents();
  if (!grid.hasFocus()) GTEST_SKIP() << "no focus on this platform";
  QImage focused = grid.viewport()->grab().toImage();
  EXPECT_EQ(focused.pixelColor(probe), highlight);
}

// Columns too wide for their list give way from the widest, never below the floor (nor
// a narrow column below its own width), so that every column stays in view.
TEST(ListColumns, TheWidestColumnsGiveWayFirst) {
  const int natural[] = {100, 400, 300, 50};
  int widths[4];
  FitWidths(widths, natural, 4, 1000, 60);
  EXPECT_EQ(std::vector<int>(widths, widths + 4), (std::vector<int>{100, 400, 300, 50}));
  FitWidths(widths, natural, 4, 600, 60);
  EXPECT_EQ(std::vector<int>(widths, widths + 4), (std::vector<int>{100, 225, 225, 50}));
  FitWidths(widths, natural, 4, 100, 60);
  EXPECT_EQ(std::vector<int>(widths, widths + 4), (std::vector<int>{60, 60, 60, 50}))
      << "no room: every column at the floor";
}
