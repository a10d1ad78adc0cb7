// The page edit dialog's commands, run on the real dialog offscreen with scripted
// answers: the row texts they leave, their limits, registering files, folders and
// special folders, files dropped from the file manager, and the icon tab.
#include <gtest/gtest.h>

#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QUrl>
#include <filesystem>

#include "ButtonListBox.h"
#include "EllipsisEdit.h"
#include "PageEditDialog.h"
#include "RecordText.h"
#include "RootFolder.h"
#include "ScriptedDialogs.h"
#include "ShellFixtures.h"
#include "TestSupport.h"

using testing_support::Sjis;
using testing_support::TTempDir;

namespace {

using TTitles = std::vector<std::string>;

// A row of count program buttons titled 0, 1, ..., with use count 7 and a comment.
std::vector<std::string> Row(int count) {
  TPageItem page;
  page.Caption = "p";
  page.Count = count;
  std::vector<std::string> row = {PageToText(page)};
  for (int i = 0; i < count; ++i) {
    TLaunchDataItem item;
    item.Kind = lkProgram;
    item.Title = std::to_string(i);
    item.Link = "/usr/bin/env";
    item.UseCount = 7;
    item.Comment = "note";
    row.push_back(ItemToText(item));
  }
  return row;
}

struct TOpen {
  TScriptedDialogs dialogs;
  TDialogsScope scope{dialogs};
  TPageEditDialog d;
  explicit TOpen(int count, int start = 0, int min = 1, int max = 0) {
    d.Setup(10, 10, min, max, start);
    d.LoadPage(Row(count));
    d.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&d));
  }
  TButtonListBox& List() { return d.ButtonList(); }
  TTitles Titles() {
    TTitles titles;
    for (const std::string& e : List().Model().Entries())
      titles.push_back(TitleOfText(e));
    return titles;
  }
  // Selects exactly the entries given, the first of them current.
  void Select(std::initializer_list<int> entries) {
    List().SelectOnly(*entries.begin());
    for (int i : entries)
      List().selectionModel()->select(List().Model().index(i), QItemSelectionModel::Select);
  }
  void Drop(int entry, const QStringList& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& p : paths)
      urls << QUrl::fromLocalFile(p);
    data.setUrls(urls);
    const QPoint at = entry >= 0 ? List().visualRect(List().Model().index(entry)).center()
                                 : QPoint(5, List().viewport()->height() - 3);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(List().viewport(), &enter);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(List().viewport(), &drop);
  }
};

const std::string kNew = Sjis("未登録");

// A program the classification recognises: an executable script.
std::string Program(const TTempDir& dir, const std::string& name) {
  const std::string path = dir.File(name);
  testing_support::WriteFile(path, "#!/bin/sh\n");
  std::filesystem::permissions(path, std::filesystem::perms::owner_all);
  return path;
}

}  // namespace

TEST(EditCommands, AddAndInsertStopAtTheLimitAndGoWhereTheyShould) {
  TOpen o(12, 0, 1, 15);
  o.dialogs.PushNumber(5);
  o.d.mnBtnAddClick();
  EXPECT_EQ(o.List().Count(), 15);
  EXPECT_EQ(o.d.LbCount->text(), QStringLiteral("登録数： 00015 - 00015"));
  EXPECT_EQ(o.List().Current(), 14);
  EXPECT_FALSE(o.d.BtnBAdd->isEnabled());
  EXPECT_FALSE(o.d.BtnBIns->isEnabled());
  o.d.mnBtnInsClick();
  EXPECT_EQ(o.dialogs.Questions().size(), 1u) << "a full page asks nothing";

  TOpen mid(5, 2);
  mid.dialogs.PushNumber(2);
  mid.d.mnBtnInsClick();
  EXPECT_EQ(mid.Titles(), (TTitles{"0", "1", kNew, kNew, "2", "3", "4"}));
  EXPECT_EQ(mid.List().Current(), 2);
  mid.List().SelectOnly(6);
  mid.dialogs.PushNumber(2);
  mid.d.mnBtnInsClick();
  EXPECT_EQ(mid.Titles(), (TTitles{"0", "1", kNew, kNew, "2", "3", "4", kNew, kNew}))
      << "after the last entry when it is current";
  EXPECT_EQ(mid.List().Current(), 6);
}

