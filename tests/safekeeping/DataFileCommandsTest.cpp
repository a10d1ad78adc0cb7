// Saving, closing, the information boxes, export and import, without a window: a grid
// saved and loaded comes back the same, and a failure changes no file and no grid.
#include <gtest/gtest.h>

#include <QDir>
#include <filesystem>
#include <random>

#include "DataFileCommands.h"
#include "DataFileSave.h"
#include "ExchangeCommands.h"
#include "GridFixture.h"
#include "GridRules.h"
#include "GridTextSource.h"
#include "Progress.h"
#include "QuietFill.h"
#include "RecordText.h"
#include "StartupLogic.h"
#include "TestSupport.h"

using testing_support::ReadFile;
using testing_support::TTempDir;
using testing_support::WriteFile;

namespace {

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

// What the window knows of a file it has just read or written: its stamp.
TFileBaseline Seen(const QString& file) {
  return {StampOf(file.toStdString()), {}};
}

}  // namespace

TEST(DataFileCommands, ASavedGridLoadsBackTheSame) {
  TTempDir dir;
  TGridFixture f({3, 0, 2}, TGridFixture::Status(9, 8, 0));
  const QString file = Q(dir.File("data.lst"));
  TFileBaseline baseline;
  TSaveSession session(f.grid, file, baseline);
  f.dialogs.PushMessageAnswer(mrYes);
  ASSERT_EQ(SaveWithQuestion(session), TSaveResult::Saved);
  EXPECT_EQ(f.dialogs.Questions()[0].Text, QStringLiteral("編集したデーターを \" ") + file +
                                               QStringLiteral(" \" に\r\r上書き保存しますか？"));
  EXPECT_EQ(f.dialogs.Questions().back().Kind, TQuestionKind::ProgressOk);
  EXPECT_EQ(baseline.Stamp, StampOf(file.toStdString())) << "the file just written is known";

  TLaunchList list;
  list.SetFileName(file.toStdString());
  list.LoadFromFile();
  EXPECT_EQ(baseline.Data, FingerprintOf(list));
  TGridStore loaded;
  FillQuietly(list, loaded);
  ASSERT_EQ(loaded.RowCount(), f.grid.RowCount());
  for (int r = 0; r < f.grid.RowCount(); ++r)
    EXPECT_EQ(loaded.Row(r), f.grid.Row(r)) << "row " << r;

  f.dialogs.PushMessageAnswer(mrNo);
  EXPECT_EQ(SaveWithQuestion(session), TSaveResult::NotSaved);
  EXPECT_EQ(list.Count(), 5);
}

// A save reads cells in the writer's form straight from their bytes and any other
// through the record split: both give the button the split gives, a damaged text
// an unregistered one.
TEST(DataFileCommands, EveryFormOfCellSavesAsItsButton) {
  TGridFixture f({4}, TGridFixture::Status(0, 0, 1));
  const std::vector<std::string> cells = {
      "1,2,\"t\",\"/bin/a b\",\"\",\"x \"\"y\"\"\",\"\",\"\",0,1,\"c\"",  // as written
      "01, 2 ,t,\"/bin/a\",,,,,0,3,c",                                    // any other form
      "x,2,\"t\",\"\",\"\",\"\",\"\",\"\",0,1,\"\"",                      // damaged
      "1,2,\"t\",\"/bin/a\""};                                            // too short
  for (int c = 1; c <= 4; ++c)
    f.grid.SetCell(c, 1, cells[static_cast<std::size_t>(c - 1)]);
  TLaunchList list;
  GridToLaunchList(f.grid, list);
  ASSERT_EQ(list.Count(), 4);
  EXPECT_EQ(ItemToText(list.Get(0)), cells[0]);
  EXPECT_EQ(list.Get(0).Params, "x \"y\"");
  EXPECT_EQ(list.Get(1), *TextToItem(cells[1]));
  EXPECT_EQ(list.Get(2), TLaunchDataItem());
  EXPECT_EQ(list.Get(3), TLaunchDataItem());
}

