#include "ListDiff.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "BenchData.h"
#include "ComparedLists.h"
#include "FileIO.h"
#include "RecordText.h"
#include "ShiftJis.h"
#include "TestSupport.h"

namespace {

std::string Shown(std::string_view text) {
  return sjis::ToUtf8ForDisplay(text);
}

// A list of pages, each a name and its buttons' titles; a title "t=/x" has target /x,
// any other the target "/bin/" + title.
TLaunchList ListOf(std::initializer_list<std::pair<const char*, std::vector<const char*>>> pages) {
  TLaunchList list;
  list.Pages.Clear();
  list.Clear();
  for (const auto& [name, titles] : pages) {
    list.Pages.Add(
        std::make_unique<TPageItem>(bench::Sjis(name), static_cast<int>(titles.size()), 0));
    for (const char* title : titles) {
      TLaunchDataItem& item = list.Emplace();
      const std::string text = bench::Sjis(title);
      std::string_view t(text);
      const auto eq = t.find('=');
      item.Kind = lkProgram;
      item.Title = t.substr(0, eq);
      item.Link =
          eq == std::string_view::npos ? "/bin/" + std::string(t) : std::string(t.substr(eq + 1));
    }
  }
  return list;
}

TLaunchDataItem& At(TLaunchList& list, int p, int b) {
  return list.Items(p, b);
}

// The lists' contents as a reader sees them: status, and each page's name, extra
// value and buttons (what no page owns, with the last page).
std::string Shape(const TLaunchList& list) {
  std::string out = StatusToText(list.Status) + "\n";
  const std::vector<int> starts = PageStarts(list);
  for (std::size_t p = 0; p + 1 < starts.size(); ++p) {
    const TPageItem& page = list.Pages.Get(static_cast<int>(p));
    out += "[" + page.Caption + "," + std::to_string(page.Extra) + "]\n";
    for (int i = starts[p]; i < starts[p + 1]; ++i)
      out += ItemToText(list.Get(i)) + "\n";
  }
  return out;
}

std::vector<std::string> Lines(const TLaunchList& a, const TLaunchList& b) {
  const TListMatch m = MatchLists(a, b);
  std::vector<std::string> lines;
  for (const TListDifference& d : ListDifferences(a, b, m))
    lines.push_back(DescribeDifference(a, b, d, Shown));
  return lines;
}

using TLines = std::vector<std::string>;

}  // namespace

TEST(ListDiff, TellsPagesAndButtonsAsAUserSeesThem) {
  const TLaunchList a =
      ListOf({{"ツール", {"端末", "電卓", "メモ"}}, {"文書", {"表", "図"}}, {"空", {}}});
  TLaunchList b =
      ListOf({{"道具", {"端末", "メモ", "電卓"}}, {"追加", {"x"}}, {"文書", {"図", "新"}}});
  b.Items(0, 0).Link = "/usr/bin/foot";
  b.Items(0, 0).UseCount = 3;
  EXPECT_EQ(
      Lines(a, b),
      (TLines{"ページ 1 「ツール」 ページ名 「ツール」 → 「道具」",
              "ページ 1 「道具」: ボタン 1 「端末」 リンク先 /bin/端末 → /usr/bin/foot",
              "ページ 1 「道具」: ボタン 1 「端末」 使用回数 +3 (0 → 3)",
              "ページ 1 「ツール」: ボタン 3 「メモ」をページ 1 「道具」のボタン 2 へ移動",
              "ページ 2 「追加」を追加 (ボタン 1 個)", "ページ 2 「文書」: ボタン 1 「表」を削除",
              "ページ 3 「文書」: ボタン 2 「新」を追加", "ページ 3 「空」を削除 (ボタン 0 個)"}));
  EXPECT_EQ(DifferenceStat(ListDifferences(a, b, MatchLists(a, b))),
            (TLines{"ページの追加: 1", "ページの削除: 1", "ページ名の変更: 1", "ボタンの追加: 1",
                    "ボタンの削除: 1", "ボタンの移動: 1", "ボタンの変更: 1", "使用回数の変更: 1",
                    "差分: 8 件"}));
  EXPECT_TRUE(Lines(a, a).empty());
}

