#include "LaunchList.h"

#include <gtest/gtest.h>

#include "FixedTexts.h"
#include "LaunchErrors.h"
#include "RecordText.h"

namespace {

// Pages of the given counts, each button titled "p.b".
TLaunchList ListOf(std::initializer_list<int> counts) {
  TLaunchList list;
  list.DeletePage(0);
  int p = 0;
  for (int count : counts) {
    list.AddPage("P" + std::to_string(p), count, 0);
    for (int b = 0; b < count; ++b)
      list.Items(p, b).Title = std::to_string(p) + "." + std::to_string(b);
    ++p;
  }
  return list;
}

std::vector<std::string> Titles(const TLaunchList& list) {
  std::vector<std::string> out;
  for (int i = 0; i < list.Count(); ++i)
    out.push_back(list.Get(i).Title);
  return out;
}

using Strings = std::vector<std::string>;

}  // namespace

TEST(LaunchList, StartsWithOnePageOfOneUnregisteredButton) {
  TLaunchList list;
  EXPECT_EQ(list.Status, TDataStatus());
  EXPECT_EQ(list.Status.AppName, "PelloRunner");
  EXPECT_EQ(list.Status.MinButtons, 1);
  ASSERT_EQ(list.Pages.Count(), 1);
  EXPECT_EQ(list.Pages.Get(0), TPageItem(cp932::kNewPage, 1, 0));
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Items(0, 0).Title, cp932::kUnregistered);
  EXPECT_EQ(list.Items(0, 0).Kind, lkNone);
  EXPECT_FALSE(list.Loaded);
  EXPECT_TRUE(list.FileName.ends_with(".lst"));
}

TEST(LaunchList, FlatIndexSumsTheCountsOfThePagesBefore) {
  TLaunchList list = ListOf({2, 3, 1});
  EXPECT_EQ(list.ItemIndex(2, 0), 5);
  EXPECT_EQ(list.ItemIndex(0, 4), 4) << "no check that b lies within the page";
  EXPECT_EQ(list.ItemIndex(-1, 2), 2);
  EXPECT_EQ(list.Items(1, 2).Title, "1.2");
  EXPECT_THROW(list.ItemIndex(4, 0), EListError);
}

TEST(LaunchList, AddButtonAppendsToItsPage) {
  TLaunchList list = ListOf({2, 3, 1});
  auto item = NewLaunchItem();
  item->Title = "x";
  EXPECT_EQ(list.AddButton(1, std::move(item)), 7);
  EXPECT_EQ(list.Get(5).Title, "x");
  EXPECT_EQ(list.Pages.Get(1).Count, 4);
  EXPECT_EQ(Titles(list), (Strings{"0.0", "0.1", "1.0", "1.1", "1.2", "x", "2.0"}));
}

TEST(LaunchList, DeletePageTakesItsButtonsWithIt) {
  TLaunchList list = ListOf({2, 3, 1});
  list.DeletePage(1);
  EXPECT_EQ(list.Pages.Count(), 2);
  EXPECT_EQ(Titles(list), (Strings{"0.0", "0.1", "2.0"}));
  try {
    list.DeletePage(2);
    FAIL() << "no error";
  } catch (const ELaunchError& e) {
    EXPECT_STREQ(e.what(), "ページ数が超過しています");
  }
  EXPECT_THROW(list.DeletePage(-1), ELaunchError);
  EXPECT_EQ(list.Count(), 3);
}

TEST(LaunchList, DeletePageOfAnOverrunningCountDeletesNothing) {
  TLaunchList list = ListOf({2, 1});
  list.Pages.Get(1).Count = 5;
  EXPECT_THROW(list.DeletePage(1), EListError);
  EXPECT_EQ(list.Pages.Count(), 2);
  EXPECT_EQ(list.Count(), 3);

  // Buttons go last first, so the error names the last index of the page.
  list.Pages.Get(0).Count = 5;
  list.Pages.Get(1).Count = 2;
  try {
    list.DeletePage(1);
    FAIL() << "no error";
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "リストのインデックスが範囲を超えています (6)");
  }
  EXPECT_EQ(list.Count(), 3);
}

TEST(LaunchList, PageCountsAreAtLeastOneAndAddPageMayAddNone) {
  TLaunchList list;
  list.SetPageCount(0, 0);
  EXPECT_EQ(list.Pages.Get(0).Count, 1);
  list.SetPageCount(0, -5);
  EXPECT_EQ(list.Pages.Get(0).Count, 1);
  EXPECT_EQ(list.AddPage("empty", 0, 9), 2);
  EXPECT_EQ(list.Pages.Get(1), TPageItem("empty", 0, 9));
  EXPECT_EQ(list.AddPage("neg", -2, 0), 3);
  EXPECT_EQ(list.Pages.Get(2).Count, 0) << "a negative count would start the next page inside";
  EXPECT_EQ(list.Count(), 1);
}