TEST(EditCommands, DeleteWalksUpAndStopsAtTheMinimum) {
  TOpen o(12, 0, 10);
  o.Select({0, 1, 2, 3, 4});
  o.dialogs.PushMessageAnswer(mrYes);
  o.d.mnBtnDelClick();
  EXPECT_EQ(o.Titles(), (TTitles{"0", "1", "2", "5", "6", "7", "8", "9", "10", "11"}));
  EXPECT_EQ(o.d.Page.Count, 10);
  o.d.mnBtnDelClick();
  EXPECT_EQ(o.dialogs.Questions().size(), 1u) << "at the minimum: no question";

  TOpen last(3);
  last.List().SelectOnly(2);
  last.dialogs.PushMessageAnswer(mrYes);
  last.d.mnBtnDelClick();
  EXPECT_EQ(last.Titles(), (TTitles{"0", "1"}));
  EXPECT_EQ(last.List().Current(), 1) << "the new last entry";
}

TEST(EditCommands, ClearCopyAndPasteRewriteTheTargetsOnly) {
  TOpen o(6);
  o.List().SelectOnly(1);
  o.dialogs.PushMessageAnswer(mrYes);
  o.d.mnBtnClsClick();
  EXPECT_EQ(o.dialogs.Questions()[0].Text, QStringLiteral("[ 1 ]の登録情報を消去しますか？"));
  EXPECT_EQ(o.Titles(), (TTitles{"0", kNew, "2", "3", "4", "5"}));

  o.List().SelectOnly(0);
  o.List().selectionModel()->clearSelection();
  o.dialogs.PushMessageAnswer(mrYes);
  o.d.mnBtnClsClick();
  EXPECT_EQ(o.dialogs.Questions()[1].Text,
            QStringLiteral("選択したボタンの登録情報を消去しますか？"));
  EXPECT_EQ(o.Titles(), (TTitles{"0", kNew, "2", "3", "4", "5"})) << "nothing selected: nothing";

  o.Select({2, 4});
  o.dialogs.PushMessageAnswer(mrYes);
  o.d.mnBtnClsClick();
  EXPECT_EQ(o.Titles(), (TTitles{"0", kNew, kNew, "3", kNew, "5"}));

  o.List().SelectOnly(0);
  o.d.mnCopyClick();
  EXPECT_TRUE(o.d.BtnBPaste->isEnabled());
  o.Select({3, 5});
  o.d.mnPasteClick();
  const auto& e = o.List().Model().Entries();
  EXPECT_EQ(e[3], e[0]);
  EXPECT_EQ(e[5], e[0]);
  EXPECT_EQ(TitleOfText(e[2]), kNew) << "an unselected entry stays";
}

TEST(EditCommands, RegisteringReplacesTheWholeButtonOfEveryTarget) {
  TTempDir dir;
  const std::string program = Program(dir, "tool");
  TOpen o(5);
  o.Select({1, 2, 3});
  o.dialogs.PushFileName(QString::fromStdString(program));
  o.d.mnRegFileClick();
  for (int i : {1, 2, 3}) {
    const auto item = TextToItem(o.List().Model().Entry(i));
    EXPECT_EQ(item->Link, program);
    EXPECT_EQ(item->UseCount, 0);
    EXPECT_EQ(item->Comment, "");
  }
  EXPECT_EQ(TitleOfText(o.List().Model().Entry(0)), "0");
  EXPECT_EQ(o.List().SelectedCount(), 1);

  o.List().SelectOnly(0);
  o.dialogs.PushFolder(QString::fromStdString(dir.Path().string()));
  o.d.mnRegFolderClick();
  EXPECT_EQ(KindOfText(o.List().Model().Entry(0)), lkFolder);

  o.List().SelectOnly(4);
  o.dialogs.PushChoice(14);
  o.d.mnRegSpfolderClick();
  const auto special = TextToItem(o.List().Model().Entry(4));
  EXPECT_EQ(special->Kind, lkSpecialFolder);
  EXPECT_EQ(special->Link, "rfPersonal");

  const std::string before = o.List().Model().Entry(4);
  o.dialogs.PushFileName(QString::fromStdString(dir.File("missing.nothing")));
  o.dialogs.PushMessageAnswer(mrOk);
  o.d.mnRegFileClick();
  EXPECT_EQ(o.List().Model().Entry(4), before);
  EXPECT_TRUE(o.dialogs.Questions().back().Text.endsWith(QStringLiteral("は登録できません。")));
}

