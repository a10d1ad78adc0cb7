// The real page edit dialog offscreen, on grid rows: what OK hands back and what it
// leaves, the pending-edit rule, the limits, the list's mouse reordering, and rows that
// are damaged or empty.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "ButtonListBox.h"
#include "EllipsisEdit.h"
#include "PageEditDialog.h"
#include "RecordText.h"
#include "ScriptedDialogs.h"
#include "TestSupport.h"

using testing_support::Sjis;

namespace {

std::string Button(const std::string& title, std::uint8_t kind = lkProgram,
                   const std::string& link = "/usr/bin/env") {
  TLaunchDataItem item;
  item.Kind = kind;
  item.Title = title;
  item.Link = link;
  return ItemToText(item);
}

// A row: the page text, count buttons titled 0, 1, ..., then extra texts.
std::vector<std::string> Row(const std::string& name, int count, int extra = 0) {
  TPageItem page;
  page.Caption = name;
  page.Count = count;
  std::vector<std::string> row = {PageToText(page)};
  for (int i = 0; i < count; ++i)
    row.push_back(Button(std::to_string(i)));
  for (int i = 0; i < extra; ++i)
    row.push_back("extra" + std::to_string(i));
  return row;
}

std::vector<std::string> Titles(const TButtonListBox& list) {
  std::vector<std::string> titles;
  for (const std::string& e : const_cast<TButtonListBox&>(list).Model().Entries())
    titles.push_back(TitleOfText(e));
  return titles;
}

using TTitles = std::vector<std::string>;

// The dialog shown on row, as EditPage shows it, but not modal.
struct TOpen {
  TScriptedDialogs dialogs;
  TDialogsScope scope{dialogs};
  TPageEditDialog d;
  TOpen(const std::vector<std::string>& row, int start = 0, int min = 1, int max = 0) {
    d.Setup(10, 10, min, max, start);
    d.LoadPage(row);
    d.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&d));
  }
};

QPoint RowCenter(TButtonListBox& list, int i) {
  return list.visualRect(list.Model().index(i)).center();
}

}  // namespace

TEST(EditDialog, OkHandsBackTheRowAndLeavesTheTextsAfterIt) {
  std::vector<std::string> row = Row("tools", 3, 2);
  const std::vector<std::string> before = row;
  QTimer::singleShot(0, [] {
    auto* d = qobject_cast<TPageEditDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->ButtonList().Current(), 2) << "the start index";
    EXPECT_EQ(d->ButtonList().SelectedCount(), 1) << "and only it is selected";
    EXPECT_EQ(d->LbCount->text(), QStringLiteral("登録数： 00003 - 無制限"));
    d->EdPage->setText(QStringLiteral("TOOLS"));
    d->BtnOk->click();
  });
  ASSERT_TRUE(EditPage(0, 0, 1, row, 2, 0));
  EXPECT_EQ(row, before) << "a change of letter case alone renames nothing";

  QTimer::singleShot(0, [] {
    auto* d = qobject_cast<TPageEditDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(d, nullptr);
    d->BtnDownSort->click();
    d->EdPage->setText(QStringLiteral("tool"));
    d->BtnOk->click();
  });
  ASSERT_TRUE(EditPage(0, 0, 1, row, 0, 0));
  EXPECT_EQ(CaptionOfText(row[0]), "tool");
  EXPECT_EQ(TitleOfText(row[1]), "2");
  EXPECT_EQ(TitleOfText(row[3]), "0");
  EXPECT_EQ(row[4], "extra0");
  EXPECT_EQ(row[5], "extra1");

  const std::vector<std::string> kept = row;
  QTimer::singleShot(0, [] {
    auto* d = qobject_cast<TPageEditDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(d, nullptr);
    d->BtnUpsort->click();
    d->EdPage->setText(QStringLiteral("other"));
    d->EdTitle->setText(QStringLiteral("new"));
    d->BtnRenew->click();
    d->BtnCancel->click();
  });
  EXPECT_FALSE(EditPage(0, 0, 1, row, 0, 0));
  EXPECT_EQ(row, kept) << "cancel leaves the row byte for byte";
}

TEST(EditDialog, OnlyStoredDetailsReachTheButton) {
  TOpen o(Row("p", 2));
  TPageEditDialog& d = o.d;
  EXPECT_FALSE(d.BtnRenew->isEnabled());
  d.EdTitle->setText(QStringLiteral("typed"));
  EXPECT_TRUE(d.BtnRenew->isEnabled());
  EXPECT_EQ(TitleOfText(d.CommitPage()[1]), "0") << "not stored: dropped at OK";

  d.EdTitle->setText(QStringLiteral("stored"));
  d.ComboBoxShow->setCurrentIndex(2);
  d.BtnRenew->click();
  EXPECT_FALSE(d.BtnRenew->isEnabled());
  const auto item = TextToItem(d.CommitPage()[1]);
  EXPECT_EQ(item->Title, "stored");
  EXPECT_EQ(item->ShowCmd, 3);

  d.EdTitle->setText(QStringLiteral("lost"));
  d.BtnUpsortClick(false);  // showing the list again drops the pending edit
  EXPECT_FALSE(d.BtnRenew->isEnabled());
  EXPECT_NE(d.EdTitle->text(), QStringLiteral("lost"));
}

