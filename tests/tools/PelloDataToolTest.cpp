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

// The same with redirections of its own, made after the runner's "2>&1": "2>/dev/null"
// keeps standard output alone, ">/dev/null" standard error alone.
TRun RunToolWith(const std::string& redirections, std::initializer_list<std::string> args) {
  return RunCommand(
      "sh -c " + ShellQuoted("\"$@\" " + redirections) + " sh " + ShellQuoted(PELLODATA_PATH),
      args);
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
  EXPECT_EQ(missing.out, "pellodata: \"" + dir.File("none.lst") +
                             "\" を開けません: 指定されたファイルが見つかりません。\n")
      << "the file, then why, in one sentence";
  auto junk = RunTool({"convert", dir.File("junk"), dir.File("keep.lst")});
  EXPECT_EQ(junk.status, 1);
  EXPECT_NE(junk.out.find("ストリームからの読み込みエラー"), std::string::npos);
  auto folder = RunTool({"dump", dir.Path().string()});
  EXPECT_EQ(folder.status, 1);
  auto unwritable = RunTool({"convert", SAMPLE_PATH, dir.File("junk") + "/x.lst"});
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_NE(unwritable.out.find("/x.lst\" を作成できません: "), std::string::npos)
      << unwritable.out;
  EXPECT_EQ(ReadFile(dir.File("keep.lst")), "old");
}

// UTF-8 text is said to be what it is, by every command and from standard input.
TEST(PelloData, AUtf8FileIsToldAsNoShiftJisDataFile) {
  TTempDir dir;
  const std::string text =
      "\"PelloRunner\",\"3.00\",\"m\",0,0,1\r\n**\r\n\"アプリ\",0,0\r\n**\r\n**\r\n";
  WriteFile(dir.File("bom.lst"), "\xEF\xBB\xBF; comment\r\n" + text);
  WriteFile(dir.File("plain.lst"), text);
  for (const char* name : {"bom.lst", "plain.lst"}) {
    for (const char* command : {"check", "dump"}) {
      auto run = RunTool({command, dir.File(name)});
      EXPECT_NE(run.status, 0) << command << " " << name;
      EXPECT_NE(run.out.find("\" は Shift-JIS のデーターファイルではありません（UTF-8 のテキスト"
                             "です）。"),
                std::string::npos)
          << command << " " << name << ": " << run.out;
    }
  }
  auto piped =
      RunCommand("cat " + ShellQuoted(dir.File("bom.lst")) + " | " + ShellQuoted(PELLODATA_PATH),
                 {"convert", "-", dir.File("out.lst")});
  EXPECT_EQ(piped.out,
            "pellodata: 標準入力は Shift-JIS のデーターファイルではありません（UTF-8 のテキスト"
            "です）。\n");
}

// The file commands start without the desktop's libraries; the desktop's commands run in
// a helper of their own.
TEST(PelloData, TheFileCommandsLinkNoQt) {
  const TRun needed = RunCommand("readelf -d " + ShellQuoted(PELLODATA_PATH), {});
  ASSERT_EQ(needed.status, 0) << needed.out;
  EXPECT_NE(needed.out.find("(NEEDED)"), std::string::npos);
  EXPECT_EQ(needed.out.find("libQt6"), std::string::npos) << needed.out;
}

TEST(PelloData, AWrongCommandLineExitsWithTwo) {
  EXPECT_EQ(RunTool({}).status, 2);
  EXPECT_EQ(RunTool({"convert", "a"}).status, 2);
  EXPECT_EQ(RunTool({"frobnicate", "a"}).status, 2);
  EXPECT_EQ(RunToolWith(">/dev/null", {}).out.rfind("usage: pellodata convert IN OUT\n", 0), 0u)
      << "the usage goes to standard error";
}