// The grid's writer reads the cells one button at a time; it must give the very bytes
// (and the save the very fingerprint) of the grid turned into a list and written, on
// every corpus file and on grids of cells in every form, damaged ones included.
TEST(DataFileCommands, TheCellWriterWritesWhatTheListWriterWrites) {
  const auto same = [](const TGridStore& grid, const std::string& what) {
    TLaunchList list;
    GridToLaunchList(grid, list);
    TGridTextSource cells(grid);
    EXPECT_EQ(TextDataFileBytes(cells), TextDataFileBytes(list)) << what;
    TGridTextSource again(grid);
    EXPECT_EQ(FingerprintOf(again), FingerprintOf(list)) << what;
  };
  for (const char* folder : {"data_file", "text_file"}) {
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(PELLO_FUZZ_CORPUS) + "/" + folder)) {
      TLaunchList list;
      try {
        list.LoadFromBytes(ReadFile(entry.path().string()));
      } catch (const std::exception&) {
        continue;
      }
      if (!list.Loaded) continue;
      TGridStore grid;
      FillQuietly(list, grid);
      same(grid, entry.path().string());
    }
  }
  std::mt19937 random(11);
  const auto pick = [&random](const std::vector<std::string>& from) {
    return from[random() % from.size()];
  };
  const std::vector<std::string> pages = {PageToText(TPageItem("p", 3, 0)),
                                          PageToText(TPageItem("\x82\xa0,\"q\"", 1, 2)),
                                          "\"p\",2,0",
                                          "\"p\",-1,0",
                                          "\"p\",99999,0",
                                          "x",
                                          ""};
  const std::vector<std::string> buttons = {
      "1,2,\"t\",\"/bin/a b\",\"\",\"x \"\"y\"\"\",\"\",\"\",0,1,\"c\"",
      "01, 2 ,t,\"/bin/a\",,,,,0,3,c",
      "x,2,\"t\"",
      "1,2,\"t\",\"/bin/a\"",
      "",
      "\x81"};
  for (int round = 0; round < 200; ++round) {
    TGridStore grid;
    grid.SetCell(0, 0, pick({StatusToText(TDataStatus()), "damaged", ""}));
    grid.SetRowCount(1 + static_cast<int>(random() % 5));
    for (int r = 1; r < grid.RowCount(); ++r) {
      grid.SetCell(0, r, pick(pages));
      for (int c = 1, n = static_cast<int>(random() % 5); c <= n; ++c)
        grid.SetCell(c, r, pick(buttons));
    }
    same(grid, "round " + std::to_string(round));
  }
}

TEST(DataFileCommands, AFailedSaveKeepsTheOldFileAndSaysWhy) {
  TTempDir dir;
  TGridFixture f({2});
  const std::string file = dir.File("data.lst");
  WriteFile(file, "old bytes");
  TFileBaseline baseline = Seen(Q(file));
  TSaveSession session(f.grid, Q(file), baseline);
  {
    testing_support::TFileSizeLimit limit(4);
    f.dialogs.PushMessageAnswer(mrYes);  // no backup can be made either: save anyway
    f.dialogs.PushMessageAnswer(mrOk);
    EXPECT_FALSE(WriteDataFile(session));
  }
  EXPECT_EQ(ReadFile(file), "old bytes");
  ASSERT_EQ(f.dialogs.Questions().size(), 2u) << "no wait for the progress box's Ok";
  EXPECT_EQ(f.dialogs.Questions()[1].Caption, QStringLiteral("保存エラー"));
  EXPECT_EQ(f.dialogs.Questions()[1].Type, TMsgType::Error);
  EXPECT_TRUE(f.dialogs.Questions()[1].Text.contains(Q(file)));
  EXPECT_EQ(ProgressBox, nullptr);
  EXPECT_EQ(baseline.Stamp, StampOf(file)) << "nothing was written";
}

