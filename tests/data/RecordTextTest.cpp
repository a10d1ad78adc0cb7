#include "RecordText.h"

#include <gtest/gtest.h>

#include "FixedTexts.h"
#include "LaunchErrors.h"
#include "RecordSplit.h"
#include "TestSupport.h"

using testing_support::Sjis;

namespace {

std::vector<std::string> Split(std::string_view line) {
  TRecordFields fields;
  SplitRecord(line, fields);
  std::vector<std::string> out;
  for (std::size_t i = 0; i < fields.Count(); ++i)
    out.emplace_back(fields[i]);
  return out;
}

using Fields = std::vector<std::string>;

TLaunchDataItem FullItem() {
  TLaunchDataItem item;
  item.Kind = lkShortcut;
  item.UseCount = 123456;
  item.Title = Sjis("表計算 \"v2\"");
  item.Link = "C:\\Tools\\calc.lnk";
  item.AltLink = Sjis("C:\\ソフト\\calc.exe");
  item.Params = "-a \"b c\"";
  item.WorkDir = "C:\\Tools\\";
  item.IconFile = "shell32.dll";
  item.ShowCmd = kShowMaximized;
  item.IconIndex = -3;
  item.Comment = "line1\\nline2";
  return item;
}

}  // namespace

TEST(RecordTexts, OfNewRecordsAreTheDocumentedLines) {
  EXPECT_EQ(ItemToText(*NewLaunchItem()), Sjis("0,0,\"未登録\",\"\",\"\",\"\",\"\",\"\",0,1,\"\""));
  EXPECT_EQ(PageToText(TPageItem(cp932::kNewPage, 1, 0)), Sjis("\"新規ページ\",1,0"));
  EXPECT_EQ(StatusToText(TDataStatus()), "\"PelloRunner\",\"3.00\",\"MakerText(C)Dwo\",0,0,1");
}

TEST(RecordTexts, CarryEveryFieldThroughAButtonText) {
  const TLaunchDataItem item = FullItem();
  const std::string text = ItemToText(item);
  EXPECT_EQ(text.substr(0, 9), "6,123456,");
  EXPECT_NE(text.find(",-3,3,"), std::string::npos) << "IconIndex is written before ShowCmd";
  EXPECT_EQ(*TextToItem(text), item);

  TPageItem page(Sjis("ページ\"1\""), 4, 77);
  EXPECT_EQ(*TextToPage(PageToText(page)), page);
  TDataStatus status;
  status.AppName = "A,B";
  status.Version = "9";
  status.Notice = Sjis("注意");
  status.MaxPages = 5;
  status.MaxButtons = 10;
  status.MinButtons = 2;
  EXPECT_EQ(*TextToStatus(StatusToText(status)), status);
}

TEST(RecordTexts, KeepATrailByteBackslashAndADoubledQuote) {
  TLaunchDataItem item;
  item.Title = Sjis("表\"示") + "\\";
  item.Link = Sjis("C:\\表\\ソ.exe");
  const std::string text = ItemToText(item);
  EXPECT_NE(text.find(Sjis("表\"\"示")), std::string::npos);
  EXPECT_EQ(TextToItem(text)->Title, item.Title);
  EXPECT_EQ(TitleOfText(text), item.Title);
  EXPECT_EQ(LinkOfText(text), item.Link);
}

TEST(RecordTexts, KeepBytesThatAreNotShiftJis) {
  TLaunchDataItem item;
  item.Title = "\x81\"\xff\x80";  // a lead byte before a quote, and bytes of no character
  EXPECT_EQ(TextToItem(ItemToText(item))->Title, item.Title);
}

TEST(RecordTexts, KeepEachRecordOnOneLine) {
  TLaunchDataItem item;
  item.Comment = "a\r\nb\nc\rd\x1a";
  const std::string text = ItemToText(item);
  EXPECT_EQ(text.find_first_of("\r\n\x1a"), std::string::npos);
  EXPECT_EQ(TextToItem(text)->Comment, "a\\nb\\nc\\nd ");
}

TEST(RecordTexts, QuotesAroundAWholeValueAreLostButNothingElse) {
  TLaunchDataItem item;
  item.Title = "\"x\"";
  EXPECT_EQ(TextToItem(ItemToText(item))->Title, "x");
  item.Title = "\"\"";
  EXPECT_EQ(TextToItem(ItemToText(item))->Title, "\"\"");
  EXPECT_EQ(TitleOfText(ItemToText(item)), "");
  item.Title = "\"Quoted\" program";
  EXPECT_EQ(TextToItem(ItemToText(item))->Title, item.Title);
  item.Title = "\"open";
  EXPECT_EQ(TextToItem(ItemToText(item))->Title, item.Title);
  item.Title = "a\"b";
  EXPECT_EQ(TextToItem(ItemToText(item))->Title, "a\"b");
  item.Title = Sjis("字");
  EXPECT_EQ(TitleOfText(ItemToText(item)), item.Title) << "a short value is not taken for quotes";
}