TEST(EditCommands, ADropRegistersTheFirstFileAfterAsking) {
  TTempDir dir;
  const std::string first = Program(dir, "最初のツール");
  const std::string second = Program(dir, "second");
  TOpen o(3);
  const std::string before = o.List().Model().Entry(1);
  o.dialogs.PushMessageAnswer(mrNo);
  o.Drop(1, {QString::fromStdString(first)});
  EXPECT_EQ(o.List().Model().Entry(1), before);
  EXPECT_EQ(o.List().SelectedCount(), 1);
  EXPECT_EQ(o.List().Current(), 1);
  EXPECT_EQ(o.dialogs.Questions()[0].Text, QStringLiteral("\"1 \" を登録済みですが\r\r\"") +
                                               QString::fromStdString(first) +
                                               QStringLiteral("\" を\r\r登録しますか？"));

  o.dialogs.PushMessageAnswer(mrYes);
  o.Drop(1, {QString::fromStdString(first), QString::fromStdString(second)});
  EXPECT_EQ(LinkOfText(o.List().Model().Entry(1)), Sjis(first));
  EXPECT_EQ(LinkOfText(o.List().Model().Entry(2)), "/usr/bin/env") << "one file, one button";

  // A name Shift-JIS cannot hold is told and not registered; a drop onto no row does
  // nothing.
  const std::string emoji = Program(dir, "tool😀");
  o.dialogs.PushMessageAnswer(mrYes);
  o.dialogs.PushMessageAnswer(mrOk);
  o.Drop(0, {QString::fromStdString(emoji)});
  EXPECT_EQ(TitleOfText(o.List().Model().Entry(0)), "0");
  EXPECT_TRUE(o.dialogs.Questions().back().Text.endsWith(QStringLiteral("は登録できません。")));
  const std::size_t asked = o.dialogs.Questions().size();
  o.Drop(-1, {QString::fromStdString(second)});
  EXPECT_EQ(o.dialogs.Questions().size(), asked);
}

TEST(EditCommands, AnIconFileWithoutIconsDisablesOk) {
  TTempDir dir;
  testing_support::WriteFile(dir.File("plain.txt"), "no icons here");
  const std::string pe = dir.File("icons.exe");
  testing_support::WriteFile(pe, fixtures::SamplePe());
  TOpen o(2);
  o.d.PCtrl->setCurrentWidget(o.d.TabIcon);
  o.dialogs.PushFileName(QString::fromStdString(dir.File("plain.txt")));
  o.d.EdPathEllipsisClick();
  EXPECT_EQ(o.d.IconListBox->count(), 0);
  EXPECT_FALSE(o.d.BtnOk->isEnabled());
  o.dialogs.PushFileName(QString::fromStdString(pe));
  o.d.EdPathEllipsisClick();
  EXPECT_EQ(o.d.IconListBox->count(), 4);
  EXPECT_TRUE(o.d.BtnOk->isEnabled());
  o.d.EdIndex->setText(QStringLiteral("3"));
  EXPECT_EQ(o.d.IconListBox->currentRow(), 3);
  o.d.EdIndex->setText(QStringLiteral("9"));
  EXPECT_TRUE(o.d.IconListBox->selectedItems().isEmpty());
  o.d.BtnRenewClick();
  const auto item = TextToItem(o.List().Model().Entry(0));
  EXPECT_EQ(item->IconFile, pe);
  EXPECT_EQ(item->IconIndex, 9);
}