TEST(ListDiff, FollowsAButtonAcrossPagesAndARenamedMovedPageByItsButtons) {
  const TLaunchList a = ListOf({{"A", {"1", "2", "3"}}, {"B", {"4", "5", "6", "7"}}});
  // B renamed and put first; button 2 moved to it and retitled (same target).
  const TLaunchList b = ListOf({{"C", {"4", "5", "6", "7", "二=/bin/2"}}, {"A", {"1", "3"}}});
  EXPECT_EQ(Lines(a, b),
            (TLines{"ページ 2 「B」 ページ名 「B」 → 「C」", "ページ 2 「B」をページ 1 へ移動",
                    "ページ 1 「A」: ボタン 2 「2」をページ 1 「C」のボタン 5 へ移動、"
                    "タイトル 2 → 二"}));
}

TEST(ListMerge, TakesEachSidesChangesAndAddsUpUseCounts) {
  TLaunchList base = ListOf({{"A", {"1", "2", "3"}}, {"B", {"4", "5"}}});
  At(base, 0, 0).UseCount = 10;
  // Ours: edits button 1's parameters, adds a button to A, renames B; counted 2 uses.
  TLaunchList ours = ListOf({{"A", {"1", "2", "3", "o"}}, {"B2", {"4", "5"}}});
  At(ours, 0, 0).UseCount = 12;
  At(ours, 0, 0).Params = "-o";
  // Theirs: edits button 1's comment, removes 2, moves 5 to A first, adds a page;
  // counted 3 uses.
  TLaunchList theirs = ListOf({{"A", {"5", "1", "3"}}, {"B", {"4"}}, {"N", {"n"}}});
  At(theirs, 0, 1).UseCount = 13;
  At(theirs, 0, 1).Comment = "c";
  const TMergeResult merged = MergeLists(base, ours, theirs);
  EXPECT_TRUE(merged.Conflicts.empty());
  TLaunchList expected = ListOf({{"A", {"5", "1", "3", "o"}}, {"B2", {"4"}}, {"N", {"n"}}});
  At(expected, 0, 1).UseCount = 15;
  At(expected, 0, 1).Params = "-o";
  At(expected, 0, 1).Comment = "c";
  EXPECT_EQ(Shape(merged.Merged), Shape(expected));

  // The same change on both sides is made once.
  const TMergeResult same = MergeLists(base, ours, ours);
  EXPECT_TRUE(same.Conflicts.empty());
  TLaunchList once = ListOf({{"A", {"1", "2", "3", "o"}}, {"B2", {"4", "5"}}});
  At(once, 0, 0).Params = "-o";
  At(once, 0, 0).UseCount = 14;  // each side's two uses
  EXPECT_EQ(Shape(same.Merged), Shape(once));
}

TEST(ListMerge, KeepsOursInAConflictListsItAndTakesTheirsWhenChosen) {
  const TLaunchList base = ListOf({{"A", {"1", "2", "3"}}, {"B", {"4"}}});
  TLaunchList ours = ListOf({{"A", {"1", "2"}}, {"Bo", {"4"}}});  // removes 3
  At(ours, 0, 0).Link = "/ours";
  At(ours, 0, 1).Title = bench::Sjis("二");
  TLaunchList theirs = ListOf({{"A", {"1", "3"}}, {"Bt", {"4"}}});  // removes 2
  At(theirs, 0, 0).Link = "/theirs";
  At(theirs, 0, 1).Comment = "changed";
  const TMergeResult merged = MergeLists(base, ours, theirs);
  std::vector<std::string> told;
  for (const TMergeConflict& c : merged.Conflicts)
    told.push_back(DescribeConflict(base, ours, theirs, c, Shown));
  EXPECT_EQ(
      told,
      (TLines{"ページ 1 「A」: ボタン 2 「3」: こちらで削除したボタンが相手で変更されています",
              "ページ 1 「A」: ボタン 2 「二」: 相手で削除されたボタンをこちらで変更しています",
              "ページ 1 「A」: ボタン 1 「1」: 両方で変更されています (こちら: リンク先 "
              "/bin/1 → /ours; 相手: リンク先 /bin/1 → /theirs)",
              "ページ 2 「Bo」: ページ名が両方で変更されています (相手: 「Bt」)"}));
  EXPECT_EQ(Shape(merged.Merged), Shape(ours));

  std::vector<std::uint64_t> theirsChosen;
  for (const TMergeConflict& c : merged.Conflicts)
    theirsChosen.push_back(c.Key());
  const TMergeResult chosen = MergeLists(base, ours, theirs, theirsChosen);
  EXPECT_EQ(chosen.Conflicts.size(), merged.Conflicts.size());
  EXPECT_EQ(Shape(chosen.Merged), Shape(theirs));
}

