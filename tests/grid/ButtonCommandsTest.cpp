// The button commands on a grid without a window: limits, minimums, insert positions,
// the current cell after a delete, copy and paste across pages, and the target's folder.
#include <gtest/gtest.h>

#include "ButtonCommands.h"
#include "GridFixture.h"
#include "GridRules.h"
#include "TestSupport.h"

using testing_support::Sjis;

namespace {
const std::string kNew = Sjis("未登録");
}

TEST(ButtonCommands, AddIsCutToThePageLimitAndInsertGoesAfterTheCurrentButton) {
  TGridFixture f({4}, TGridFixture::Status(0, 6, 1));
  f.dialogs.PushNumber(5);
  ASSERT_TRUE(AddButtons(f.edit));
  EXPECT_EQ(f.dialogs.Questions()[0].Text, QStringLiteral("1～10個の間で指定 "));
  EXPECT_EQ(f.dialogs.Questions()[0].Max, 10);
  EXPECT_EQ(f.Titles(1), (TTitles{"p0-0", "p0-1", "p0-2", "p0-3", kNew, kNew}));
  EXPECT_EQ(f.IconTitles(1), (TTitles{"p0-0", "p0-1", "p0-2", "p0-3", kNew, kNew}));
  EXPECT_FALSE(AddButtons(f.edit));
  EXPECT_EQ(f.dialogs.Questions().size(), 1u) << "a full page asks nothing";

  TGridFixture g({4});
  g.edit.Col = 2;
  g.dialogs.PushNumber(2);
  ASSERT_TRUE(InsertButtons(g.edit));
  EXPECT_EQ(g.dialogs.Questions()[0].Caption, QStringLiteral("ボタンの挿入"));
  EXPECT_EQ(g.Titles(1), (TTitles{"p0-0", "p0-1", kNew, kNew, "p0-2", "p0-3"}));
  EXPECT_EQ(g.edit.Col, 2);
  g.dialogs.PushCancel();
  EXPECT_FALSE(InsertButtons(g.edit));
  EXPECT_EQ(CountOfRow(g.grid, 1), 6);
}

TEST(ButtonCommands, DeleteKeepsTheMinimumAndMovesLeftOnlyFromTheLastButton) {
  TGridFixture f({3}, TGridFixture::Status(0, 0, 1));
  f.edit.Col = 2;
  f.dialogs.PushMessageAnswer(mrNo);
  EXPECT_FALSE(DeleteButton(f.edit));
  EXPECT_EQ(CountOfRow(f.grid, 1), 3);
  f.dialogs.PushMessageAnswer(mrYes);
  ASSERT_TRUE(DeleteButton(f.edit));
  EXPECT_EQ(f.Titles(1), (TTitles{"p0-0", "p0-2"}));
  EXPECT_EQ(f.IconTitles(1), (TTitles{"p0-0", "p0-2"}));
  EXPECT_EQ(f.edit.Col, 2) << "column 2 still holds a button";
  f.dialogs.PushMessageAnswer(mrYes);
  ASSERT_TRUE(DeleteButton(f.edit));
  EXPECT_EQ(f.edit.Col, 1) << "the last button went";
  EXPECT_FALSE(DeleteButton(f.edit)) << "one button left at minimum 1";

  TGridFixture min3({3}, TGridFixture::Status(0, 0, 3));
  EXPECT_FALSE(DeleteButton(min3.edit));
  EXPECT_TRUE(min3.dialogs.Questions().empty());
}

TEST(ButtonCommands, ClearCopyAndPasteRewriteOneButton) {
  TGridFixture f({2, 2});
  f.edit.Col = 2;
  f.dialogs.PushMessageAnswer(mrYes);
  ASSERT_TRUE(ClearButton(f.edit));
  EXPECT_EQ(f.dialogs.Questions()[0].Text,
            QStringLiteral("[p0]ページの選択しているボタン\r[ p0-1 ]の登録情報を消去しますか？"));
  EXPECT_EQ(f.Titles(1), (TTitles{"p0-0", kNew}));
  EXPECT_EQ(f.IconTitles(1), (TTitles{"p0-0", kNew}));
  EXPECT_FALSE(ClearButton(f.edit)) << "an unregistered button: no question, no rewrite";
  EXPECT_EQ(f.dialogs.Questions().size(), 1u);

  f.edit.Row = 2;
  f.edit.Col = 2;
  EXPECT_FALSE(PasteCopiedButton(f.edit)) << "nothing copied yet";
  f.edit.Row = 1;
  f.edit.Col = 1;
  ASSERT_TRUE(CopyCurrentButton(f.edit));
  f.edit.Row = 2;
  f.edit.Col = 2;
  ASSERT_TRUE(PasteCopiedButton(f.edit));
  EXPECT_EQ(f.grid.Cell(2, 2), f.grid.Cell(1, 1)) << "every field, the use count too";
  EXPECT_EQ(f.IconTitles(2), (TTitles{"p1-0", "p0-0"}));
  EXPECT_EQ(CountOfRow(f.grid, 2), 2);
  f.edit.Col = 3;
  EXPECT_FALSE(PasteCopiedButton(f.edit)) << "not a button cell";
  EXPECT_EQ(f.grid.Cell(3, 2), "");
}

TEST(ButtonCommands, TheTargetFolderIsCutAtTheLastDelimiter) {
  TLaunchDataItem item;
  item.Kind = lkProgram;
  item.Link = "C:\\Tools\\app.exe";
  EXPECT_EQ(TargetFolder(ItemToText(item)), "C:\\Tools\\");
  item.Link = Sjis("C:\\表\\a.exe");  // 表 ends in 0x5C
  EXPECT_EQ(TargetFolder(ItemToText(item)), Sjis("C:\\表\\"));
  item.Link = "/srv/a:b/run";
  EXPECT_EQ(TargetFolder(ItemToText(item)), "/srv/a:b/");
  item.Kind = lkShortcut;
  item.Link = "/home/me/Desktop/x.desktop";
  item.AltLink = "/usr/bin/x";
  EXPECT_EQ(TargetFolder(ItemToText(item)), "/usr/bin/");
}

TEST(ButtonCommands, AFolderThatDoesNotOpenIsTold) {
  TGridFixture f({1});
  std::vector<std::string> opened;
  const auto fails = [&](const std::string& folder) {
    opened.push_back(folder);
    return false;
  };
  f.dialogs.PushMessageAnswer(mrOk);
  EXPECT_FALSE(OpenTargetFolder(f.edit, fails));
  EXPECT_EQ(opened, TTitles{"/usr/bin/"});
  ASSERT_EQ(f.dialogs.Questions().size(), 1u);
  EXPECT_EQ(f.dialogs.Questions()[0].Text, QStringLiteral("登録先が見つかりません。"));
  EXPECT_EQ(f.dialogs.Questions()[0].Caption, QStringLiteral("登録エラー"));
}

TEST(ButtonCommands, AddAndInsertOnANegativeCountTreatItAsNone) {
  for (const int negative : {-3, INT32_MIN}) {
    TGridFixture f({0});
    f.grid.SetCell(0, 1, PageToText(TPageItem("p0", negative, 0)));
    f.dialogs.PushNumber(2);
    ASSERT_TRUE(AddButtons(f.edit));
    EXPECT_EQ(f.Titles(1), (TTitles{kNew, kNew}));
    f.grid.SetCell(0, 1, PageToText(TPageItem("p0", negative, 0)));
    f.dialogs.PushNumber(1);
    ASSERT_TRUE(InsertButtons(f.edit));
    EXPECT_EQ(f.Titles(1), (TTitles{kNew}));
  }
}