TEST(RecordTexts, ShortOrMalformedLinesGiveTheDefaults) {
  auto ten = TextToItem("1,2,\"t\",\"l\",\"\",\"\",\"\",\"\",0,3");
  EXPECT_EQ(*ten, *NewLaunchItem());

  auto item = TextToItem("1,x,\"t\",\"l\",\"\",\"\",\"\",\"\",y,z,\"\"");
  EXPECT_EQ(item->UseCount, 0);
  EXPECT_EQ(item->IconIndex, 0);
  EXPECT_EQ(item->ShowCmd, 1);
  auto maximized = TextToItem("1,0,\"t\",\"l\",\"\",\"\",\"\",\"\",0,3,\"\"");
  EXPECT_EQ(maximized->ShowCmd, 3);
  EXPECT_EQ(maximized->IconIndex, 0);
  EXPECT_EQ(TextToItem("300,0,\"\",\"\",\"\",\"\",\"\",\"\",0,1,\"\"")->Kind, 300 & 0xFF);

  EXPECT_EQ(*TextToPage("\"p\",x,y"), TPageItem("p", 0, 0));
  EXPECT_EQ(*TextToPage("\"p\",1"), TPageItem("untitled", 0, 0));

  auto five = TextToStatus("\"a\",\"b\",\"c\",1,2");
  EXPECT_EQ(five->AppName, "unknown");
  EXPECT_EQ(five->Version, "unknown");
  EXPECT_EQ(five->Notice, "unknown");
  EXPECT_EQ(five->MaxPages, 0);
  EXPECT_EQ(five->MinButtons, 10);
  EXPECT_EQ(TextToStatus("\"a\",\"b\",\"c\",1,2,x")->MinButtons, 10);
}

TEST(RecordTexts, AButtonWhoseKindIsNoIntegerIsAnError) {
  try {
    TextToItem(Sjis("種類,0,\"\",\"\",\"\",\"\",\"\",\"\",0,1,\"\""));
    FAIL() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'種類' は整数ではありません");
  }
}

TEST(RecordSplit, FollowsTheQuotingAndGapRules) {
  EXPECT_EQ(Split(""), Fields{});
  EXPECT_EQ(Split("   "), Fields{});
  EXPECT_EQ(Split("a,b"), (Fields{"a", "b"}));
  EXPECT_EQ(Split("a,"), (Fields{"a", ""})) << "a closing comma adds an empty field";
  EXPECT_EQ(Split("a, "), Fields{"a"}) << "but not when blanks follow it";
  EXPECT_EQ(Split("a,,b"), (Fields{"a", "", "b"}));
  EXPECT_EQ(Split("  a ,\t b"), (Fields{"a", "b"}));
  EXPECT_EQ(Split("a b,c"), (Fields{"a", "b", "c"})) << "a blank ends an unquoted field";
  EXPECT_EQ(Split("\"a b\",c"), (Fields{"a b", "c"}));
  EXPECT_EQ(Split("\"a\"\"b\""), Fields{"a\"b"});
  EXPECT_EQ(Split("\"a\"b,c"), (Fields{"a", "b", "c"}));
  EXPECT_EQ(Split("\"abc"), Fields{"abc"}) << "an unclosed quote takes the rest";
  EXPECT_EQ(Split(std::string("a\0b", 3)), (Fields{"a", "b"}));
  EXPECT_EQ(Split(std::string("\"a\0b\"", 5)), Fields{std::string("a\0b", 3)});
}

TEST(RecordSplit, AnUnquotedBlankShiftsTheLaterFields) {
  auto item = TextToItem("1,0,My Tool,\"l\",\"\",\"\",\"\",\"\",0,1,\"\"");
  EXPECT_EQ(item->Title, "My");
  EXPECT_EQ(item->Link, "Tool");
  EXPECT_EQ(item->AltLink, "l");
}

TEST(FieldReaders, PickOneFieldOrRaiseTheListIndexError) {
  const std::string text = ItemToText(FullItem());
  EXPECT_EQ(TitleOfText(text), FullItem().Title);
  EXPECT_EQ(LinkOfText(text), FullItem().Link);
  EXPECT_EQ(CommentOfText(text), FullItem().Comment);
  EXPECT_EQ(KindOfText(text), 6);
  EXPECT_EQ(UseCountOfText(text), 123456);
  EXPECT_EQ(CaptionOfText(Sjis("\"新規ページ\",3,0")), Sjis("新規ページ"));
  EXPECT_EQ(CaptionOfText(StatusToText(TDataStatus())), "PelloRunner");
  EXPECT_EQ(CountOfText("\"p\",3,0"), 3);

  EXPECT_EQ(KindOfText(""), 0);
  EXPECT_EQ(KindOfText("7"), 7);
  EXPECT_EQ(UseCountOfText("5"), 5) << "the plain split yields the last field";
  EXPECT_EQ(UseCountOfText("5,x"), 0);

  try {
    TitleOfText("");
    FAIL() << "no error";
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "リストのインデックスが範囲を超えています (2)");
  }
  EXPECT_THROW(CommentOfText("1,2,3"), EListError);
  EXPECT_THROW(CaptionOfText(""), EListError);
  EXPECT_THROW(CountOfText("\"p\""), EListError);
  EXPECT_THROW(CountOfText("\"p\",x"), EConvertError);
}
