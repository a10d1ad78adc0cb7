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

namespace {

// A data file of pages with the given names and button counts, written into dir.
std::string DataFile(const TTempDir& dir, std::vector<std::pair<std::string, int>> pages,
                     const TDataStatus& status = TDataStatus()) {
  TLaunchList list;
  list.DeletePage(0);
  list.Status = status;
  int p = 0;
  for (const auto& [name, count] : pages) {
    list.AddPage(name, count, 0);
    for (int b = 0; b < count; ++b) {
      TLaunchDataItem& item = list.Items(p, b);
      item.Kind = static_cast<std::uint8_t>(b % 8);
      item.Title = name + "-" + std::to_string(b);
      item.UseCount = b;
      if (b == 1) item.Comment = "a\\nb";
    }
    ++p;
  }
  const std::string file = dir.File("data.lst");
  SaveToTextFile(list, file);
  return file;
}

// The initialisation file's name: the program's own name with ".ini".
std::string IniName() {
  return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString() +
         ".ini";
}

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

// A started window with its scripted dialogs.
struct TStarted {
  TScriptedDialogs dialogs;
  TDialogsScope scope{dialogs};
  TMainWindow form;
  bool accepted = false;
  explicit TStarted(const QStringList& args) { accepted = form.FormCreate(args); }
};

QPoint CenterOf(TMainWindow& form, int c, int r) {
  return form.Grid().CellRect(c, r).center() - form.Grid().viewport()->geometry().topLeft();
}

}  // namespace

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
  EXPECT_EQ(items[0]->text(), QStringLiteral("編集(&E)...\tCtrl+E"));
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

TEST(MainWindowCommands, EveryCommandRunsFromItsShortcutAndItsMenuItem) {
  TTempDir dir;
  TDataStatus status;
  status.MinButtons = 1;
  const std::string file = DataFile(dir, {{"a", 2}, {"b", 1}}, status);
  TStarted s({"pelledit", "/F", Q(file)});
  ASSERT_TRUE(s.accepted);
  TMainWindow& f = s.form;
  f.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
  TGridView& grid = f.Grid();
  grid.setFocus();
  TGridStore& g = f.Store();
  const auto key = [&](int k, Qt::KeyboardModifiers m) {
    QTest::keyClick(&grid, static_cast<Qt::Key>(k), m);
  };

  s.dialogs.PushNumber(2);
  key(Qt::Key_Insert, Qt::ShiftModifier);  // add
  EXPECT_EQ(CountOfRow(g, 1), 4);
  s.dialogs.PushNumber(1);
  key(Qt::Key_Insert, Qt::ControlModifier);  // insert after (1, 1)
  EXPECT_EQ(TitleOfText(g.Cell(3, 1)), "a-1");
  s.dialogs.PushMessageAnswer(mrYes);
  key(Qt::Key_Delete, Qt::ControlModifier);
  EXPECT_EQ(CountOfRow(g, 1), 4);
  EXPECT_EQ(TitleOfText(g.Cell(1, 1)), Sjis("未登録"));
  key(Qt::Key_Right, Qt::NoModifier);
  key(Qt::Key_C, Qt::ControlModifier);
  key(Qt::Key_Down, Qt::NoModifier);
  grid.PlaceCurrent(1, 2);
  key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(g.Cell(1, 2), g.Cell(2, 1));
  s.dialogs.PushMessageAnswer(mrYes);
  key(Qt::Key_G, Qt::ControlModifier);  // clear
  EXPECT_EQ(TitleOfText(g.Cell(1, 2)), Sjis("未登録"));
  key(Qt::Key_Up, Qt::ControlModifier);  // page b moves up; the current cell stays
  EXPECT_EQ(CaptionOfText(g.Cell(0, 1)), "b");
  EXPECT_EQ(grid.Row(), 2);
  key(Qt::Key_Up, Qt::NoModifier);
  key(Qt::Key_Down, Qt::ControlModifier);
  EXPECT_EQ(CaptionOfText(g.Cell(0, 2)), "b");
  s.dialogs.PushText(QStringLiteral("c"));
  key(Qt::Key_N, Qt::ControlModifier);  // before the current page
  EXPECT_EQ(CaptionOfText(g.Cell(0, 1)), "c");
  s.dialogs.PushText(QStringLiteral("renamed"));
  key(Qt::Key_M, Qt::ControlModifier);
  EXPECT_EQ(CaptionOfText(g.Cell(0, 1)), "renamed");
  s.dialogs.PushMessageAnswer(mrYes);
  key(Qt::Key_D, Qt::ControlModifier);
  EXPECT_EQ(g.RowCount(), 3);
  EXPECT_EQ(f.IconGrid().Count(), 2);
  EXPECT_EQ(s.dialogs.PendingAnswers(), 0);

  // The menu's copies run the same commands.
  s.dialogs.PushNumber(1);
  f.PopupCopy(f.mnBtnAdd)->trigger();
  s.dialogs.PushText(QStringLiteral("d"));
  f.PopupCopy(f.mnPageNew)->trigger();
  EXPECT_EQ(g.RowCount(), 4);
  s.dialogs.PushMessageAnswer(mrOk);
  f.mnProp->trigger();
  EXPECT_TRUE(s.dialogs.Questions().back().Text.contains(QStringLiteral("[登録ページ数]：3")));
  s.dialogs.PushMessageAnswer(mrOk);
  f.mnAbout->trigger();
  EXPECT_TRUE(
      s.dialogs.Questions().back().Text.startsWith(QStringLiteral("[Pello Data Editor  Version ")))
      << s.dialogs.Questions().back().Text.toStdString();
}