TEST(LaunchList, DeleteButtonKeepsThePagesInStepWithTheButtons) {
  TLaunchList list = ListOf({2, 1});
  list.DeleteButton(0, 0);
  EXPECT_EQ(list.Pages.Get(0).Count, 1);
  EXPECT_EQ(Titles(list), (Strings{"0.1", "1.0"}));
  list.DeleteButton(0, 0);  // the only button: the page owns none now
  EXPECT_EQ(list.Pages.Get(0).Count, 0);
  EXPECT_EQ(list.Items(1, 0).Title, "1.0");
}

TEST(LaunchList, IndexErrorsNameTheIndex) {
  TLaunchList list;
  try {
    list.Get(3);
    FAIL() << "no error";
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "リストのインデックスが範囲を超えています (3)");
  }
  EXPECT_THROW(list.Get(-1), EListError);
  EXPECT_THROW(list.Insert(2, NewLaunchItem()), EListError);
  list.Insert(1, NewLaunchItem());
  EXPECT_EQ(list.Count(), 2);
  EXPECT_THROW(list.Pages.Get(1), EListError);
}

TEST(LaunchList, ErrorRaisesItsMessageOrAPlainOne) {
  TLaunchList list;
  try {
    list.Error("");
  } catch (const ELaunchError& e) {
    EXPECT_STREQ(e.what(), "エラー");
  }
  try {
    list.Error("x");
  } catch (const ELaunchError& e) {
    EXPECT_STREQ(e.what(), "x");
  }
}

TEST(LaunchList, HugeCountsDoNotOverflow) {
  TLaunchList list = ListOf({1, 1});
  list.Pages.Get(0).Count = INT32_MAX;
  EXPECT_EQ(list.ItemIndex(1, 5), INT32_MAX);
  EXPECT_THROW(list.Items(1, 0), EListError);
}

// A loaded list's buttons live in its own blocks and borrow the file's bytes: every
// way of taking a button out, putting one in or dropping the list must leave no
// text pointing at freed bytes (the sanitizer build checks each access here).
TEST(LaunchList, TextsBorrowedFromTheFileOutliveNoneOfTheirOwners) {
  const std::string line =
      "1,5,\"Title\",\"/usr/bin/tool\",\"\",\"--x \"\"y\"\"\",\"/w\",\"\",0,1,\"c\"";
  const std::string file = ";s\r\n\"a\",\"3.00\",\"n\",0,0,1\r\n**\r\n\"p\",3,0\r\n**\r\n" + line +
                           "\r\n" + line + "\r\n" + line + "\r\n**\r\n";
  TLaunchDataItem kept;
  {
    TLaunchList list;
    list.LoadFromBytes(file);
    ASSERT_TRUE(list.Loaded);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_TRUE(list.Get(0).Link.Borrowed());
    EXPECT_FALSE(list.Get(0).Params.Borrowed());  // undoubled into its own bytes
    EXPECT_EQ(list.Get(0).Params, "--x \"y\"");
    kept = list.Get(1);
    auto copy = std::make_unique<TLaunchDataItem>(list.Get(2));
    list.Replace(0, std::move(copy));
    list.Insert(1, NewLaunchItem());
    list.Move(0, 3);
    list.Delete(2);
    list.LoadFromBytes(file);  // the old bytes go with the old buttons
    EXPECT_EQ(list.Get(2).Title, "Title");
    // A changed button is written as it now is, not as the file held it.
    list.Get(0).UseCount = 6;
    list.Get(1).Comment = "d";
    list.Get(2).Link = list.Get(2).Title;
    const std::string saved = TextDataFileBytes(list);
    EXPECT_NE(saved.find("1,6,\"Title\",\"/usr/bin/tool\","), std::string::npos);
    EXPECT_NE(saved.find(",0,1,\"d\"\r\n"), std::string::npos);
    EXPECT_NE(saved.find("1,5,\"Title\",\"Title\","), std::string::npos);
    TLaunchList other;
    other.Assign(list);
    list.DeleteRange(0, 2);
    EXPECT_EQ(other.Get(1).Link, "/usr/bin/tool");
  }
  EXPECT_FALSE(kept.Link.Borrowed());
  EXPECT_EQ(ItemToText(kept), line);
}
