// Drives the real main window offscreen: its commands from menu and shortcut, saving,
// importing, the edit dialog, and dragging pages, buttons and files.
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

#include "MainWindowFixture.h"

using namespace main_window_test;

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