namespace {

// A random list: few names and titles, so that pages and buttons repeat.
TLaunchList RandomList(bench::TRandom& random) {
  TLaunchList list;
  list.Pages.Clear();
  list.Clear();
  const int pages = random.Below(6);
  for (int p = 0; p < pages; ++p) {
    const int count = random.Below(7);
    list.Pages.Add(std::make_unique<TPageItem>(
        std::string(1, static_cast<char>('a' + random.Below(4))), count, random.Below(3) == 0));
    for (int i = 0; i < count; ++i) {
      TLaunchDataItem& item = list.Emplace();
      item.Title = std::string(1, static_cast<char>('A' + random.Below(8)));
      item.Link = random.Below(4) == 0 ? "" : "/" + std::to_string(random.Below(6));
      item.UseCount = random.Below(4);
      item.Comment = random.Below(5) == 0 ? "c" : "";
    }
  }
  return list;
}

// list with chance edits of every kind a user or another program makes.
TLaunchList Edited(const TLaunchList& list, bench::TRandom& random) {
  TLaunchList out;
  out.Pages.Clear();
  out.Clear();
  out.Status = list.Status;
  if (random.Below(8) == 0) out.Status.Version = "9";
  const std::vector<int> starts = PageStarts(list);
  std::vector<std::pair<TPageItem, std::vector<TLaunchDataItem>>> pages;
  for (std::size_t p = 0; p + 1 < starts.size(); ++p) {
    if (random.Below(8) == 0) continue;  // removed
    pages.emplace_back(list.Pages.Get(static_cast<int>(p)), std::vector<TLaunchDataItem>());
    if (random.Below(6) == 0) pages.back().first.Caption += "'";
    for (int i = starts[p]; i < starts[p + 1]; ++i) {
      if (random.Below(8) == 0) continue;
      TLaunchDataItem item = list.Get(i);
      if (random.Below(6) == 0) item.Link = "/e" + std::to_string(random.Below(3));
      if (random.Below(6) == 0) item.UseCount += random.Below(5);
      if (random.Below(10) == 0) item.Title = "T";
      pages.back().second.push_back(item);
    }
  }
  for (int k = random.Below(4); k > 0 && !pages.empty(); --k) {  // moves
    auto& from = pages[random.Below(static_cast<int>(pages.size()))].second;
    auto& to = pages[random.Below(static_cast<int>(pages.size()))].second;
    if (from.empty()) continue;
    const int at = random.Below(static_cast<int>(from.size()));
    TLaunchDataItem item = from[at];
    from.erase(from.begin() + at);
    to.insert(to.begin() + random.Below(static_cast<int>(to.size()) + 1), item);
  }
  if (random.Below(4) == 0 && pages.size() > 1) std::swap(pages.front(), pages.back());
  if (random.Below(4) == 0)
    pages.emplace_back(TPageItem("new", 0, 0), std::vector<TLaunchDataItem>(1));
  for (auto& [page, items] : pages) {
    if (random.Below(4) == 0)
      items.insert(items.begin() + random.Below(static_cast<int>(items.size()) + 1),
                   TLaunchDataItem());
    out.Pages.Add(
        std::make_unique<TPageItem>(page.Caption, static_cast<int>(items.size()), page.Extra));
    for (const TLaunchDataItem& item : items)
      out.Emplace(item);
  }
  return out;
}

std::vector<TLaunchList> CorpusLists() {
  std::vector<TLaunchList> lists;
  for (const char* folder : {"data_file", "text_file"})
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(PELLO_FUZZ_CORPUS) + "/" + folder)) {
      TLaunchList list;
      try {
        list.LoadFromBytes(testing_support::ReadFile(entry.path().string()));
      } catch (const std::exception&) {
        continue;
      }
      if (list.Loaded) lists.push_back(std::move(list));
    }
  return lists;
}

}  // namespace