TEST(PelloData, HelpAndVersionGoToStandardOutput) {
  const TRun help = RunToolWith("2>/dev/null", {"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("usage: pellodata convert IN OUT\n"), std::string::npos) << help.out;
  EXPECT_EQ(RunToolWith("2>/dev/null", {"-h"}).out, help.out);
  EXPECT_EQ(RunToolWith("2>/dev/null", {"help"}).out, help.out);

  const TRun convert = RunToolWith("2>/dev/null", {"help", "convert"});
  EXPECT_EQ(convert.status, 0);
  EXPECT_EQ(convert.out.rfind("usage: pellodata convert IN OUT\n\n", 0), 0u) << convert.out;
  EXPECT_NE(convert.out.find("Exit status"), std::string::npos);
  EXPECT_EQ(RunToolWith("2>/dev/null", {"convert", "--help"}).out, convert.out);
  const TRun unknown = RunToolWith(">/dev/null", {"help", "frobnicate"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_NE(unknown.out.find("\"frobnicate\""), std::string::npos) << unknown.out;

  EXPECT_EQ(RunToolWith("2>/dev/null", {"--version"}).out, "pellodata " PROJECT_VERSION "\n");
}

TEST(PelloData, DashIsStandardInputAndConvertsOutputStandardOutput) {
  TTempDir dir;
  WriteFile(dir.File("old.lst"), binary_fixture::Example());
  ASSERT_EQ(RunTool({"convert", dir.File("old.lst"), dir.File("new.lst")}).status, 0);
  const std::string in = "<" + ShellQuoted(dir.File("old.lst"));
  const TRun piped = RunToolWith(in + " 2>/dev/null", {"convert", "-", "-"});
  EXPECT_EQ(piped.status, 0);
  EXPECT_EQ(piped.out, ReadFile(dir.File("new.lst"))) << "the bytes a file would hold";
  EXPECT_EQ(RunToolWith(in, {"dump", "-"}).out, RunTool({"dump", dir.File("old.lst")}).out);
  EXPECT_EQ(RunToolWith(in, {"check", "-"}).status, 0);

  // What cannot be written is a failure, with its reason, whether written at once or
  // left in the buffer until the end.
  const TRun full = RunToolWith("2>&1 >/dev/full", {"convert", dir.File("old.lst"), "-"});
  EXPECT_EQ(full.status, 1);
  EXPECT_NE(full.out.find("pellodata: 標準出力に書き込めません: "), std::string::npos) << full.out;
  EXPECT_EQ(RunToolWith(">/dev/full", {"--version"}).status, 1);
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
            "ページが持つボタンは合わせて 4 個ですが、ファイルにあるボタンは 3 個です。\n"
            "ページが 2 個あり、上限の 1 個を超えています。\n"
            "ページ 0 \"a\": ボタンが 3 個あり、上限の 2 個を超えています。\n"
            "ページ 0 \"a\" のボタン 0: 種類 9 は 0 から 7 のどれでもありません。\n"
            "ページ 0 \"a\" のボタン 1: 実行時の大きさ 5 は 1、3、7 のどれでもありません。\n"
            "ページ 0 \"a\" のボタン 1: 特殊フォルダー \"rfNowhere\" は知られていないフォルダー"
            "です。\n"
            "ページ 1 \"b\": ボタンが 1 個で、最低の 2 個に足りません。\n");

  WriteFile(dir.File("wide.lst"),
            CrLf("\"PelloRunner\",\"3.00\",\"m\",0,0,1", "**", "\"w\",10001,0", "**", "**"));
  auto wide = RunTool({"check", dir.File("wide.lst")});
  EXPECT_NE(wide.out.find("ページ 0 \"w\": ボタンが 10001 個あり、エディターのグリッドに表示"
                          "できる 10000 個を超えています。"),
            std::string::npos);
}

TEST(PelloData, AbsurdPageCountsGiveOneLinePerRunOfMissingButtons) {
  TTempDir dir;
  const std::string status = "\"PelloRunner\",\"3.00\",\"m\",0,0,1";
  WriteFile(dir.File("huge.lst"), CrLf(status, "**", "\"x\",2147483647,0", "**", "**"));
  auto huge = RunTool({"dump", dir.File("huge.lst")});
  EXPECT_EQ(huge.status, 0);
  EXPECT_EQ(huge.out,
            "status: " + status + "\npage 0: \"x\",2147483647,0\n  0..2147483646: (missing)\n");

  // A negative count owns no buttons: the next page starts where it would at 0, and
  // check still names the count the file holds.
  const std::string kind9 = "9,0,\"\",\"\",\"\",\"\",\"\",\"\",0,1,\"\"";
  WriteFile(dir.File("shifted.lst"),
            CrLf(status, "**", "\"a\",-1,0", "\"b\",3,0", "**", kind9, "**"));
  EXPECT_EQ(RunTool({"dump", dir.File("shifted.lst")}).out,
            "status: " + status + "\npage 0: \"a\",0,0\npage 1: \"b\",3,0\n  0: " + kind9 +
                "\n  1..2: (missing)\n");
  const std::string checked = RunTool({"check", dir.File("shifted.lst")}).out;
  EXPECT_NE(checked.find("ページ 1 \"b\" のボタン 0: 種類 9 は"), std::string::npos) << checked;
  EXPECT_NE(checked.find("ページ 0 \"a\": ボタンが -1 個で、最低の 1 個に足りません。"),
            std::string::npos);
}

TEST(PelloData, CheckSaysWhyEachFormRefusesAFile) {
  TTempDir dir;
  WriteFile(dir.File("junk"), CrLf("abc,def", std::string(100, '.')));
  auto junk = RunTool({"check", dir.File("junk")});
  EXPECT_EQ(junk.status, 2) << "check tells findings by 1, trouble by 2";
  // One language a line, whole sentences: the file, what went wrong, then each form's why.
  EXPECT_EQ(junk.out.rfind("pellodata: \"" + dir.File("junk") + "\" を読み込めません: ", 0), 0u)
      << junk.out;
  EXPECT_NE(junk.out.find("\n  テキスト形式: 1 行目の項目は 2 個です。ステータス行には 6 個の"
                          "項目が必要です。\n"),
            std::string::npos)
      << junk.out;
  EXPECT_NE(junk.out.find("\n  バイナリ形式: ヘッダーによるとセクション 0 (ステータス)は"
                          "オフセット 774778414 からの 744710753 バイトで、111 バイトのファイル"
                          "からはみ出しています。\n"),
            std::string::npos)
      << junk.out;

  WriteFile(
      dir.File("other.lst"),
      binary_fixture::BinaryFile(binary_fixture::StatusSection("Other", "3.00"),
                                 binary_fixture::PageSection(), binary_fixture::ButtonSection()));
  auto other = RunTool({"check", dir.File("other.lst")});
  EXPECT_EQ(other.status, 2);
  EXPECT_NE(other.out.find("  バイナリ形式: ステータスのアプリケーション名は \"Other\"、"
                           "バージョンは \"3.00\" です。\n"),
            std::string::npos)
      << other.out;

  auto folder = RunTool({"check", dir.Path().string()});
  EXPECT_EQ(folder.status, 2);
  EXPECT_NE(folder.out.find("指定されたパスは通常のファイルではありません。"), std::string::npos)
      << folder.out;

  // Standard input is explained as a file is, and named as what it is.
  auto piped = RunToolWith("<" + ShellQuoted(dir.File("junk")), {"check", "-"});
  EXPECT_EQ(piped.status, 2);
  EXPECT_EQ(piped.out.rfind("pellodata: 標準入力を読み込めません: ", 0), 0u) << piped.out;
  EXPECT_NE(piped.out.find("\n  テキスト形式: 1 行目の項目は 2 個です。"), std::string::npos)
      << piped.out;
  EXPECT_EQ(RunToolWith("</", {"check", "-"}).out,
            "pellodata: 標準入力を読み込めません: 指定されたパスはフォルダーです。\n");
}
