#include "GridRules.h"

#include <gtest/gtest.h>

#include "DataItems.h"
#include "RecordText.h"
#include "TestSupport.h"

using testing_support::Sjis;

namespace {

std::string Button(int kind, const std::string& title, int useCount = 0,
                   const std::string& comment = "") {
  TLaunchDataItem item;
  item.Kind = static_cast<std::uint8_t>(kind);
  item.Title = title;
  item.UseCount = useCount;
  item.Comment = comment;
  return ItemToText(item);
}

// A grid of pages with the given counts; button b of page p has kind (b % 8).
TGridStore Grid(std::initializer_list<int> counts,
                const std::string& status = StatusToText(TDataStatus())) {
  TGridStore g;
  g.SetRowCount(static_cast<int>(counts.size()) + 1);
  g.SetCell(0, 0, status);
  int r = 1;
  for (int count : counts) {
    g.SetCell(0, r, PageToText(TPageItem("P" + std::to_string(r), count, 0)));
    for (int c = 1; c <= count; ++c)
      g.SetCell(c, r, Button((c - 1) % 8, "t"));
    ++r;
  }
  return g;
}

}  // namespace

TEST(GridRules, OnlyButtonCellsCanBeSelected) {
  TGridStore g = Grid({3, 0});
  EXPECT_TRUE(CanSelectCell(g, 3, 1));
  EXPECT_FALSE(CanSelectCell(g, 4, 1));
  EXPECT_FALSE(CanSelectCell(g, 5, 1));
  EXPECT_FALSE(CanSelectCell(g, 1, 2)) << "a page without buttons has no selectable cell";
  EXPECT_FALSE(CanSelectCell(g, 0, 1));
  EXPECT_FALSE(CanSelectCell(g, 1, 0));
  EXPECT_FALSE(CanSelectCell(g, 1, 3));
  g.SetCell(0, 2, "garbage");
  EXPECT_EQ(CountOfRow(g, 2), 0) << "a damaged page text owns nothing";
}

TEST(GridRules, DoubleClickAndPopupDependOnTheCell) {
  TGridStore g = Grid({3});
  EXPECT_EQ(DoubleClickAction(g, 0, 0), TDoubleClick::ToggleNameColumn);
  EXPECT_EQ(DoubleClickAction(g, 0, 1), TDoubleClick::RenamePage);
  EXPECT_EQ(DoubleClickAction(g, 3, 1), TDoubleClick::EditPage);
  EXPECT_EQ(DoubleClickAction(g, 4, 1), TDoubleClick::EditPage) << "the first empty cell";
  EXPECT_EQ(DoubleClickAction(g, 5, 1), TDoubleClick::None);
  EXPECT_EQ(DoubleClickAction(g, 2, 0), TDoubleClick::None);
  EXPECT_EQ(DoubleClickAction(g, -1, -1), TDoubleClick::None);

  EXPECT_FALSE(ContextPopupDecision(g, 2, 0).open);
  EXPECT_FALSE(ContextPopupDecision(g, 2, 0).selectRow);
  EXPECT_TRUE(ContextPopupDecision(g, 4, 1).open);
  auto far = ContextPopupDecision(g, 5, 1);
  EXPECT_TRUE(far.selectRow);
  EXPECT_FALSE(far.open);
  EXPECT_FALSE(ContextPopupDecision(g, -1, -1).open);
}

TEST(GridRules, TitleLineAndHintOfAButton) {
  TGridStore g;
  g.SetRowCount(2);
  g.SetCell(0, 1, PageToText(TPageItem(Sjis("ツール"), 2, 0)));
  g.SetCell(1, 1, Button(1, Sjis("メモ帳"), 3));
  g.SetCell(2, 1, Button(1, "x", 0, "a\\nb"));
  TCellTitle t;
  ASSERT_TRUE(CellTitle(g, 1, 1, t));
  EXPECT_EQ(t.title, Sjis("[ ツール ] [使用回数 : 3 ] メモ帳"));
  EXPECT_EQ(t.hint, Sjis("メモ帳\n使用回数 : 3"));
  ASSERT_TRUE(CellTitle(g, 2, 1, t));
  EXPECT_EQ(t.hint, Sjis("x : \na\nb\n使用回数 : 0"));
  EXPECT_FALSE(CellTitle(g, 3, 1, t));
  EXPECT_EQ(PageNameHint(g, 1), Sjis("ページ名: ツール"));

  g.SetCell(1, 1, "not,a,button");
  ASSERT_TRUE(CellTitle(g, 1, 1, t)) << "short texts read with the defaults";
  EXPECT_EQ(t.title, Sjis("[ ツール ] [使用回数 : 0 ] 未登録"));
  g.SetCell(1, 1, "x,0,\"\",\"\",\"\",\"\",\"\",\"\",0,1,\"\"");
  EXPECT_TRUE(CellTitle(g, 1, 1, t)) << "a kind that is no number does not break the grid";
}

TEST(GridRules, PopupMenuShowsAndEnablesByCellAndLimits) {
  TDataStatus status;
  status.MaxPages = 3;
  status.MinButtons = 2;
  TGridStore g = Grid({3, 2, 1}, StatusToText(status));

  auto onName = PopupMenuState(g, 0, 1, 1, "");
  EXPECT_TRUE(onName.pageItems);
  EXPECT_FALSE(onName.buttonItems);
  EXPECT_FALSE(onName.paste);
  EXPECT_FALSE(onName.pageNew) << "three pages of at most three";
  EXPECT_TRUE(onName.pageDelete);
  EXPECT_FALSE(onName.pageMoveUp);
  EXPECT_TRUE(onName.pageMoveDown);
  EXPECT_TRUE(onName.buttonDelete) << "3 buttons, minimum 2";

  auto onButton = PopupMenuState(g, 2, 2, 2, "copied");
  EXPECT_FALSE(onButton.pageItems);
  EXPECT_TRUE(onButton.buttonItems);
  EXPECT_TRUE(onButton.paste);
  EXPECT_FALSE(onButton.buttonDelete) << "2 buttons, minimum 2";
  EXPECT_TRUE(onButton.pageMoveUp);
  EXPECT_EQ(onButton.popupCellText, g.Cell(2, 2));

  // Button kinds 0 ... 7 in columns 1 ... 8 of one page.
  TGridStore kinds = Grid({8});
  const bool clear[] = {false, true, true, true, true, true, true, true};
  const bool open[] = {false, true, true, false, false, true, true, true};
  for (int k = 0; k < 8; ++k) {
    auto s = PopupMenuState(kinds, 1, k + 1, 1, "");
    EXPECT_EQ(s.buttonClear, clear[k]) << k;
    EXPECT_EQ(s.linkOpen, open[k]) << k;
    EXPECT_FALSE(s.pageDelete) << "one page";
    EXPECT_FALSE(s.pageMoveDown);
    EXPECT_TRUE(s.pageNew) << "no page limit";
  }
}
