#include "StartupLogic.h"

#include <gtest/gtest.h>

#include "BinaryDataFixture.h"
#include "GridRules.h"
#include "RecordText.h"
#include "TestSupport.h"

using testing_support::CrLf;
using testing_support::Sjis;
using testing_support::TTempDir;
using testing_support::WriteFile;

namespace {

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

// A sink that records what FillGrid asked for.
struct TRecorder {
  std::vector<std::string> calls;
  std::vector<int> iconsPerPage;
  TFillSink Sink() {
    TFillSink s;
    s.resetIcons = [this](int pages) { iconsPerPage.assign(static_cast<std::size_t>(pages), 0); };
    s.addIcon = [this](int page, const TLaunchDataItem&) {
      ++iconsPerPage.at(static_cast<std::size_t>(page));
    };
    s.showProgress = [this](int max, const std::string& text) {
      calls.push_back("show " + std::to_string(max) + " " + text);
    };
    s.stepProgress = [this](int pos, std::string_view text) {
      calls.push_back("step " + std::to_string(pos) + " " + std::string(text));
    };
    s.finishProgress = [this](const std::string& text) { calls.push_back("finish " + text); };
    s.textWidth = [](const std::string& caption) { return static_cast<int>(caption.size()) * 10; };
    return s;
  }
};

}  // namespace

TEST(CommandLine, AcceptsOnlyTheTwoSwitchesInAnyCase) {
  EXPECT_EQ(SaveOnCloseOfSwitch("/F"), false);
  EXPECT_EQ(SaveOnCloseOfSwitch("/f"), false);
  EXPECT_EQ(SaveOnCloseOfSwitch("/fas"), true);
  EXPECT_EQ(SaveOnCloseOfSwitch("/FaS"), true);
  for (const char* bad : {"/FA", "-F", "", "/F ", "F", "/FASX"})
    EXPECT_FALSE(SaveOnCloseOfSwitch(bad)) << bad;
}

TEST(CommandLine, RefusesEveryCauseAndLoadsAGoodFile) {
  TTempDir dir;
  TLaunchList saved;
  saved.Get(0).Title = "t";
  SaveToTextFile(saved, dir.File("ok.lst"));
  WriteFile(dir.File("junk.lst"), "junk");
  WriteFile(
      dir.File("old.lst"),
      binary_fixture::BinaryFile(binary_fixture::StatusSection("PelloRunner", "2.99"),
                                 binary_fixture::PageSection(), binary_fixture::ButtonSection()));
  const QString ok = Q(dir.File("ok.lst"));
  auto check = [](QStringList args) {
    TLaunchList list;
    std::string status;
    return CheckCommandLine(args, list, status);
  };
  EXPECT_FALSE(check({"pelledit"}).accepted);
  EXPECT_EQ(ParseCommandLine({"pelledit"}).value_or(TStartRequest{true, "x"}).dataFileName, "")
      << "a start from the menu: the file is still to be found";
  EXPECT_FALSE(check({"pelledit", "/F"}).accepted);
  EXPECT_FALSE(check({"pelledit", ok, "/F"}).accepted) << "the switch only in argument 2";
  EXPECT_FALSE(check({"pelledit", "/FA", ok}).accepted);
  EXPECT_FALSE(check({"pelledit", "/F", Q(dir.File("none.lst"))}).accepted);
  EXPECT_FALSE(check({"pelledit", "/F", Q(dir.File("junk.lst"))}).accepted);
  EXPECT_FALSE(check({"pelledit", "/F", Q(dir.File("old.lst"))}).accepted);
  EXPECT_FALSE(check({"pelledit", "/F", Q(dir.Path().string())}).accepted);

  // The path alone, as a file manager passes it, opens as "/F" does, also a path that
  // looks like a switch; a second path, a switch alone or an option is refused.
  const auto alone = check({"pelledit", ok});
  EXPECT_TRUE(alone.accepted);
  EXPECT_FALSE(alone.saveOnClose);
  EXPECT_EQ(alone.dataFileName, ok);
  EXPECT_EQ(ParseCommandLine({"pelledit", "/FA"}).value_or(TStartRequest{}).dataFileName, "/FA");
  EXPECT_FALSE(check({"pelledit", ok, Q(dir.File("junk.lst"))}).accepted);
  for (const char* refused : {"/fas", "--geometry", ""})
    EXPECT_FALSE(ParseCommandLine({"pelledit", refused})) << refused;
  EXPECT_NE(CannotOpenMessage(Q(dir.File("junk.lst"))).indexOf(Q(dir.File("junk.lst"))), -1);

  TLaunchList list;
  std::string status;
  auto result = CheckCommandLine({"pelledit", "/fas", ok, "extra"}, list, status);
  EXPECT_TRUE(result.accepted);
  EXPECT_TRUE(result.saveOnClose);
  EXPECT_EQ(result.dataFileName, ok);
  EXPECT_EQ(status, StatusToText(TDataStatus()));
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Get(0).Title, "t");
}