TEST(EditDialog, TheLimitsDisableAddAndInsertAndTheKindDecidesTheTabs) {
  TOpen full(Row("p", 12), 0, 1, 12);
  EXPECT_EQ(full.d.LbCount->text(), QStringLiteral("登録数： 00012 - 00012"));
  EXPECT_FALSE(full.d.BtnBAdd->isEnabled());
  EXPECT_FALSE(full.d.BtnBIns->isEnabled());
  EXPECT_TRUE(full.d.BtnBDel->isEnabled());

  std::vector<std::string> row = Row("p", 0);
  TPageItem page;
  page.Caption = "p";
  page.Count = 3;
  row = {PageToText(page), Button("none", lkNone, ""),
         Button(Sjis("書類"), lkSpecialFolder, "rfPersonal"),
         Button("s", lkShortcut, "/home/me/s.desktop")};
  TOpen o(row, 0, 3);
  TPageEditDialog& d = o.d;
  EXPECT_FALSE(d.PCtrl->isVisible()) << "an unregistered button hides the tabs";
  EXPECT_TRUE(d.LbUnregistered->isVisible());
  EXPECT_FALSE(d.BtnBCls->isEnabled());
  EXPECT_FALSE(d.BtnBDel->isEnabled()) << "3 buttons at minimum 3";
  d.ButtonList().SelectOnly(1);
  d.ShowDetails(1);
  EXPECT_TRUE(d.PCtrl->isVisible());
  EXPECT_TRUE(d.LBoxSpfol->isVisible());
  EXPECT_EQ(d.LBoxSpfol->currentRow(), 14);
  EXPECT_FALSE(d.EdLink->isVisible());
  EXPECT_FALSE(d.EdWork->isVisible());
}

// A special folder the editor does not know shows no row chosen: focus on the list
// (by Tab) must not choose its first row, and storing keeps the link.
TEST(EditDialog, FocusAloneDoesNotRetargetAnUnknownSpecialFolder) {
  TPageItem page;
  page.Caption = "p";
  page.Count = 1;
  TOpen o({PageToText(page), Button("odd", lkSpecialFolder, "rfBogus")});
  TPageEditDialog& d = o.d;
  d.ButtonList().SelectOnly(0);
  d.ShowDetails(0);
  ASSERT_TRUE(d.LBoxSpfol->isVisible());
  d.activateWindow();
  d.LBoxSpfol->setFocus(Qt::TabFocusReason);
  QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
  QCoreApplication::sendEvent(d.LBoxSpfol, &focus);
  EXPECT_EQ(d.EdLink->text(), QStringLiteral("rfBogus"));
  EXPECT_FALSE(d.BtnRenew->isEnabled()) << "nothing was chosen";
  d.EdTitle->setText(QStringLiteral("renamed"));
  d.BtnRenewClick();
  const std::string entry = d.ButtonList().Model().Entry(0);
  EXPECT_EQ(TextToItem(entry)->Link, "rfBogus") << entry;
}

TEST(EditDialog, DraggingMovesTheSelectedEntriesWhereTheyAreDropped) {
  TOpen o(Row("p", 5));
  TButtonListBox& list = o.d.ButtonList();
  QWidget* viewport = list.viewport();
  const auto drag = [&](int from, int onto) {
    QTest::mousePress(viewport, Qt::LeftButton, {}, RowCenter(list, from));
    QTest::mouseMove(viewport, RowCenter(list, from) + QPoint(0, 6));
    QTest::mouseMove(viewport, RowCenter(list, onto));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, RowCenter(list, onto));
  };
  drag(1, 3);
  EXPECT_EQ(Titles(list), (TTitles{"0", "2", "3", "1", "4"}));
  EXPECT_EQ(list.Current(), 3);
  drag(1, 0);
  EXPECT_EQ(Titles(list), (TTitles{"2", "0", "3", "1", "4"}));

  list.SelectOnly(0);
  QTest::mouseClick(viewport, Qt::LeftButton, Qt::ShiftModifier, RowCenter(list, 1));
  EXPECT_EQ(list.SelectedCount(), 2);
  drag(0, 4);
  EXPECT_EQ(Titles(list), (TTitles{"3", "1", "4", "2", "0"}));
  EXPECT_EQ(list.DropIndex(), -1);
}

TEST(EditDialog, DamagedAndEmptyRowsOpenWithoutFault) {
  TOpen empty(Row("p", 0), 5, 0);
  EXPECT_EQ(empty.d.ButtonList().Count(), 0);
  EXPECT_FALSE(empty.d.BtnBDel->isEnabled());
  empty.d.BtnUpsortClick(false);
  empty.d.BtnUpClick(true);
  empty.d.BtnRenewClick();
  EXPECT_EQ(empty.d.CommitPage().size(), 1u);

  // A page text that says more buttons than the row holds, and a button text whose
  // kind is no number.
  TPageItem page;
  page.Caption = "p";
  page.Count = 9;
  TOpen damaged({PageToText(page), "x,y", "\"only\""});
  EXPECT_EQ(damaged.d.ButtonList().Count(), 2);
  damaged.d.ShowDetails(0);
  damaged.d.ShowDetails(1);
  EXPECT_EQ(damaged.d.CommitPage().size(), 3u);
}

