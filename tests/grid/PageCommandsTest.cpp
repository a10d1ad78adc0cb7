// The page commands on a grid without a window: where a page goes, what it holds, the
// icon lists that follow the rows, the limits, and both answers of each question.
#include <gtest/gtest.h>

#include "GridFixture.h"
#include "GridRules.h"
#include "PageCommands.h"
#include "TestSupport.h"
#include "TextFormat.h"

using testing_support::Sjis;

TEST(PageCommands, InsertPutsANamedPageBeforeTheCurrentOneOrAfterTheLast) {
  TGridFixture f({1, 2, 1, 1}, TGridFixture::Status(0, 0, 2));
  f.edit.Row = 2;
  f.dialogs.PushText(QStringLiteral("新しい"));
  ASSERT_TRUE(InsertPage(f.edit));
  EXPECT_EQ(f.dialogs.Questions()[0].InitialText, QStringLiteral("ページ5"));
  EXPECT_EQ(f.dialogs.Questions()[0].Caption, QStringLiteral("新規ページの挿入"));
  ASSERT_EQ(PageCount(f.grid), 5);
  EXPECT_EQ(f.Caption(2), Sjis("新しい"));
  EXPECT_EQ(f.Titles(2), TTitles(2, Sjis("未登録"))) << "MinButtons unregistered buttons";
  EXPECT_EQ(f.IconTitles(2), TTitles(2, "-"));
  EXPECT_EQ(f.IconTitles(3), (TTitles{"p1-0", "p1-1"})) << "the old page 2 keeps its icons";
  EXPECT_EQ(f.edit.Row, 2) << "the current cell does not move";
  EXPECT_EQ(f.edit.NameColWidth, std::max(80, static_cast<int>(Sjis("新しい").size()) * 10 + 8));

  f.edit.Row = 5;  // the last page: the new one goes after it
  f.dialogs.PushText(QStringLiteral("end"));
  ASSERT_TRUE(InsertPage(f.edit));
  EXPECT_EQ(f.Caption(6), "end");
  EXPECT_EQ(f.icons.Count(), 6);
}

TEST(PageCommands, InsertStopsAtTheLimitAndWhenCancelled) {
  TGridFixture full({1, 1}, TGridFixture::Status(2, 0, 1));
  EXPECT_FALSE(InsertPage(full.edit));
  EXPECT_TRUE(full.dialogs.Questions().empty()) << "at the page limit nothing is asked";

  TGridFixture f({1, 1});
  f.dialogs.PushCancel();
  f.dialogs.PushMessageAnswer(mrOk);
  EXPECT_FALSE(InsertPage(f.edit));
  ASSERT_EQ(f.dialogs.Questions().size(), 2u);
  EXPECT_EQ(f.dialogs.Questions()[1].Text,
            QStringLiteral("ページ名が入力されていません。\r再度入力し直して下さい。"));
  EXPECT_EQ(PageCount(f.grid), 2);
}

TEST(PageCommands, DeleteAsksAndKeepsTheCurrentCellInsideTheGrid) {
  TGridFixture f({3, 1, 2});
  f.edit.Row = 3;
  f.edit.Col = 2;
  f.dialogs.PushMessageAnswer(mrNo);
  EXPECT_FALSE(DeletePage(f.edit));
  EXPECT_EQ(PageCount(f.grid), 3);
  EXPECT_EQ(
      f.dialogs.Questions()[0].Text,
      QStringLiteral("[p2]ページを削除しますか？\r※ページを削除すると登録情報が失われます。"));

  f.dialogs.PushMessageAnswer(mrYes);
  ASSERT_TRUE(DeletePage(f.edit));
  EXPECT_EQ(PageCount(f.grid), 2);
  EXPECT_EQ(f.icons.Count(), 2);
  EXPECT_EQ(f.edit.Row, 2) << "the last page went: the row above";
  EXPECT_EQ(f.edit.Col, 1) << "page 2 has one button";

  TGridFixture one({2});
  EXPECT_FALSE(DeletePage(one.edit));
  EXPECT_TRUE(one.dialogs.Questions().empty());
}

TEST(PageCommands, RenameKeepsTheButtonsAndRefusesAnEmptyName) {
  TGridFixture f({2, 1});
  f.dialogs.PushCancel();
  EXPECT_FALSE(RenamePage(f.edit));
  EXPECT_EQ(f.dialogs.Questions().size(), 1u) << "cancel says nothing";
  f.dialogs.PushText(QString());
  f.dialogs.PushMessageAnswer(mrOk);
  EXPECT_FALSE(RenamePage(f.edit));
  EXPECT_EQ(f.dialogs.Questions()[2].Caption, QStringLiteral("ページ名の変更"));
  f.dialogs.PushText(QStringLiteral("a,\"b\"とc"));
  ASSERT_TRUE(RenamePage(f.edit));
  EXPECT_EQ(f.dialogs.Questions()[3].InitialText, QStringLiteral("p0"));
  EXPECT_EQ(f.Caption(1), Sjis("a,\"b\"とc"));
  EXPECT_EQ(CountOfRow(f.grid, 1), 2);
  EXPECT_EQ(f.Titles(1), (TTitles{"p0-0", "p0-1"}));
}

// OK on the name as shown keeps the bytes CP932 spells twice (87 9A and 81 E6 are
// both ∵) and makes no step; an edit keeps a byte CP932 does not define.
TEST(PageCommands, RenameKeepsTheBytesOfANameLeftAsShown) {
  TGridFixture f({1});
  const std::string name = "\x87\x9A\xED\x40\x80";
  f.grid.SetCell(0, 1, PageToText(TPageItem(name, 1, 0)));
  const std::string before = f.grid.Cell(0, 1);
  f.dialogs.PushText(ShownText(name));
  EXPECT_FALSE(RenamePage(f.edit)) << "no change, no step";
  EXPECT_EQ(f.grid.Cell(0, 1), before);
  f.dialogs.PushText(ShownText(name) + QStringLiteral("x"));
  ASSERT_TRUE(RenamePage(f.edit));
  EXPECT_EQ(f.Caption(1).substr(4), "\x80x");
}

TEST(PageCommands, MoveTakesTheIconsAlongAndStaysInsideThePages) {
  TGridFixture f({1, 2, 3});
  f.edit.Row = 3;
  ASSERT_TRUE(MoveCurrentPage(f.edit, -1));
  EXPECT_EQ(f.Caption(2), "p2");
  EXPECT_EQ(f.Caption(3), "p1");
  EXPECT_EQ(f.IconTitles(2), (TTitles{"p2-0", "p2-1", "p2-2"}));
  EXPECT_EQ(f.IconTitles(3), (TTitles{"p1-0", "p1-1"}));
  EXPECT_EQ(f.edit.Row, 3) << "the current cell keeps its row";
  EXPECT_FALSE(MoveCurrentPage(f.edit, +1)) << "below the last page";
  f.edit.Row = 1;
  EXPECT_FALSE(MoveCurrentPage(f.edit, -1)) << "above the first page";
}

TEST(GridRows, DeletingEveryPageRowKeepsOneEmptyRow) {
  TGridFixture f({1, 1, 1});
  DeleteGridRows(f.grid, 5, 1);  // swapped, and clamped to the page rows
  EXPECT_EQ(f.grid.RowCount(), 2);
  EXPECT_EQ(f.grid.Cell(0, 1), "");
  EXPECT_EQ(f.grid.Cell(0, 0), StatusToText(TGridFixture::Status(0, 0, 1)));
}
