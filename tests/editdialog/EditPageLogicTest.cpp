// The page edit dialog's rules over texts: the page name's commit, the count label,
// the list's orders, block moves and drops, and the detail fields of a button.
#include <gtest/gtest.h>

#include "ButtonDetails.h"
#include "EditPageLogic.h"
#include "RecordText.h"
#include "TestSupport.h"
#include "TextFormat.h"

using testing_support::Sjis;

namespace {

std::string Button(const std::string& title, int useCount = 0, std::uint8_t kind = lkProgram) {
  TLaunchDataItem item;
  item.Kind = kind;
  item.Title = title;
  item.UseCount = useCount;
  return ItemToText(item);
}

std::vector<std::string> Titles(const TEntries& entries) {
  std::vector<std::string> titles;
  for (const std::string& e : entries)
    titles.push_back(TitleOfText(e));
  return titles;
}

using TTitles = std::vector<std::string>;

}  // namespace

TEST(EditPageLogic, ALetterCaseChangeAloneDoesNotRename) {
  EXPECT_EQ(CommittedCaption("tools", QStringLiteral("TOOLS")), "tools");
  EXPECT_EQ(CommittedCaption("tools", QStringLiteral("tool")), "tool");
  EXPECT_EQ(CommittedCaption("tools", QString()), "tools");
  EXPECT_EQ(CommittedCaption(Sjis("ツール"), QStringLiteral("ツール箱")), Sjis("ツール箱"));
}

TEST(EditPageLogic, TheCountLabelPadsToFiveDigits) {
  EXPECT_EQ(CountLabelText(12, 100), QStringLiteral("登録数： 00012 - 00100"));
  EXPECT_EQ(CountLabelText(12, 0), QStringLiteral("登録数： 00012 - 無制限"));
}

TEST(EditPageLogic, TitleSortIsCaseBlindWithTiesInPositionOrder) {
  const TEntries entries = {Button("b"), Button("A"), Button("a"), Button("B")};
  EXPECT_EQ(Titles(SortByTitle(entries, false)), (TTitles{"A", "a", "b", "B"}));
  EXPECT_EQ(Titles(SortByTitle(entries, true)), (TTitles{"B", "b", "a", "A"}));
  EXPECT_EQ(Titles(SortByTitle({Button("Mail box"), Button("Mail")}, false)),
            (TTitles{"Mail", "Mail box"}));
  EXPECT_EQ(Titles(SortByTitle({Button("b"), Button("10"), Button(" x")}, false)),
            (TTitles{" x", "10", "b"}))
      << "a blank before digits before letters";
}

TEST(EditPageLogic, UseCountSortBreaksTiesByTheWholeText) {
  const TEntries entries = {Button("p5", 5), Button("p12", 12), Button("u5", 5, lkNone)};
  EXPECT_EQ(Titles(SortByUseCount(entries, false)), (TTitles{"u5", "p5", "p12"}));
  EXPECT_EQ(Titles(SortByUseCount(entries, true)), (TTitles{"p12", "p5", "u5"}));
  const TEntries huge = {Button("big", 123456), Button("neg", -99999), Button("one", 1)};
  TEntries sorted = SortByUseCount(huge, false);
  std::sort(sorted.begin(), sorted.end());
  TEntries same = huge;
  std::sort(same.begin(), same.end());
  EXPECT_EQ(sorted, same) << "counts wider than five digits come back unchanged";
}

TEST(EditPageLogic, MovesAndDropsPlaceTheBlockAsOne) {
  const TEntries five = {Button("0"), Button("1"), Button("2"), Button("3"), Button("4")};
  const std::vector<bool> sel13 = {false, true, false, true, false};
  EXPECT_EQ(Titles(MoveSelection(five, sel13, 5 - 2)), (TTitles{"0", "2", "4", "1", "3"}));
  EXPECT_EQ(Titles(MoveSelection(five, sel13, 0)), (TTitles{"1", "3", "0", "2", "4"}));

  const auto drag = [&](std::vector<bool> selected, int onto) {
    const int k = static_cast<int>(std::count(selected.begin(), selected.end(), true));
    return Titles(MoveSelection(five, selected, DropTarget(5, k, onto)));
  };
  EXPECT_EQ(drag({false, true, false, false, false}, 3), (TTitles{"0", "2", "3", "1", "4"}));
  EXPECT_EQ(drag({false, false, false, true, false}, 1), (TTitles{"0", "3", "1", "2", "4"}));
  EXPECT_EQ(drag({true, true, false, false, false}, 4), (TTitles{"2", "3", "4", "0", "1"}));
  EXPECT_EQ(drag({false, true, false, false, false}, -1), (TTitles{"0", "2", "3", "4", "1"}))
      << "below the last row: the end";

  // Identical entries: exactly the selected one moves.
  const TEntries same(4, Button(Sjis("未登録"), 0, lkNone));
  TEntries marked = same;
  marked[2] = Button("x", 0, lkNone);
  EXPECT_EQ(Titles(MoveSelection(marked, {false, false, true, false}, 0))[0], "x");
}

TEST(ButtonDetails, FieldsShowAndStoreWhatTheButtonHolds) {
  TLaunchDataItem shortcut;
  shortcut.Kind = lkShortcut;
  shortcut.Link = "/home/me/x.desktop";
  shortcut.AltLink = "/usr/bin/x";
  shortcut.ShowCmd = 5;
  shortcut.Comment = "a\\nb\\n";
  TDetailFields f = DetailsOfEntry(ItemToText(shortcut));
  EXPECT_EQ(f.Link, "/usr/bin/x") << "a shortcut shows its target";
  EXPECT_EQ(f.ShowRow, 0) << "show command 5 shows as a normal window";
  EXPECT_EQ(f.Comment, "a\r\nb\r\n");
  f.Link = "/usr/bin/y";
  f.UseCount = "many";
  const auto stored = TextToItem(StoreDetails(ItemToText(shortcut), f));
  EXPECT_EQ(stored->AltLink, "/usr/bin/y");
  EXPECT_EQ(stored->Link, "/home/me/x.desktop");
  EXPECT_EQ(stored->ShowCmd, 1);
  EXPECT_EQ(stored->UseCount, 0) << "not a number stores 0";
  EXPECT_EQ(stored->Comment, "a\\nb\\n");
  EXPECT_EQ(stored->Kind, lkShortcut);

  TLaunchDataItem special;
  special.Kind = lkSpecialFolder;
  special.Link = "rfPersonal";
  EXPECT_EQ(DetailsOfEntry(ItemToText(special)).SpecialFolder, 14);
  EXPECT_EQ(SpecialFolderRowText(5).endsWith(QStringLiteral(" (All Users)")), true);
  EXPECT_EQ(SpecialFolderRowText(4).endsWith(QStringLiteral(" (All Users)")), false);
}

// A field edited elsewhere keeps a byte CP932 does not define; the literal text "\x80"
// typed by the user stays those four characters.
TEST(ButtonDetails, AnEditedFieldKeepsItsUndefinedBytes) {
  const std::string title =
      "a\x80"
      "b";
  EXPECT_EQ(EditedText(title, ShownText(title)), title);
  EXPECT_EQ(EditedText(title, ShownText(title) + QStringLiteral("c")),
            "a\x80"
            "bc");
  EXPECT_EQ(EditedText(title, QStringLiteral("a\\x80b")), "a\\x80b");
  EXPECT_EQ(EditedComment("\x80\r\n", ShownComment("\x80\r\n") + QStringLiteral("x")), "\x80\r\nx");
}