TEST(FillGrid, CopiesEveryRecordWithOneIconPerButtonAndProgress) {
  TLaunchList list;
  list.DeletePage(0);
  list.AddPage("a", 2, 0);
  list.AddPage("longname", 1, 7);
  list.AddPage("empty", 0, 0);
  list.Items(0, 1).Title = "second";
  TGridStore grid;
  TRecorder rec;
  const int width = FillGrid(list, grid, rec.Sink());
  EXPECT_EQ(width, 88) << "widest name (8 x 10) + 8";
  ASSERT_EQ(grid.RowCount(), 4);
  EXPECT_EQ(grid.Cell(0, 0), StatusToText(list.Status));
  EXPECT_EQ(grid.Cell(0, 2), "\"longname\",1,7");
  EXPECT_EQ(TitleOfText(grid.Cell(2, 1)), "second");
  EXPECT_EQ(grid.Cell(3, 1), "");
  EXPECT_EQ(rec.iconsPerPage, (std::vector<int>{2, 1, 0}));
  ASSERT_EQ(rec.calls.size(), 5u);
  EXPECT_EQ(rec.calls[0], "show 3 " + Sjis("データーファイル読み込み中..."));
  EXPECT_EQ(rec.calls[2], "step 2 second");
  EXPECT_EQ(rec.calls[4], "finish " + Sjis("読み込み完了"));
}

TEST(FillGrid, ShortNamesKeepTheColumnAt80AndMissingButtonsShowUnregistered) {
  TLaunchList list;
  list.Pages.Get(0).Count = 3;  // the file holds one button for a page of three
  TGridStore grid;
  TRecorder rec;
  EXPECT_EQ(FillGrid(list, grid, rec.Sink()), 108) << "新規ページ is 10 bytes";
  EXPECT_EQ(rec.iconsPerPage, std::vector<int>{3});
  EXPECT_EQ(TitleOfText(grid.Cell(3, 1)), Sjis("未登録"));

  TLaunchList small;
  small.Pages.Get(0).Caption = "ab";
  TGridStore g2;
  EXPECT_EQ(FillGrid(small, g2, rec.Sink()), 80);
}

TEST(WindowSize, LivesBesideTheDataFileWithSaneDefaults) {
  TTempDir dir;
  const QString ini = WindowSizeFile(Q(dir.File("data.lst")), "/usr/bin/pelledit");
  EXPECT_EQ(ini, Q(dir.File("pelledit.ini")));
  EXPECT_EQ(WindowSizeFile(Q(dir.File("data.lst")), "/opt/x/editor.v2.exe"),
            Q(dir.File("editor.v2.ini")))
      << "named after the program file, its extension changed";
  EXPECT_EQ(LoadWindowSize(ini), QSize(490, 436));
  SaveWindowSize(ini, QSize(600, 500));
  EXPECT_EQ(LoadWindowSize(ini), QSize(600, 500));
  EXPECT_NE(testing_support::ReadFile(dir.File("pelledit.ini")).find("[Bounds]"),
            std::string::npos);
  WriteFile(dir.File("pelledit.ini"), "[Bounds]\nWidth=very wide\nHeight=-4\n");
  EXPECT_EQ(LoadWindowSize(ini), QSize(490, 436));
  WriteFile(dir.File("pelledit.ini"), std::string("\0\xff\n[[[", 6));
  EXPECT_EQ(LoadWindowSize(ini), QSize(490, 436));
  SaveWindowSize("/proc/nowhere/pelledit.ini", QSize(1, 1));  // not reported
}

