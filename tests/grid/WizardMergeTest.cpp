// The wizard's row merged into a grid: where a new page goes and which icons follow
// the rows, files appended to a page, and the limits and bad rows that leave the grid
// as it was.
#include <gtest/gtest.h>

#include <QImage>

#include "GridFixture.h"
#include "GridRules.h"
#include "IconStore.h"
#include "ItemIcons.h"
#include "WizardMerge.h"

namespace {

std::string Button(const std::string& title) {
  TLaunchDataItem item;
  item.Kind = lkProgram;
  item.Title = title;
  item.Link = "/usr/bin/" + title;
  return ItemToText(item);
}

// A wizard row: the page text, then one button per title.
std::vector<std::string> Row(const std::string& caption, const TTitles& titles) {
  std::vector<std::string> row = {
      PageToText(TPageItem(caption, static_cast<std::int32_t>(titles.size()), 0))};
  for (const std::string& title : titles)
    row.push_back(Button(title));
  return row;
}

}  // namespace

TEST(WizardMerge, ANewPageGoesBeforeTheChosenPageAndTheIconsFollowTheRows) {
  TGridFixture f({1, 2, 3});
  ASSERT_TRUE(MergeWizardRow(f.edit, true, 1, Row("a-long-page-name", {"w0", "w1"})));
  ASSERT_EQ(PageCount(f.grid), 4);
  EXPECT_EQ(f.Caption(2), "a-long-page-name");
  EXPECT_EQ(f.Titles(2), (TTitles{"w0", "w1"}));
  EXPECT_EQ(f.IconTitles(2), (TTitles{"w0", "w1"}));
  EXPECT_EQ(f.Caption(3), "p1");
  EXPECT_EQ(f.IconTitles(3), (TTitles{"p1-0", "p1-1"}));
  EXPECT_EQ(f.IconTitles(4), (TTitles{"p2-0", "p2-1", "p2-2"}));
  EXPECT_EQ(f.edit.Row, 2);
  EXPECT_EQ(f.edit.Col, 1);
  EXPECT_EQ(f.edit.NameColWidth, 16 * 10 + 8);

  ASSERT_TRUE(MergeWizardRow(f.edit, true, 3, Row("x", {"y"})));
  EXPECT_EQ(f.Caption(4), "x") << "the last page chosen: before it";
  EXPECT_EQ(f.Caption(5), "p2");
  EXPECT_EQ(f.icons.Count(), 5);
  EXPECT_EQ(f.edit.NameColWidth, 16 * 10 + 8) << "never narrower";

  std::vector<std::string> names;
  std::vector<int> counts;
  WizardPages(f.grid, names, counts);
  EXPECT_EQ(names, (TTitles{"p0", "a-long-page-name", "p1", "x", "p2"}));
  EXPECT_EQ(counts, (std::vector<int>{1, 2, 2, 1, 3}));
}

TEST(WizardMerge, FilesFollowAnExistingPagesButtonsAndItKeepsItsCaption) {
  TGridFixture f({4, 1});
  ASSERT_TRUE(MergeWizardRow(f.edit, false, 0, Row("new", {"a", "b", "c", "d", "e"})));
  EXPECT_EQ(CountOfRow(f.grid, 1), 9);
  EXPECT_EQ(f.Caption(1), "p0");
  EXPECT_EQ(f.Titles(1), (TTitles{"p0-0", "p0-1", "p0-2", "p0-3", "a", "b", "c", "d", "e"}));
  EXPECT_EQ(f.IconTitles(1), f.Titles(1));
  EXPECT_EQ(f.IconTitles(2), (TTitles{"p1-0"}));
  EXPECT_EQ(PageCount(f.grid), 2);
}

TEST(WizardMerge, AFileWithoutPagesGetsOneWhateverTheMethod) {
  for (const bool isNewPage : {true, false}) {
    TGridFixture f({});
    ASSERT_TRUE(MergeWizardRow(f.edit, isNewPage, 0, Row("w", {"a", "b"})));
    ASSERT_EQ(PageCount(f.grid), 1);
    EXPECT_EQ(f.Titles(1), (TTitles{"a", "b"}));
    EXPECT_EQ(f.IconTitles(1), f.Titles(1));
  }
}

TEST(WizardMerge, LimitsAndBadRowsLeaveTheGridAsItWas) {
  TGridFixture f({4, 6}, TGridFixture::Status(2, 6, 1));
  const std::vector<std::string> five = Row("new", {"a", "b", "c", "d", "e"});
  const auto before = f.grid.Row(2);
  EXPECT_FALSE(MergeWizardRow(f.edit, true, 0, five)) << "at the page limit";
  EXPECT_FALSE(MergeWizardRow(f.edit, false, 1, five)) << "a full page";
  EXPECT_FALSE(MergeWizardRow(f.edit, false, 2, five)) << "no such page";
  EXPECT_FALSE(MergeWizardRow(f.edit, false, 0, {five[0]})) << "no button";
  EXPECT_FALSE(MergeWizardRow(f.edit, false, 0, {}));
  EXPECT_EQ(PageCount(f.grid), 2);
  EXPECT_EQ(f.grid.Row(2), before);
  ASSERT_TRUE(MergeWizardRow(f.edit, false, 0, five));
  EXPECT_EQ(f.Titles(1), (TTitles{"p0-0", "p0-1", "p0-2", "p0-3", "a", "b"})) << "MaxButtons 6";

  // A page text without its fields is not rewritten over what it holds.
  f.grid.SetCell(0, 2, "damaged");
  EXPECT_FALSE(MergeWizardRow(f.edit, false, 1, five));
  EXPECT_EQ(f.grid.Cell(0, 2), "damaged");

  // The grid has 10,000 button columns and no more.
  TGridFixture big({9998});
  ASSERT_TRUE(MergeWizardRow(big.edit, false, 0, five));
  EXPECT_EQ(CountOfRow(big.grid, 1), 10000);
  EXPECT_EQ(big.grid.UsedColumns(1), 10001);
}

TEST(WizardMerge, TheWindowsIconsAreReadWhenFirstDrawn) {
  TGridFixture f({1});
  f.edit.MakeIcon = nullptr;  // as the window has it
  const std::string link = "/usr/bin/never-drawn-before";
  TLaunchDataItem item;
  item.Kind = lkProgram;
  item.Title = "w";
  item.Link = link;
  const std::vector<std::string> row = {PageToText(TPageItem("new", 1, 0)), ItemToText(item)};
  ASSERT_TRUE(MergeWizardRow(f.edit, false, 0, row));
  EXPECT_EQ(IconStore().itemIcons.count(link), 0u);
  const QImage drawn = f.icons.Get(0).Get(1).Icon.pixmap(32).toImage();
  EXPECT_EQ(IconStore().itemIcons.count(link), 1u);
  EXPECT_EQ(drawn, GetItemIcon(item).pixmap(32).toImage());
}