TEST(DataFileCommands, TheCloseQuestionSavesOnlyOnYesAndStaysOpenOnFailure) {
  TTempDir dir;
  TGridFixture f({1});
  const std::string file = dir.File("data.lst");
  const TLaunchList onDisk;
  SaveToTextFile(onDisk, file);
  const std::string old = ReadFile(file);
  TFileBaseline baseline{StampOf(file), FingerprintOf(onDisk)};
  TSaveSession session(f.grid, Q(file), baseline);
  int hidden = 0, shown = 0;
  const TCloseWindow window{[&] { ++hidden; }, [&] { ++shown; }};
  f.dialogs.PushMessageAnswer(mrCancel);
  EXPECT_EQ(CloseQuery(session, window), TCloseAnswer::Stay);
  f.dialogs.PushMessageAnswer(mrNo);
  EXPECT_EQ(CloseQuery(session, window), TCloseAnswer::Discard);
  EXPECT_EQ(ReadFile(file), old);
  EXPECT_EQ(f.dialogs.Questions()[0].Type, TMsgType::Confirmation);

  const std::string missing = dir.File("no/such/folder/data.lst");
  TFileBaseline none;
  TSaveSession failing(f.grid, Q(missing), none);
  f.dialogs.PushMessageAnswer(mrYes);
  f.dialogs.PushMessageAnswer(mrOk);
  EXPECT_EQ(CloseQuery(failing, window), TCloseAnswer::Stay) << "a failed save keeps the window";
  EXPECT_EQ(hidden, 1);
  EXPECT_EQ(shown, 1);
  f.dialogs.PushMessageAnswer(mrYes);
  EXPECT_EQ(CloseQuery(session, window), TCloseAnswer::Close);
  EXPECT_NE(ReadFile(file), old);
}

TEST(DataFileCommands, PropertiesCountPagesAndButtonsAndNameTheLimits) {
  TGridFixture f({10, 0, 5}, TGridFixture::Status(0, 0, 1));
  const QString text = PropertiesText(f.grid, QStringLiteral("/home/me/data.lst"));
  const QString rule(40, QLatin1Char('-'));
  EXPECT_EQ(text,
            QStringLiteral(
                "[データーファイル名]\r\ndata.lst\r\n\r\n[ファイル保存先]\r\n/home/me/\r\n\r\n") +
                rule + QStringLiteral("\r\n[登録ページ数]：3\r\n[データー総数]：15\r\n") + rule +
                QStringLiteral("\r\n[ページ数の上限]：無制限\r\n[ページ内登録数の上限]：無制限\r\n"
                               "[１ページ内の最低登録数]：1\r\n") +
                rule +
                QStringLiteral(
                    "\r\n[アプリケーション]：PelloRunner\r\n[データーバージョン]：Ver.3.00\r\n") +
                rule);
  TVersionInfo info;
  info.ProductName = "P";
  info.ProductVersion = "1.2";
  info.LegalCopyright = "(C)";
  EXPECT_EQ(AboutText(info), QStringLiteral("[P  Version 1.2] \r\r(C)"));
}

TEST(Exchange, TheExtensionIsReplacedAndTheImportFindsItInAnyLetterCase) {
  EXPECT_EQ(ExportPath("/d/list.txt"), "/d/list.csv");
  EXPECT_EQ(ExportPath("/d.x/list"), "/d.x/list.csv");
  TTempDir dir;
  WriteFile(dir.File("data.csv"), "");
  EXPECT_EQ(ImportPath(Q(dir.File("data.txt"))), Q(dir.File("data.csv")));
  WriteFile(dir.File("data.CSV"), "");
  EXPECT_EQ(ImportPath(Q(dir.File("data.txt"))), Q(dir.File("data.CSV"))) << "the exact name wins";
  EXPECT_EQ(ImportPath(Q(dir.File("none"))), Q(dir.File("none.CSV")));
}