TEST(WindowPlacement, CentresThenKeepsInsideTheWorkArea) {
  const QRect screen(0, 0, 1024, 768);
  EXPECT_EQ(PlaceWindow({490, 436}, screen, QRect(0, 0, 1024, 738)), QPoint(267, 166));
  EXPECT_EQ(PlaceWindow({1100, 436}, screen, QRect(0, 0, 1024, 738)), QPoint(0, 166))
      << "too wide: flush with the left edge";
  EXPECT_EQ(PlaceWindow({490, 900}, screen, QRect(0, 0, 1024, 738)), QPoint(267, -162))
      << "too tall: bottom on the work area's bottom";
  EXPECT_EQ(PlaceWindow({490, 436}, screen, QRect(100, 200, 924, 568)), QPoint(267, 200));
}

TEST(FillGrid, ButtonsTheGridCannotShowAreCounted) {
  TLaunchList list;  // one page of one button
  EXPECT_EQ(HiddenButtonCount(list), 0);
  list.Add(NewLaunchItem());
  list.Add(NewLaunchItem());
  EXPECT_EQ(HiddenButtonCount(list), 2) << "owned by no page";
  list.AddPage("wide", 0, 0);
  list.Pages.Get(1).Count = 10002;  // 10,000 columns; the list holds 2 of its buttons
  EXPECT_EQ(HiddenButtonCount(list), 0);
  for (int i = 0; i < 10001; ++i)
    list.Add(NewLaunchItem());
  EXPECT_EQ(HiddenButtonCount(list), 3) << "two past the last column, one owned by none";
  list.Pages.Get(1).Count = -1;  // owns none, as a load reads it
  EXPECT_EQ(HiddenButtonCount(list), 10003);
}

TEST(FillGrid, TheDamageWarningNamesWhatIsWrongAndTheImportedFile) {
  TLaunchList list;  // one page of one button: nothing to tell
  EXPECT_TRUE(DamageWarning(list).isEmpty());
  list.Add(NewLaunchItem());
  EXPECT_TRUE(DamageWarning(list).startsWith(QStringLiteral("このデーターファイルには、")));
  EXPECT_FALSE(DamageWarning(list).contains(QStringLiteral("足りない")));
  list.Pages.Get(0).Count = 5;  // owns 5, the list holds 2
  const QString both = DamageWarning(list, QStringLiteral("/tmp/in.csv"));
  EXPECT_FALSE(both.contains(QStringLiteral("どのページにも属さない")));
  EXPECT_TRUE(both.startsWith(QStringLiteral(
      "\"/tmp/in.csv\" のページは合わせて 5 個のボタンを持つはずですが、ファイルにあるボタンは "
      "2 個です。\r足りない 3 個のボタン")))
      << both.toStdString();
  list.AddPage("wide", 0, 0);
  list.Pages.Get(1).Count = 20000;
  for (int i = 0; i < 10010; ++i)
    list.Add(NewLaunchItem());
  EXPECT_EQ(DamageWarning(list).count(QStringLiteral("このデーターファイル")), 2)
      << "hidden and missing buttons, one paragraph each";
}

// The cells of a loaded file borrow its bytes: the grid keeps them when the list is
// gone, lets them go once no cell borrows, and a journalled change keeps copies.
TEST(FillGrid, CellsKeepTheFilesBytesOnlyWhileTheyBorrowThem) {
  const std::string line = "1,3,\"t\",\"/bin/x\",\"\",\"a \"\"b\"\"\",\"\",\"\",0,1,\"c\"";
  std::weak_ptr<const char[]> bytes;
  TGridStore grid;
  {
    TLaunchList list;
    list.LoadFromBytes(
        CrLf("\"A\",\"3.00\",\"n\",0,0,1\n**\n\"p\",2,0\n**\n" + line + "\n" + line + "\n**\n"));
    ASSERT_TRUE(list.Loaded);
    bytes = list.HeldBytes().bytes;
    TRecorder rec;
    FillGrid(list, grid, rec.Sink());
  }
  EXPECT_FALSE(bytes.expired());
  EXPECT_TRUE(grid.Cell(1, 1).Borrowed());
  EXPECT_EQ(grid.Cell(2, 1), line);
  TGridJournal journal;
  grid.SetJournal(&journal);
  grid.Clear();
  EXPECT_TRUE(bytes.expired());
  grid.Undo(journal, journal.Changes.back());
  EXPECT_EQ(grid.Cell(1, 1), line);
  EXPECT_FALSE(grid.Cell(1, 1).Borrowed());
}