TEST(MainWindowCommands, SavedEditsLoadBackAndAFailedSaveKeepsFileAndWindow) {
  TTempDir dir;
  const std::string file = DataFile(dir, {{"a", 2}});
  const std::string before = testing_support::ReadFile(file);
  for (const char* mode : {"/F", "/FAS"}) {
    TStarted s({"pelledit", mode, Q(file)});
    ASSERT_TRUE(s.accepted);
    s.form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&s.form));
    s.dialogs.PushText(QStringLiteral("new"));
    s.form.mnPageNewClick();
    {
      testing_support::TFileSizeLimit limit(8);
      s.dialogs.PushMessageAnswer(mrYes);
      s.dialogs.PushMessageAnswer(mrYes);  // no backup can be made: save anyway
      s.dialogs.PushMessageAnswer(mrOk);   // the save error
      if (s.form.SaveOnClose) {
        s.form.close();
      } else {
        s.form.mnSave->trigger();
        EXPECT_EQ(s.dialogs.Questions().back().Caption, QStringLiteral("保存エラー"));
        s.dialogs.PushMessageAnswer(mrCancel);  // /F with edits asks too
        s.form.close();
      }
    }
    EXPECT_TRUE(s.form.isVisible()) << mode;
    EXPECT_EQ(testing_support::ReadFile(file), before) << mode;
    EXPECT_EQ(s.dialogs.Questions().back().Caption,
              s.form.SaveOnClose ? QStringLiteral("保存エラー") : QStringLiteral("保存の確認"))
        << mode;
  }

  TStarted s({"pelledit", "/FAS", Q(file)});
  ASSERT_TRUE(s.accepted);
  s.form.show();
  s.dialogs.PushText(QStringLiteral("new"));
  s.form.mnPageNewClick();
  s.dialogs.PushMessageAnswer(mrYes);
  s.form.close();
  EXPECT_FALSE(s.form.isVisible());
  TStarted again({"pelledit", "/F", Q(file)});
  ASSERT_TRUE(again.accepted);
  for (int r = 0; r < s.form.Store().RowCount(); ++r)
    EXPECT_EQ(again.form.Store().Row(r), s.form.Store().Row(r)) << "row " << r;
}

TEST(MainWindowCommands, AnImportKeepsTheSaveTarget) {
  TTempDir dir;
  std::filesystem::rename(DataFile(dir, {{"x", 2}, {"y", 1}}), dir.File("other.csv"));
  const std::string data = DataFile(dir, {{"a", 1}});
  TStarted s({"pelledit", "/F", Q(data)});
  ASSERT_TRUE(s.accepted);
  s.dialogs.PushMessageAnswer(mrOk);
  s.dialogs.PushFileName(Q(dir.File("other.txt")));
  s.form.mnInpClick();
  EXPECT_EQ(s.form.Store().RowCount(), 3);
  EXPECT_EQ(CaptionOfText(s.form.Store().Cell(0, 1)), "x");
  EXPECT_EQ(s.form.SaveFileName, Q(data));
}

TEST(MainWindowCommands, TheEditDialogWritesThePageBackOnOkOnly) {
  TTempDir dir;
  const std::string file = DataFile(dir, {{"a", 3}, {"b", 1}});
  TStarted s({"pelledit", "/F", Q(file)});
  ASSERT_TRUE(s.accepted);
  TGridStore& g = s.form.Store();
  s.form.Grid().PlaceCurrent(2, 1);
  const std::vector<std::string> before = g.Row(1);
  QTimer::singleShot(0, [] {
    auto* d = qobject_cast<TPageEditDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->ButtonList().Current(), 1) << "the current button";
    d->BtnDownSort->click();
    d->BtnCancel->click();
  });
  s.form.mnBtnEdit->trigger();
  EXPECT_EQ(g.Row(1), before);

  QTimer::singleShot(0, [] {
    auto* d = qobject_cast<TPageEditDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(d, nullptr);
    d->BtnDownSort->click();
    d->EdPage->setText(QStringLiteral("renamed"));
    d->BtnOk->click();
  });
  s.form.mnBtnEdit->trigger();
  EXPECT_EQ(CaptionOfText(g.Cell(0, 1)), "renamed");
  EXPECT_EQ(TitleOfText(g.Cell(1, 1)), "a-2");
  EXPECT_EQ(TitleOfText(g.Cell(3, 1)), "a-0");
  EXPECT_EQ(s.form.IconGrid().Get(0).Count(), 3);
}

