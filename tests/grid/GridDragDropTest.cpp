// Drops on the grid without a window: buttons moved or copied within and across pages
// with the limits and the overwrite question, and files registered on a button.
#include <gtest/gtest.h>

#include <filesystem>

#include "GridDragDrop.h"
#include "GridFixture.h"
#include "GridRules.h"
#include "TestSupport.h"

using testing_support::Sjis;

namespace {

// Makes button b of row r unregistered.
void Unregister(TGridFixture& f, int c, int r) {
  f.grid.SetCell(c, r, NewButtonText());
}

}  // namespace

TEST(GridDragDrop, AdjustPageCountRewritesTheCount) {
  TPageItem page;
  page.Caption = "a,b";
  page.Count = 3;
  std::string text = PageToText(page);
  EXPECT_EQ(AdjustPageCount(-1, text), 2);
  EXPECT_EQ(CountOfText(text), 2);
  EXPECT_EQ(CaptionOfText(text), "a,b");
}

TEST(GridDragDrop, AtTheMinimumAButtonIsCopiedElseMoved) {
  TGridFixture f({1, 3}, TGridFixture::Status(0, 0, 1));
  ASSERT_TRUE(DropButton(f.edit, 1, 1, 2, 2));
  EXPECT_EQ(f.Titles(1), TTitles{"p0-0"}) << "the source keeps its only button";
  EXPECT_EQ(f.Titles(2), (TTitles{"p1-0", "p0-0", "p1-1", "p1-2"}));
  EXPECT_EQ(f.IconTitles(2), (TTitles{"p1-0", "p0-0", "p1-1", "p1-2"}));

  TGridFixture g({2, 3}, TGridFixture::Status(0, 0, 1));
  ASSERT_TRUE(DropButton(g.edit, 1, 2, 2, 2));
  EXPECT_EQ(g.Titles(1), TTitles{"p0-0"});
  EXPECT_EQ(g.Titles(2), (TTitles{"p1-0", "p0-1", "p1-1", "p1-2"}));
  EXPECT_EQ(g.IconTitles(1), TTitles{"p0-0"});
  EXPECT_EQ(g.IconTitles(2), (TTitles{"p1-0", "p0-1", "p1-1", "p1-2"}));

  EXPECT_FALSE(DropButton(g.edit, 2, 1, 1, 2)) << "its own cell";
  EXPECT_FALSE(DropButton(g.edit, 2, 1, 5, 2)) << "an empty cell";
}

TEST(GridDragDrop, WithinAPageTheButtonsBetweenShift) {
  TGridFixture f({4});
  ASSERT_TRUE(MoveButton(f.edit, 1, 1, 3, 1));
  EXPECT_EQ(f.Titles(1), (TTitles{"p0-1", "p0-2", "p0-0", "p0-3"}));
  ASSERT_TRUE(CopyButton(f.edit, 1, 4, 1, 1));
  EXPECT_EQ(f.Titles(1), (TTitles{"p0-3", "p0-1", "p0-2", "p0-0"})) << "a copy within a page moves";
  EXPECT_EQ(f.IconTitles(1), f.Titles(1));
}

TEST(GridDragDrop, AFullPageAsksAndNoLeavesBothPages) {
  TGridFixture f({2, 4}, TGridFixture::Status(0, 4, 1));
  const auto row1 = f.grid.Row(1), row2 = f.grid.Row(2);
  f.dialogs.PushMessageAnswer(mrNo);
  EXPECT_FALSE(DropButton(f.edit, 1, 1, 2, 2));
  EXPECT_EQ(f.grid.Row(1), row1);
  EXPECT_EQ(f.grid.Row(2), row2);
  EXPECT_EQ(f.dialogs.Questions()[0].Text,
            QStringLiteral("\"p1-1 \" に \" p0-0 \" を上書きしますか？"));
  EXPECT_EQ(f.dialogs.Questions()[0].Caption, QStringLiteral("上書きの確認"));

  f.dialogs.PushMessageAnswer(mrYes);
  ASSERT_TRUE(DropButton(f.edit, 1, 1, 2, 2));
  EXPECT_EQ(f.Titles(1), TTitles{"p0-1"});
  EXPECT_EQ(f.Titles(2), (TTitles{"p1-0", "p0-0", "p1-2", "p1-3"}));

  // An unregistered target is replaced without a question; the count stays.
  TGridFixture g({2, 3});
  Unregister(g, 2, 2);
  ASSERT_TRUE(DropButton(g.edit, 1, 1, 2, 2));
  EXPECT_EQ(g.Titles(2), (TTitles{"p1-0", "p0-0", "p1-2"}));
  EXPECT_TRUE(g.dialogs.Questions().empty());
}

TEST(GridDragDrop, ADroppedFileIsRegisteredOnlyOnTheButtonItFellOn) {
  testing_support::TTempDir dir;
  const std::string tool = dir.File("道具");
  testing_support::WriteFile(tool, "#!/bin/sh\n");
  std::filesystem::permissions(tool, std::filesystem::perms::owner_all);
  TGridFixture f({2});
  f.edit.Col = 2;
  f.dialogs.PushMessageAnswer(mrNo);
  EXPECT_FALSE(DropFiles(f.edit, {QString::fromStdString(tool)}, 2, 1));
  EXPECT_EQ(f.Titles(1), (TTitles{"p0-0", "p0-1"}));
  EXPECT_EQ(f.dialogs.Questions()[0].Caption, QStringLiteral("登録の確認"));

  f.dialogs.PushMessageAnswer(mrYes);
  ASSERT_TRUE(
      DropFiles(f.edit, {QString::fromStdString(tool), QStringLiteral("/etc/hosts")}, 2, 1));
  EXPECT_EQ(LinkOfText(f.grid.Cell(2, 1)), Sjis(tool));
  EXPECT_EQ(f.IconTitles(1), (TTitles{"p0-0", Sjis("道具")}));

  EXPECT_FALSE(DropFiles(f.edit, {QString::fromStdString(tool)}, 3, 1)) << "an empty cell";
  f.dialogs.PushMessageAnswer(mrYes);
  f.dialogs.PushMessageAnswer(mrOk);
  EXPECT_FALSE(DropFiles(f.edit, {QString::fromStdString(dir.File("none"))}, 2, 1));
  EXPECT_EQ(f.dialogs.Questions().back().Caption, QStringLiteral("登録エラー"));
}