TEST(EditDialog, StoringKeepsUntouchedBytesAndTakesWhatWasTypedWhole) {
  TLaunchDataItem item;
  item.Kind = lkProgram;
  item.Title = "t";
  item.Link = "/opt/\x87\x9A";  // a character Shift-JIS has two codes for
  item.Params = "\x80";         // a byte Shift-JIS does not define
  item.UseCount = 123456;
  item.Comment = "a\\nb";
  item.ShowCmd = 5;  // a window state the list has no row for
  TPageItem page;
  page.Caption = "p";
  page.Count = 1;
  TOpen o({PageToText(page), ItemToText(item)});
  TPageEditDialog& d = o.d;
  EXPECT_EQ(d.EdNo->text(), QStringLiteral("123456"));
  QTest::keyClicks(d.EdTitle, "x");
  d.BtnRenew->click();
  auto stored = TextToItem(d.CommitPage()[1]);
  EXPECT_EQ(stored->Title, "tx");
  EXPECT_EQ(stored->Link, item.Link);
  EXPECT_EQ(stored->Params, item.Params);
  EXPECT_EQ(stored->UseCount, 123456);
  EXPECT_EQ(stored->Comment, "a\\nb") << "no line break added";
  EXPECT_EQ(stored->ShowCmd, 5);

  d.EdNo->clear();
  QTest::keyClicks(d.EdNo, "-2147483648x9");
  EXPECT_EQ(d.EdNo->text(), QStringLiteral("-2147483648")) << "no letter, nothing past 32 bits";
  d.Memo->clear();
  QTest::keyClick(d.Memo, 'c');
  QTest::sendKeyEvent(QTest::Click, d.Memo, Qt::Key_Eacute, QStringLiteral("\u00e9"), {});
  QTest::keyClick(d.Memo, 'd');
  QTest::keyClick(d.Memo, Qt::Key_Return);
  QGuiApplication::clipboard()->setText(QStringLiteral("\u00e9"));
  d.Memo->paste();
  EXPECT_EQ(d.Memo->toPlainText(), QStringLiteral("cd\n")) << "what Shift-JIS lacks is refused";
  d.BtnRenew->click();
  stored = TextToItem(d.CommitPage()[1]);
  EXPECT_EQ(stored->UseCount, INT32_MIN);
  EXPECT_EQ(stored->Comment, "cd\\n");
}

TEST(EditDialog, ReturnStoresInADetailBoxAndPressesOkInTheList) {
  TOpen o(Row("p", 2));
  o.d.EdTitle->setFocus();
  QTest::keyClicks(o.d.EdTitle, "new");
  QTest::keyClick(o.d.EdTitle, Qt::Key_Return);
  EXPECT_TRUE(o.d.isVisible());
  EXPECT_EQ(TitleOfText(o.d.ButtonList().Model().Entry(0)), "0new");
  o.d.ButtonList().setFocus();
  QTest::keyClick(&o.d.ButtonList(), Qt::Key_Return);
  EXPECT_EQ(o.d.result(), QDialog::Accepted);
}

TEST(EditDialog, TheCommentMenuHasTheSixEditActionsInJapanese) {
  TOpen o(Row("p", 1));
  QPlainTextEdit* memo = o.d.Memo;
  // The actions' captions, "-" before one that is disabled.
  const auto menu = [memo](const QString& trigger = {}) {
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(4, 4),
                            memo->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(memo, &event);
    std::string items;
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!popup) return items;
    for (QAction* action : popup->actions()) {
      if (action->isSeparator()) continue;
      items += (items.empty() ? "" : " ") + std::string(action->isEnabled() ? "" : "-") +
               action->text().toStdString();
      if (action->text() == trigger) action->trigger();
    }
    popup->close();
    return items;
  };
  QGuiApplication::clipboard()->clear();
  memo->clear();
  EXPECT_EQ(menu(),
            "-元に戻す(&U) -切り取り(&T) -コピー(&C) -貼り付け(&P) -削除(&D) -すべて選択(&A)");
  QTest::keyClicks(memo, "abc");
  QGuiApplication::clipboard()->setText(QStringLiteral("x"));
  memo->selectAll();
  EXPECT_EQ(menu(QStringLiteral("削除(&D)")),
            "元に戻す(&U) 切り取り(&T) コピー(&C) 貼り付け(&P) 削除(&D) すべて選択(&A)");
  EXPECT_EQ(memo->toPlainText(), QString()) << "the actions act on the comment box";
  QTest::keyClicks(memo, "abc");
  memo->selectAll();
  memo->setReadOnly(true);
  EXPECT_EQ(menu(),
            "-元に戻す(&U) -切り取り(&T) コピー(&C) -貼り付け(&P) -削除(&D) すべて選択(&A)");
}
