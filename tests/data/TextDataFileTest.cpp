#include <gtest/gtest.h>

#include "BinaryDataFixture.h"
#include "FileIO.h"
#include "FixedTexts.h"
#include "LaunchErrors.h"
#include "LaunchList.h"
#include "RecordText.h"
#include "TestSupport.h"
#include "ValueStream.h"

using testing_support::CrLf;
using testing_support::ReadFile;
using testing_support::Sjis;
using testing_support::TTempDir;
using testing_support::WriteFile;

namespace {

const std::string kStatusLine = "\"PelloRunner\",\"3.00\",\"MakerText(C)Dwo\",0,0,1";
const std::string kButton = "0,0,\"b\",\"\",\"\",\"\",\"\",\"\",0,1,\"\"";

std::string NewListText() {
  return CrLf(Sjis("; ステータス"), ";*STR", kStatusLine, "**", Sjis("; ページリスト"), ";*PAGE",
              Sjis("\"新規ページ\",1,0"), "**", Sjis("; ファイルリスト"), ";*FILE",
              Sjis("; [ 新規ページ ]"), ";*0",
              Sjis("0,0,\"未登録\",\"\",\"\",\"\",\"\",\"\",0,1,\"\""), "**");
}

// Loads text as a file into a fresh list; the list's buttons' titles show where they went.
struct TLoaded {
  bool accepted;
  TLaunchList list;
};

TLoaded LoadText(const std::string& text) {
  TTempDir dir;
  WriteFile(dir.File("d.lst"), text);
  TLoaded result{false, TLaunchList()};
  result.accepted = result.list.LoadFromTextFile(dir.File("d.lst"));
  return result;
}

}  // namespace

TEST(TextDataFile, OfANewListIsExactlyTheDocumentedBytes) {
  TTempDir dir;
  TLaunchList list;
  SaveToTextFile(list, dir.File("new.lst"));
  EXPECT_EQ(ReadFile(dir.File("new.lst")), NewListText());
}

TEST(TextDataFile, RoundTripKeepsStatusPagesAndButtons) {
  TTempDir dir;
  TLaunchList list;
  list.Status.MaxPages = 5;
  list.Status.Notice = Sjis("表示");
  list.Pages.Get(0).Caption = Sjis("ページ \"A\"");
  list.Get(0).Title = Sjis("表\\");
  list.Get(0).Kind = lkProgram;
  list.AddPage("second", 2, 3);
  list.Items(1, 1).Comment = "x\\ny";
  SaveToTextFile(list, dir.File("a.lst"));

  const std::string bytes = ReadFile(dir.File("a.lst"));
  EXPECT_NE(bytes.find(Sjis("\"ページ \"\"A\"\"\",1,0\r\n")), std::string::npos);
  EXPECT_NE(bytes.find(Sjis("; [ ページ \"A\" ]\r\n;*0\r\n")), std::string::npos);
  EXPECT_NE(bytes.find("; [ second ]\r\n;*1\r\n"), std::string::npos);

  TLaunchList back;
  ASSERT_TRUE(back.LoadFromTextFile(dir.File("a.lst")));
  EXPECT_EQ(back.Status, list.Status);
  ASSERT_EQ(back.Pages.Count(), 2);
  EXPECT_EQ(back.Pages.Get(0), list.Pages.Get(0));
  EXPECT_EQ(back.Pages.Get(1), list.Pages.Get(1));
  ASSERT_EQ(back.Count(), 3);
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(back.Get(i), list.Get(i));
}

TEST(TextDataFile, ButtonsGoToPagesByCountAlone) {
  auto r = LoadText(CrLf(";*STR", kStatusLine, "**", "\"a\",2,0", "\"b\",1,0", "**", ";*7",
                         "1,0,\"x\",\"\",\"\",\"\",\"\",\"\",0,1,\"\"", ";*0",
                         "2,0,\"y\",\"\",\"\",\"\",\"\",\"\",0,1,\"\"", "",
                         "3,0,\"z\",\"\",\"\",\"\",\"\",\"\",0,1,\"\"", "**"));
  ASSERT_TRUE(r.accepted);
  EXPECT_EQ(r.list.Items(0, 1).Title, "y");
  EXPECT_EQ(r.list.Items(1, 0).Title, "z");
}

