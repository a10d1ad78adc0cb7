// pellodata diff and merge, run as a user and as git run them.
#include <gtest/gtest.h>

#include "BinaryDataFixture.h"
#include "TestSupport.h"
#include "ToolRunner.h"

using testing_support::ReadFile;
using testing_support::RunCommand;
using testing_support::ShellQuoted;
using testing_support::TRun;
using testing_support::TTempDir;
using testing_support::WriteFile;

namespace {

TRun RunTool(std::initializer_list<std::string> args) {
  return RunCommand(ShellQuoted(PELLODATA_PATH), args);
}

// The sample with from replaced by to (ASCII parts of its lines).
std::string Sample(std::initializer_list<std::pair<std::string, std::string>> changes) {
  std::string bytes = ReadFile(SAMPLE_PATH);
  for (const auto& [from, to] : changes) {
    const auto at = bytes.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) bytes.replace(at, from.size(), to);
  }
  return bytes;
}

const std::pair<std::string, std::string> kXtermToFoot{"\"/usr/bin/xterm\",\"\",\"-fa",
                                                       "\"/usr/bin/foot\",\"\",\"-fa"};
const std::pair<std::string, std::string> kXtermToKitty{"\"/usr/bin/xterm\",\"\",\"-fa",
                                                        "\"/usr/bin/kitty\",\"\",\"-fa"};
const std::pair<std::string, std::string> kFirefox{"\"/usr/bin/firefox-esr\"",
                                                   "\"/usr/bin/firefox\""};

}  // namespace

TEST(PelloDataCompare, DiffAndMergeTellByTheirExitStatus) {
  TTempDir dir;
  const std::string base = dir.File("base.lst"), ours = dir.File("ours.lst"),
                    theirs = dir.File("theirs.lst");
  WriteFile(base, ReadFile(SAMPLE_PATH));
  WriteFile(ours, Sample({kXtermToFoot}));
  WriteFile(theirs, Sample({kFirefox}));

  EXPECT_EQ(RunTool({"diff", base, base}).status, 0);
  TRun run = RunTool({"diff", base, ours});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out,
            "ページ 1 「アプリ」: ボタン 1 「端末」 リンク先 /usr/bin/xterm → /usr/bin/foot\n");
  EXPECT_EQ(RunTool({"diff", "--stat", base, ours}).out, "ボタンの変更: 1\n差分: 1 件\n");
  EXPECT_EQ(RunTool({"diff", base, dir.File("none.lst")}).status, 2);
  // A file in the binary form, or standard input, is read whole and compared the same.
  WriteFile(dir.File("binary.lst"), binary_fixture::Example());
  ASSERT_EQ(RunTool({"convert", dir.File("binary.lst"), dir.File("text.lst")}).status, 0);
  EXPECT_EQ(RunTool({"diff", dir.File("binary.lst"), dir.File("text.lst")}).status, 0);
  run = RunCommand("cat " + ShellQuoted(ours) + " | " + ShellQuoted(PELLODATA_PATH) + " diff " +
                       ShellQuoted(base) + " -",
                   {});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("/usr/bin/foot"), std::string::npos) << run.out;

  // Clean: written over OURS.
  run = RunTool({"merge", base, ours, theirs});
  EXPECT_EQ(run.status, 0) << run.out;
  EXPECT_EQ(ReadFile(ours), Sample({kXtermToFoot, kFirefox}));

  // A conflict keeps ours there, is told, and the rest is merged all the same.
  WriteFile(ours, Sample({kXtermToFoot}));
  WriteFile(theirs, Sample({kXtermToKitty, kFirefox}));
  run = RunTool({"merge", base, ours, theirs, "-o", dir.File("out.lst")});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("競合: ページ 1 「アプリ」: ボタン 1 「端末」: 両方で変更されています"),
            std::string::npos)
      << run.out;
  EXPECT_EQ(ReadFile(dir.File("out.lst")), Sample({kXtermToFoot, kFirefox}));

  // A file cut short is not merged, and OURS stays as it was.
  const std::string whole = ReadFile(theirs);
  WriteFile(theirs, whole.substr(0, whole.size() - 200));
  run = RunTool({"merge", base, ours, theirs});
  EXPECT_EQ(run.status, 2) << run.out;
  EXPECT_EQ(ReadFile(ours), Sample({kXtermToFoot}));
}

// Two branches edit neighbouring buttons and both count uses of a third: a merge of
// lines would conflict, the driver merges and adds the counts up.
TEST(PelloDataCompare, GitMergesTwoBranchesThroughTheDriver) {
  TTempDir dir;
  const std::string git = "git -C " + ShellQuoted(dir.Path().string());
  const auto run = [&](const std::string& args) { return RunCommand(git + " " + args, {}); };
  ASSERT_EQ(run("init -q -b main").status, 0);
  run("config user.email t@example.invalid");
  run("config user.name t");
  run("config merge.pello.driver " + ShellQuoted(ShellQuoted(PELLODATA_PATH) + " merge %O %A %B"));
  WriteFile(dir.File(".gitattributes"), "PelloRunner.lst merge=pello\n");
  const std::string file = dir.File("PelloRunner.lst");
  WriteFile(file, ReadFile(SAMPLE_PATH));
  ASSERT_EQ(run("add -A").status, 0);
  ASSERT_EQ(run("commit -q -m base").status, 0);
  const std::pair<std::string, std::string> calcUsedTwice{"1,0,\"LibreOffice", "1,2,\"LibreOffice"};
  const std::pair<std::string, std::string> calcUsedThrice{"1,0,\"LibreOffice",
                                                           "1,3,\"LibreOffice"};
  run("checkout -q -b other");
  WriteFile(file, Sample({kFirefox, calcUsedThrice}));
  ASSERT_EQ(run("commit -q -am other").status, 0);
  run("checkout -q main");
  WriteFile(file, Sample({kXtermToFoot, calcUsedTwice}));
  ASSERT_EQ(run("commit -q -am main").status, 0);

  const TRun merge = run("merge -q --no-edit other");
  EXPECT_EQ(merge.status, 0) << merge.out;
  const std::pair<std::string, std::string> calcUsedFive{"1,0,\"LibreOffice", "1,5,\"LibreOffice"};
  EXPECT_EQ(ReadFile(file), Sample({kXtermToFoot, kFirefox, calcUsedFive}));
}
