// Runs the editor for what it answers without a window: its help, its version and its
// command line, where there is no display to show a window on.
#include <gtest/gtest.h>

#include "ToolRunner.h"

using testing_support::RunCommand;
using testing_support::ShellQuoted;
using testing_support::TRun;

// Without a display Qt would abort: help and version are answered all the same, a wrong
// command line prints the usage and exits 2, a right one says why no window can show
// and exits 1.
TEST(PelleditCommandLine, WithoutADisplayEveryCommandLineIsAnswered) {
  const std::string noDisplay =
      "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= " + ShellQuoted(PELLEDIT_PATH);
  const TRun help = RunCommand(noDisplay, {"--help"});
  EXPECT_EQ(help.status, 0) << help.out;
  EXPECT_EQ(help.out.rfind("usage: pelledit [FILE]\n", 0), 0u) << help.out;
  EXPECT_EQ(RunCommand(noDisplay, {"-h"}).out, help.out);
  const TRun version = RunCommand(noDisplay, {"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "pelledit " PROJECT_VERSION "\n");

  const TRun wrong = RunCommand(noDisplay, {"--bogus"});
  EXPECT_EQ(wrong.status, 2) << wrong.out;
  EXPECT_EQ(wrong.out.rfind("usage: pelledit [FILE]\n", 0), 0u) << wrong.out;
  const TRun alone = RunCommand(noDisplay, {});
  EXPECT_EQ(alone.status, 1) << alone.out;
  EXPECT_NE(alone.out.find("DISPLAY"), std::string::npos) << alone.out;
}
