// Runs the pellodata program itself and checks its output, files and exit status.
#include <gtest/gtest.h>

#include "BinaryDataFixture.h"
#include "LaunchList.h"
#include "ListCheck.h"
#include "TestSupport.h"
#include "ToolRunner.h"

using testing_support::CrLf;
using testing_support::ReadFile;
using testing_support::RunCommand;
using testing_support::ShellQuoted;
using testing_support::Sjis;
using testing_support::TRun;
using testing_support::TTempDir;
using testing_support::WriteFile;

namespace {

TRun RunTool(std::initializer_list<std::string> args) {
  return RunCommand(ShellQuoted(PELLODATA_PATH), args);
}

}  // namespace

TEST(PelloData, ConvertOfTheSampleWritesItsBytesUnchanged) {
  TTempDir dir;
  auto run = RunTool({"convert", SAMPLE_PATH, dir.File("out.lst")});
  ASSERT_EQ(run.status, 0) << run.out;
  EXPECT_EQ(ReadFile(dir.File("out.lst")), ReadFile(SAMPLE_PATH))
      << "the sample is in the writer's exact form";
}

TEST(PelloData, ConvertTurnsABinaryFileIntoTheSameDataInTextForm) {
  TTempDir dir;
  WriteFile(dir.File("old.lst"), binary_fixture::Example());
  auto run = RunTool({"convert", dir.File("old.lst"), dir.File("new.lst")});
  ASSERT_EQ(run.status, 0) << run.out;
  EXPECT_EQ(ReadFile(dir.File("new.lst")),
            CrLf(Sjis("; ステータス"), ";*STR",
                 "\"PelloRunner\",\"3.00\",\"MakerText(C)Dwo\",0,0,1", "**", Sjis("; ページリスト"),
                 ";*PAGE", "\"P\",1,0", "**", Sjis("; ファイルリスト"), ";*FILE", "; [ P ]", ";*0",
                 "1,300,\"A\",\"C:\\A.EXE\",\"\",\"\",\"C:\\\",\"\",0,1,\"\"", "**"));
  EXPECT_EQ(RunTool({"dump", dir.File("old.lst")}).out, RunTool({"dump", dir.File("new.lst")}).out);
}

TEST(PelloData, DumpShowsEveryRecordAsUtf8) {
  auto run = RunTool({"dump", SAMPLE_PATH});
  ASSERT_EQ(run.status, 0) << run.out;
  EXPECT_EQ(run.out.rfind("status: \"PelloRunner\",\"3.00\"", 0), 0u);
  EXPECT_NE(run.out.find("page 3: \"空きページ\",1,0\n  0: 0,0,\"未登録\""), std::string::npos);
  EXPECT_NE(run.out.find("\"rfPersonal\""), std::string::npos);
}

TEST(PelloData, FailuresExitWithOneAndLeaveTheOutputAlone) {
  TTempDir dir;
  WriteFile(dir.File("keep.lst"), "old");
  WriteFile(dir.File("junk"),
            "this is not a data file, not in any form at all......................"
            "............................................................");
  auto missing = RunTool({"convert", dir.File("none.lst"), dir.File("keep.lst")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.out.find("none.lst"), std::string::npos);
  EXPECT_EQ(std::count(missing.out.begin(), missing.out.end(), '\n'), 1);
  auto junk = RunTool({"convert", dir.File("junk"), dir.File("keep.lst")});
  EXPECT_EQ(junk.status, 1);
  EXPECT_NE(junk.out.find("ストリームからの読み込みエラー"), std::string::npos);
  auto folder = RunTool({"dump", dir.Path().string()});
  EXPECT_EQ(folder.status, 1);
  auto unwritable = RunTool({"convert", SAMPLE_PATH, dir.File("junk") + "/x.lst"});
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_NE(unwritable.out.find("を作成できません"), std::string::npos);
  EXPECT_EQ(ReadFile(dir.File("keep.lst")), "old");
}

TEST(PelloData, AWrongCommandLineExitsWithTwo) {
  EXPECT_EQ(RunTool({}).status, 2);
  EXPECT_EQ(RunTool({"convert", "a"}).status, 2);
  EXPECT_EQ(RunTool({"frobnicate", "a"}).status, 2);
}

TEST(PelloData, CheckPassesTheSampleAndListsFaults) {
  EXPECT_EQ(RunTool({"check", SAMPLE_PATH}).status, 0);

  TTempDir dir;
  WriteFile(dir.File("bad.lst"),
            CrLf("\"PelloRunner\",\"3.00\",\"m\",1,2,2", "**", "\"a\",3,0", "\"b\",1,0", "**",
                 "9,0,\"\",\"\",\"\",\"\",\"\",\"\",0,1,\"\"",
                 "4,0,\"\",\"rfNowhere\",\"\",\"\",\"\",\"\",0,5,\"\"",
                 "4,0,\"\",\"RFPERSONAL\",\"\",\"\",\"\",\"\",0,7,\"\"", "**"));
  auto run = RunTool({"check", dir.File("bad.lst")});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out,
            "the pages own 4 buttons, but the file holds 3\n"
            "2 pages, more than the limit of 1\n"
            "page 0 \"a\": 3 buttons, more than the limit of 2\n"
            "page 0 \"a\" button 0: kind 9 is not one of 0 to 7\n"
            "page 0 \"a\" button 1: window state 5 is not 1, 3 or 7\n"
            "page 0 \"a\" button 1: special folder \"rfNowhere\" is not a known folder\n"
            "page 1 \"b\": 1 buttons, fewer than the minimum of 2\n");

  WriteFile(dir.File("wide.lst"),
            CrLf("\"PelloRunner\",\"3.00\",\"m\",0,0,1", "**", "\"w\",10001,0", "**", "**"));
  auto wide = RunTool({"check", dir.File("wide.lst")});
  EXPECT_NE(wide.out.find("page 0 \"w\": 10001 buttons, more than the editor's grid can show "
                          "(10000)"),
            std::string::npos);
}