// For any lists: the match rebuilds b from a, a merge with one side unchanged gives
// the other side, and a merge of a side with itself gives it.
TEST(ListMerge, OneSideUnchangedGivesTheOtherOnRandomAndCorpusLists) {
  bench::TRandom random(35);
  std::vector<std::pair<TLaunchList, TLaunchList>> cases;
  for (int n = 0; n < 600; ++n) {
    TLaunchList base = RandomList(random);
    TLaunchList edited = Edited(base, random);
    cases.emplace_back(std::move(base), std::move(edited));
  }
  for (TLaunchList& list : CorpusLists()) {
    TLaunchList edited = Edited(list, random);
    cases.emplace_back(std::move(list), std::move(edited));
  }
  for (const auto& [base, x] : cases) {
    ASSERT_EQ(Shape(ApplyMatch(base, x, MatchLists(base, x))), Shape(x)) << Shape(base);
    ASSERT_EQ(Shape(ApplyMatch(x, base, MatchLists(x, base))), Shape(base)) << Shape(x);
    const TMergeResult ours = MergeLists(base, x, base);
    ASSERT_EQ(Shape(ours.Merged), Shape(x)) << Shape(base);
    ASSERT_TRUE(ours.Conflicts.empty());
    const TMergeResult theirs = MergeLists(base, base, x);
    ASSERT_EQ(Shape(theirs.Merged), Shape(x)) << Shape(base);
    ASSERT_TRUE(theirs.Conflicts.empty());
    // Both sides edited: whatever the conflicts, each is told of places that exist,
    // and choosing theirs for all of them still gives a whole list.
    const TLaunchList y = Edited(base, random);
    const TMergeResult both = MergeLists(base, x, y);
    std::vector<std::uint64_t> keys;
    for (const TMergeConflict& c : both.Conflicts) {
      EXPECT_FALSE(DescribeConflict(base, x, y, c, Shown).empty());
      keys.push_back(c.Key());
    }
    const TLaunchList& taken = MergeLists(base, x, y, keys).Merged;
    ASSERT_EQ(taken.MissingButtons(), 0);
    ASSERT_EQ(PageStarts(taken).back(), taken.Count());
  }
}

namespace {

// A text data file's bytes kept as lines, as pellodata reads them.
struct TKeptLines {
  explicit TKeptLines(std::string text) : bytes(std::move(text)) {
    TMemorySource source(bytes);
    EXPECT_TRUE(lines.Read(source));
  }
  std::string bytes;
  TTextFileLines lines;
};

TLaunchList Reloaded(const std::string& bytes) {
  TLaunchList list;
  list.LoadFromBytes(bytes);
  return list;
}

}  // namespace

// Files kept as their lines (each read only where it differs) compare and merge as the
// loaded lists do; what no side changed is written as its file has it.
TEST(ListMerge, FilesKeptAsLinesMergeAsLoadedListsDo) {
  bench::TRandom random(36);
  for (int n = 0; n < 300; ++n) {
    const TLaunchList base = RandomList(random);
    if (base.Pages.Count() == 0) continue;
    const TLaunchList x = Edited(base, random), y = Edited(base, random);
    const TKeptLines o(TextDataFileBytes(base)), a(TextDataFileBytes(x)), b(TextDataFileBytes(y));
    std::vector<std::string> kept, loaded;
    for (const TListDifference& d : ListDifferences(o.lines, a.lines, MatchLists(o.lines, a.lines)))
      kept.push_back(DescribeDifference(o.lines, a.lines, d, Shown));
    for (const TListDifference& d : ListDifferences(base, x, MatchLists(base, x)))
      loaded.push_back(DescribeDifference(base, x, d, Shown));
    ASSERT_EQ(kept, loaded);
    const TMergePlan plan = PlanMerge(o.lines, a.lines, b.lines);
    TMergedSource merged(plan, a.lines, b.lines);
    const TMergeResult expected = MergeLists(base, x, y);
    ASSERT_EQ(TextDataFileBytes(merged), TextDataFileBytes(expected.Merged));
    ASSERT_EQ(TextDataFileBytes(merged), TextDataFileBytes(expected.Merged)) << "written again";
    ASSERT_EQ(plan.Conflicts.size(), expected.Conflicts.size());
  }
  // Lines not in the writer's form, from the corpora, are kept as they stand.
  for (const TLaunchList& list : CorpusLists()) {
    if (list.MissingButtons() > 0) continue;  // no file of the writer's
    const std::string original = TextDataFileBytes(list);
    const TKeptLines o(original), a(TextDataFileBytes(Edited(list, random)));
    const TMergePlan plan = PlanMerge(o.lines, a.lines, o.lines);
    TMergedSource merged(plan, a.lines, o.lines);
    ASSERT_EQ(Shape(Reloaded(TextDataFileBytes(merged))), Shape(Reloaded(a.bytes)));
  }
}