TEST(Exchange, AnExportedGridImportsBackAndABadFileChangesNothing) {
  TTempDir dir;
  TGridFixture f({2, 1}, TGridFixture::Status(5, 0, 1));
  f.dialogs.PushFileName(Q(dir.File("list.txt")));
  f.dialogs.PushMessageAnswer(mrOk);
  ASSERT_TRUE(ExportGrid(f.grid, Q(dir.Path().string()), {}));
  EXPECT_EQ(f.dialogs.Questions()[0].InitialText, Q(dir.Path().string()));
  EXPECT_EQ(f.dialogs.Questions()[1].Text,
            QStringLiteral("\"") + Q(dir.File("list.csv")) +
                QStringLiteral("\" に\r\rデーターをエクスポートしました"));

  // Exporting again over the file asks first; No keeps it.
  WriteFile(dir.File("list.csv"), "mine");
  f.dialogs.PushFileName(Q(dir.File("list.csv")));
  f.dialogs.PushMessageAnswer(mrNo);
  EXPECT_FALSE(ExportGrid(f.grid, Q(dir.Path().string()), {}));
  EXPECT_EQ(ReadFile(dir.File("list.csv")), "mine");
  f.dialogs.PushFileName(Q(dir.File("list.csv")));
  f.dialogs.PushMessageAnswer(mrYes);
  f.dialogs.PushMessageAnswer(mrOk);
  ASSERT_TRUE(ExportGrid(f.grid, Q(dir.Path().string()), {}));

  TGridStore imported;
  QString importedPath;
  const TImportWindow window{{},
                             [&](const TLaunchList& list, const QString& path) {
                               FillQuietly(list, imported);
                               importedPath = path;
                             },
                             {}};
  f.dialogs.PushMessageAnswer(mrOk);
  f.dialogs.PushFileName(Q(dir.File("list.txt")));
  ASSERT_TRUE(ImportFile(Q(dir.Path().string()), {}, window));
  EXPECT_EQ(importedPath, Q(dir.File("list.csv"))) << "named in the warning of hidden buttons";
  ASSERT_EQ(imported.RowCount(), f.grid.RowCount());
  for (int r = 0; r < f.grid.RowCount(); ++r)
    EXPECT_EQ(imported.Row(r), f.grid.Row(r)) << "row " << r;

  // Not the text form, a button whose kind is no number, a missing file, a folder.
  WriteFile(dir.File("junk.csv"), "junk");
  WriteFile(dir.File("kind.csv"),
            ReadFile(dir.File("list.csv"))
                .replace(ReadFile(dir.File("list.csv")).find("\r\n1,"), 3, "\r\nx,"));
  QDir(Q(dir.Path().string())).mkdir("folder.CSV");
  // UTF-8 text would come in as other characters: with its mark, or with no comment
  // line (the mark would join the application's name), or without a mark.
  const std::string utf8 =
      "\"PelloRunner\",\"3.00\",\"m\",0,0,1\r\n**\r\n\"アプリ\",0,0\r\n**\r\n**\r\n";
  WriteFile(dir.File("bom.csv"), "\xEF\xBB\xBF" + utf8);
  WriteFile(dir.File("utf8.csv"), utf8);
  for (const char* name :
       {"junk.csv", "kind.csv", "missing.csv", "folder.CSV", "bom.csv", "utf8.csv"}) {
    TScriptedDialogs answers;
    TDialogsScope scope(answers);
    answers.PushMessageAnswer(mrOk);
    answers.PushFileName(Q(dir.File(name)));
    answers.PushMessageAnswer(mrOk);
    bool filled = false;
    EXPECT_FALSE(ImportFile(Q(dir.Path().string()), {},
                            {{}, [&](const TLaunchList&, const QString&) { filled = true; }, {}}))
        << name;
    EXPECT_FALSE(filled) << name;
    ASSERT_EQ(answers.Questions().size(), 3u) << name;
    EXPECT_EQ(answers.Questions()[2].Caption, QStringLiteral("インポートエラー")) << name;
    if (std::string_view(name).starts_with("bom") || std::string_view(name).starts_with("utf8")) {
      EXPECT_EQ(answers.Questions()[2].Text,
                QStringLiteral("\"") + Q(dir.File(name)) +
                    QStringLiteral("\" は Shift-JIS のデーターファイルではありません（UTF-8 "
                                   "のテキストです）。"));
    }
  }
}