namespace {

// Sends a drag move and then a drop of data over point at of widget.
void DragAndDrop(QWidget* widget, const QPoint& at, const QMimeData& data) {
  QDragEnterEvent enter(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &enter);
  QDragMoveEvent move(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &move);
  QDropEvent drop(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &drop);
}

}  // namespace

TEST(MainWindowDragDrop, PagesAndButtonsMoveByDragging) {
  TTempDir dir;
  TDataStatus status;
  status.MinButtons = 1;
  const std::string file = DataFile(dir, {{"a", 2}, {"b", 3}, {"c", 1}, {"d", 1}}, status);
  TStarted s({"pelledit", "/F", Q(file)});
  ASSERT_TRUE(s.accepted);
  s.form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&s.form));
  TGridView& grid = s.form.Grid();
  TGridStore& g = s.form.Store();
  QMimeData inside;
  inside.setData(QLatin1String(kGridDragFormat), QByteArray(kGridDragMark));

  // Page row 4 onto the name of row 2, with the drop mark across row 2 on the way.
  QWidget* names = grid.verticalHeader()->viewport();
  const QPoint onRow2 = names->mapFrom(&grid, grid.CellRect(0, 2).center());
  ASSERT_TRUE(s.form.GridStartDrag(0, 4));
  QDragEnterEvent enter(onRow2, Qt::MoveAction, &inside, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(names, &enter);
  QDragMoveEvent over(onRow2, Qt::MoveAction, &inside, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(names, &over);
  EXPECT_TRUE(over.isAccepted());
  EXPECT_EQ(s.form.DropMarkRow, 2);
  EXPECT_EQ(s.form.DropMarkRect.width(), grid.width());
  DragAndDrop(names, onRow2, inside);
  s.form.GridEndDrag();
  EXPECT_EQ(CaptionOfText(g.Cell(0, 2)), "d");
  EXPECT_EQ(CaptionOfText(g.Cell(0, 3)), "b");
  EXPECT_EQ(CaptionOfText(g.Cell(0, 4)), "c");
  EXPECT_EQ(s.form.DropMarkRow, -1);

  // Button 2 of page a onto the registered button 2 of page b (now row 3): moved in
  // before it, and current.
  ASSERT_TRUE(s.form.GridStartDrag(2, 1));
  EXPECT_FALSE(s.form.DragObject.Images().isNull());
  DragAndDrop(grid.viewport(), CenterOf(s.form, 2, 3), inside);
  s.form.GridEndDrag();
  EXPECT_EQ(CountOfRow(g, 1), 1);
  EXPECT_EQ(TitleOfText(g.Cell(2, 3)), "a-1");
  EXPECT_EQ(TitleOfText(g.Cell(3, 3)), "b-1");
  EXPECT_EQ(CountOfRow(g, 3), 4);
  EXPECT_EQ(s.form.IconGrid().Get(2).Count(), 4);
  EXPECT_EQ(grid.Row(), 3);
  EXPECT_EQ(grid.Col(), 2);

  // A page dragged onto buttons, and a button dropped on an empty cell: nothing.
  const std::vector<std::string> before = g.Row(3);
  ASSERT_TRUE(s.form.GridStartDrag(0, 3));
  DragAndDrop(grid.viewport(), CenterOf(s.form, 2, 3), inside);
  s.form.GridEndDrag();
  ASSERT_TRUE(s.form.GridStartDrag(1, 3));
  DragAndDrop(grid.viewport(), CenterOf(s.form, 6, 3), inside);
  s.form.GridEndDrag();
  EXPECT_EQ(g.Row(3), before);
  EXPECT_FALSE(s.form.GridStartDrag(5, 3)) << "no button to drag";
}

TEST(MainWindowDragDrop, FilesFromTheFileManagerRegisterTheFirstOnTheButton) {
  TTempDir dir;
  const std::string file = DataFile(dir, {{"a", 2}});
  std::vector<std::string> tools;
  for (const char* name : {"日本語の道具", "second", "third"}) {
    tools.push_back(dir.File(name));
    testing_support::WriteFile(tools.back(), "#!/bin/sh\n");
    std::filesystem::permissions(tools.back(), std::filesystem::perms::owner_all);
  }
  TStarted s({"pelledit", "/F", Q(file)});
  ASSERT_TRUE(s.accepted);
  s.form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&s.form));
  QMimeData files;
  files.setUrls({QUrl::fromLocalFile(Q(tools[0])), QUrl::fromLocalFile(Q(tools[1])),
                 QUrl::fromLocalFile(Q(tools[2]))});
  DragAndDrop(s.form.Grid().viewport(), CenterOf(s.form, 2, 1), files);
  EXPECT_EQ(LinkOfText(s.form.Store().Cell(2, 1)), Sjis(tools[0]));
  EXPECT_EQ(TitleOfText(s.form.Store().Cell(1, 1)), "a-0");
  EXPECT_EQ(s.dialogs.Questions().back().Kind, TQuestionKind::ProgressOk)
      << "a button without a link is not asked about";
  EXPECT_EQ(s.form.TitleLabel().text(), QStringLiteral("[ a ] [使用回数 : 0 ] 日本語の道具"));
}