TEST(TextDataFile, ANegativePageCountOwnsNoButtonsInEitherFormThroughSaveAndLoad) {
  // Pages A, B and C of counts 2, -1 and 2 over the buttons x0 to x3.
  std::string text = CrLf(kStatusLine, "**", "\"A\",2,0", "\"B\",-1,0", "\"C\",2,0", "**");
  std::string pages, buttons;
  TValueWriter pageWriter(pages), buttonWriter(buttons);
  pageWriter.WriteInteger(3);
  for (const TPageItem& page : {TPageItem("A", 2, 0), TPageItem("B", -1, 0), TPageItem("C", 2, 0)})
    page.WriteData(pageWriter);
  buttonWriter.WriteInteger(4);
  for (int i = 0; i < 4; ++i) {
    TLaunchDataItem item;
    item.Title = "x" + std::to_string(i);
    item.WriteData(buttonWriter);
    text += ItemToText(item) + "\r\n";
  }
  const std::string binary =
      binary_fixture::BinaryFile(binary_fixture::StatusSection(), pages, buttons);
  for (const std::string& bytes : {text, binary}) {
    TLaunchList list;
    list.LoadFromBytes(bytes);
    EXPECT_EQ(list.Pages.Get(1).CountInFile(), -1) << "kept for the check";
    for (int pass = 0; pass < 2; ++pass) {
      ASSERT_EQ(list.Count(), 4);
      EXPECT_EQ(list.Pages.Get(1).Count, 0);
      EXPECT_EQ(list.Items(2, 0).Title, "x2");
      EXPECT_EQ(list.Items(2, 1).Title, "x3");
      list.LoadFromBytes(TextDataFileBytes(list));
    }
  }
}

TEST(TextDataFile, StatusSectionDecidesAcceptance) {
  EXPECT_FALSE(LoadText(CrLf("**", "\"a\",1,0", "**", kButton, "**")).accepted);
  EXPECT_FALSE(LoadText(CrLf("\"a\",\"b\",\"c\",1,2", "**")).accepted) << "five fields";
  EXPECT_FALSE(LoadText(CrLf("\"a\",\"unknown\",\"c\",1,2,3", "**")).accepted);
  EXPECT_FALSE(LoadText(CrLf("; only a comment", "", "**")).accepted);
  EXPECT_FALSE(LoadText(CrLf(kStatusLine)).accepted) << "a status section never closed";
  EXPECT_FALSE(LoadText("").accepted);

  auto r = LoadText(CrLf("", "\"any\",\"word\",\"here\",5,10,2", "", "**", "**", "**"));
  ASSERT_TRUE(r.accepted);
  EXPECT_EQ(r.list.Status.AppName, "any");
  EXPECT_EQ(r.list.Status.MaxPages, 5);
  EXPECT_EQ(r.list.Status.MaxButtons, 10);
  EXPECT_EQ(r.list.Status.MinButtons, 2);
  EXPECT_EQ(r.list.Pages.Count(), 0);
  EXPECT_EQ(r.list.Count(), 0);

  auto last = LoadText(CrLf("\"a\",\"1\",\"c\",1,2,3", "\"b\",\"2\",\"c\",1,2,3", "**"));
  EXPECT_EQ(last.list.Status.AppName, "b") << "the last status line counts";
}

TEST(TextDataFile, TheRefusalNamesTheLineAndField) {
  auto why = [](const std::string& text) {
    TMemorySource source(text);
    return TextFormRefusal(source);
  };
  EXPECT_EQ(why(CrLf("; c", "", "\"a\",\"b\",\"c\",1,2", "**")),
            "3 行目の項目は 5 個です。ステータス行には 6 個の項目が必要です。");
  EXPECT_EQ(why(CrLf(kStatusLine, "\"a\",\"unknown\",\"c\",1,2,3", "**")),
            "2 行目の 2 番目の項目 (バージョン) が \"unknown\" です。");
  EXPECT_EQ(why(CrLf("; c", "**")),
            "2 行目の \"**\" で、ステータス行より前にステータス セクションが終わっています。");
  EXPECT_EQ(why(CrLf(kStatusLine, "")),
            "ステータス セクションを閉じる \"**\" がないまま、2 行目でファイルが終わっています。");
  EXPECT_EQ(why(CrLf(kStatusLine, "**")), "");
}

TEST(TextDataFile, ARejectedFileLeavesTheListAsItWas) {
  TTempDir dir;
  WriteFile(dir.File("x.lst"), CrLf("not a data file"));
  TLaunchList list;
  list.Get(0).Title = "mine";
  EXPECT_FALSE(list.LoadFromTextFile(dir.File("x.lst")));
  EXPECT_EQ(list.Pages.Count(), 1);
  EXPECT_EQ(list.Get(0).Title, "mine");
}