TEST(EditCommands, ShowingTheIconTabIsNoEdit) {
  TOpen o(2);
  EXPECT_FALSE(o.d.BtnRenew->isEnabled());
  o.d.PCtrl->setCurrentWidget(o.d.TabIcon);
  EXPECT_TRUE(o.d.IconsLoaded);
  EXPECT_FALSE(o.d.BtnRenew->isEnabled());
  o.d.PCtrl->setCurrentWidget(o.d.TabEdit);
  o.d.PCtrl->setCurrentWidget(o.d.TabIcon);
  EXPECT_FALSE(o.d.BtnRenew->isEnabled());
}

TEST(EditCommands, ShortcutsActWheneverTheirCommandWould) {
  TOpen o(3, 0, 1, 3);
  o.d.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&o.d));
  TButtonListBox& list = o.List();
  list.setFocus();
  const auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
    QTest::keyClick(&list, key, modifiers);
  };
  const auto menuOver = [&](int entry) {
    list.SelectOnly(entry);
    emit list.EntryContextMenu(list.mapToGlobal(QPoint(4, 4)));
    o.d.ButtonMenu->close();
  };
  list.SelectOnly(0);
  o.dialogs.PushMessageAnswer(mrYes);
  o.d.mnBtnClsClick();
  menuOver(0);  // over an unregistered button on a full page
  list.SelectOnly(1);
  o.dialogs.PushMessageAnswer(mrYes);
  press(Qt::Key_G);
  EXPECT_EQ(TitleOfText(list.Model().Entry(1)), kNew);
  o.dialogs.PushMessageAnswer(mrYes);
  o.d.mnBtnDelClick();
  o.dialogs.PushNumber(1);
  press(Qt::Key_Insert, Qt::ShiftModifier);
  EXPECT_EQ(list.Count(), 3) << "the delete made room";

  menuOver(1);  // over a registered button
  list.SelectOnly(0);
  const std::size_t asked = o.dialogs.Questions().size();
  for (Qt::Key key : {Qt::Key_G, Qt::Key_O, Qt::Key_R})
    press(key);
  EXPECT_EQ(o.dialogs.Questions().size(), asked) << "an unregistered button: nothing to act on";
}

TEST(EditCommands, PropertiesTellATargetTheFileManagerCannotShow) {
  TOpen o(1);
  TLaunchDataItem gone;
  gone.Kind = lkProgram;
  gone.Link = "/nonexistent/gone";
  o.List().Model().SetEntry(0, ItemToText(gone));
  o.dialogs.PushMessageAnswer(mrOk);
  o.d.mnBtnPropClick();
  ASSERT_EQ(o.dialogs.Questions().size(), 1u);
  EXPECT_EQ(o.dialogs.Questions()[0].Text,
            QStringLiteral("\"/nonexistent/gone\" のプロパティを表示できません。"));
  EXPECT_EQ(o.dialogs.Questions()[0].Caption, QStringLiteral("登録エラー"));
}

TEST(EditCommands, TheFieldsFollowTheHighlightMovedByKeys) {
  TTempDir dir;
  const std::string pe = dir.File("icons.exe");
  testing_support::WriteFile(pe, fixtures::SamplePe());
  TOpen o(2);
  o.d.PCtrl->setCurrentWidget(o.d.TabIcon);
  o.dialogs.PushFileName(QString::fromStdString(pe));
  o.d.EdPathEllipsisClick();
  QTest::keyClick(o.d.IconListBox, Qt::Key_Right);
  EXPECT_EQ(o.d.EdIndex->text(), QStringLiteral("1"));

  o.List().SelectOnly(0);
  o.dialogs.PushChoice(14);
  o.d.mnRegSpfolderClick();
  QTest::keyClick(o.d.LBoxSpfol, Qt::Key_Down);
  EXPECT_EQ(o.d.EdLink->text().toStdString(), RootFolderName(15));
}