TEST(TextDataFile, SectionEndsMustBeExactlyTwoAsterisks) {
  auto r = LoadText(CrLf(kStatusLine, "**", "** ", "**", "**"));
  ASSERT_TRUE(r.accepted);
  ASSERT_EQ(r.list.Pages.Count(), 1);
  EXPECT_EQ(r.list.Pages.Get(0), TPageItem("untitled", 0, 0));
}

TEST(TextDataFile, LineEndsCtrlZAndLongLines) {
  const std::string big(1 << 20, 'q');
  std::string text = kStatusLine + "\n**\r\n\"p\",2,0\n**\n" + "0,0,\"" + big +
                     "\",\"\",\"\",\"\",\"\",\"\",0,1,\"\"\n" +
                     "0,0,\"a\rb\",\"\",\"\",\"\",\"\",\"\",0,1,\"\"" + "\r\n**\x1a" +
                     "0,0,\"after\",\"\",\"\",\"\",\"\",\"\",0,1,\"\"\r\n";
  auto r = LoadText(text);
  ASSERT_TRUE(r.accepted);
  ASSERT_EQ(r.list.Count(), 2);
  EXPECT_EQ(r.list.Get(0).Title, big);
  EXPECT_EQ(r.list.Get(1).Title, "ab") << "a lone CR is dropped";

  auto cut = LoadText(kStatusLine + "\r\n**\r\n\"p\",1,0\r\n**\r\n" + kButton + "\r\n\x1a**\r\n" +
                      kButton);
  ASSERT_TRUE(cut.accepted);
  EXPECT_EQ(cut.list.Count(), 1) << "Ctrl+Z ends the file";
}

TEST(TextDataFile, AFileEndingInsideALaterSectionIsAccepted) {
  auto pages = LoadText(CrLf(kStatusLine, "**", "\"p\",1,0"));
  ASSERT_TRUE(pages.accepted);
  EXPECT_EQ(pages.list.Pages.Count(), 1);
  EXPECT_EQ(pages.list.Count(), 0);
  auto buttons = LoadText(CrLf(kStatusLine, "**", "\"p\",2,0", "**", kButton));
  ASSERT_TRUE(buttons.accepted);
  EXPECT_EQ(buttons.list.Count(), 1);
}

TEST(TextDataFile, AButtonWithoutAnIntegerKindIsAnErrorAndChangesNothing) {
  TTempDir dir;
  WriteFile(dir.File("e.lst"), CrLf(kStatusLine, "**", "\"p\",2,0", "**", kButton,
                                    "x,0,\"b\",\"\",\"\",\"\",\"\",\"\",0,1,\"\"", "**"));
  TLaunchList list;
  list.Get(0).Title = "mine";
  EXPECT_THROW(list.LoadFromTextFile(dir.File("e.lst")), EConvertError);
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Get(0).Title, "mine");
}

TEST(TextDataFile, UnreadableFilesRaiseAnErrorNamingThem) {
  TTempDir dir;
  TLaunchList list;
  try {
    list.LoadFromTextFile(dir.File("missing.lst"));
    FAIL() << "no error";
  } catch (const EFileError& e) {
    EXPECT_NE(std::string(e.what()).find("missing.lst"), std::string::npos);
    EXPECT_NE(std::string(e.what()).find("見つかりません"), std::string::npos);
  }
  EXPECT_THROW(list.LoadFromTextFile(dir.Path().string()), EFileError) << "a folder";
}

TEST(TextDataFile, SavingCountsBeyondTheButtonsWritesNothing) {
  TTempDir dir;
  WriteFile(dir.File("keep.lst"), "old");
  TLaunchList list;
  list.Pages.Get(0).Count = 3;
  try {
    SaveToTextFile(list, dir.File("keep.lst"));
    FAIL() << "no error";
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "リストのインデックスが範囲を超えています (1)");
  }
  EXPECT_EQ(ReadFile(dir.File("keep.lst")), "old");
}

TEST(TextDataFile, AFailedSaveLeavesTheOldFileIntact) {
  TTempDir dir;
  const std::string file = dir.File("keep.lst");
  WriteFile(file, "old");
  TLaunchList list;
  {
    testing_support::TFileSizeLimit limit(64);  // the disk is full after 64 bytes
    try {
      SaveToTextFile(list, file);
      FAIL() << "no error";
    } catch (const EFileError& e) {
      EXPECT_NE(std::string(e.what()).find("keep.lst"), std::string::npos);
      EXPECT_NE(std::string(e.what()).find("を作成できません"), std::string::npos);
    }
  }
  EXPECT_EQ(ReadFile(file), "old");
}
