// The recovery copy: written with the data file's path, found and read back, not
// offered while another editor keeps it, removed on purpose; and written when a
// signal ends an editor that holds edits.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QProcess>

#include "GridRules.h"
#include "RecordText.h"
#include "RecoveryCopy.h"
#include "RecoveryGuard.h"
#include "StartupLogic.h"
#include "TestSupport.h"

using testing_support::TTempDir;

namespace {

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

// A state folder of the test's own for the life of the object.
struct TStateHome {
  TTempDir dir;
  TStateHome() { qputenv("XDG_STATE_HOME", QByteArray::fromStdString(dir.Path().string())); }
  ~TStateHome() { qunsetenv("XDG_STATE_HOME"); }
};

std::string DataFileWithPage(const TTempDir& dir, const std::string& caption) {
  TLaunchList list;
  list.Pages.Get(0).Caption = caption;
  const std::string file = dir.File("data.lst");
  SaveToTextFile(list, file);
  return file;
}

std::string FirstPageOf(const TRecoveryCopy& copy) {
  TLaunchList list;
  QString error;
  if (!LoadRecoveryCopy(copy, list, error)) return "unreadable: " + error.toStdString();
  return list.Pages.Get(0).Caption;
}

}  // namespace

TEST(RecoveryCopy, IsWrittenFoundAndRemovedForItsOwnDataFile) {
  TStateHome state;
  TTempDir dir;
  const QString file = Q(DataFileWithPage(dir, "on disk"));
  EXPECT_FALSE(FindRecoveryCopy(file));

  TGridStore grid;
  grid.SetRowCount(2);
  grid.SetCell(0, 0, StatusToText(TDataStatus()));
  grid.SetCell(0, 1, PageToText(TPageItem("edited", 0, 0)));
  ASSERT_EQ(WriteRecoveryCopy(grid, file), QString());
  EXPECT_TRUE(RecoveryCopyPath(file).startsWith(Q(state.dir.Path().string()) + "/pelledit/"));

  const auto copy = FindRecoveryCopy(file);
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->DataFile, file);
  EXPECT_EQ(copy->Process, ::getpid());
  EXPECT_TRUE(copy->NewerThanFile);
  EXPECT_EQ(FirstPageOf(*copy), "edited");
  // Another data file of the same name elsewhere has none.
  TTempDir other;
  EXPECT_FALSE(FindRecoveryCopy(Q(DataFileWithPage(other, "x"))));

  RemoveRecoveryCopy(file);
  EXPECT_FALSE(FindRecoveryCopy(file));
}

TEST(RecoveryCopy, WaitsAFewSecondsAfterAChangeTenBetweenWritesAndThirtyAtMost) {
  EXPECT_EQ(TRecoveryGuard::DelayBeforeWrite(-1, 0), TRecoveryGuard::kQuietMs);
  EXPECT_EQ(TRecoveryGuard::DelayBeforeWrite(1000, 0), TRecoveryGuard::kIntervalMs - 1000);
  EXPECT_EQ(TRecoveryGuard::DelayBeforeWrite(60000, 0), TRecoveryGuard::kQuietMs);
  // Changes that never pause for long: written at the latest 30 s after the first.
  EXPECT_EQ(TRecoveryGuard::DelayBeforeWrite(60000, 28500), 1500);
  EXPECT_EQ(TRecoveryGuard::DelayBeforeWrite(60000, 45000), 0);

  int writes = 0, discards = 0;
  TRecoveryGuard guard([&] { return ++writes > 0; }, [&] { ++discards; });
  guard.WriteNow();
  EXPECT_EQ(writes, 0) << "nothing to keep yet";
  guard.Changed(true);
  guard.SetBusy(true);
  guard.WriteNow();
  EXPECT_EQ(writes, 0) << "not while the grid is half changed";
  guard.SetBusy(false);
  guard.WriteNow();
  EXPECT_EQ(writes, 1);
  guard.WriteNow();
  EXPECT_EQ(writes, 1) << "the copy is not behind";
  guard.Changed(false);  // undone back to the file's data
  EXPECT_EQ(discards, 1);
  EXPECT_FALSE(guard.Behind());
}

// A real process per signal: it holds an edit, the signal comes, the copy is there.
TEST(RecoveryCopy, ATerminationSignalLeavesTheEditsInACopyAndEndsTheProgramByIt) {
  for (const int sig : {SIGTERM, SIGHUP, SIGINT}) {
    TStateHome state;
    TTempDir dir;
    const QString file = Q(DataFileWithPage(dir, "on disk"));
    QProcess child;
    child.setProgram(QCoreApplication::applicationDirPath() + "/pello_recovery_child");
    child.setArguments({file});
    child.start();
    ASSERT_TRUE(child.waitForStarted()) << sig;
    while (!child.canReadLine() && child.waitForReadyRead(10000)) {
    }
    ASSERT_EQ(child.readLine().trimmed(), "ready") << sig;
    EXPECT_FALSE(FindRecoveryCopy(file)) << "nothing written before it is due";

    ::kill(static_cast<pid_t>(child.processId()), sig);
    ASSERT_TRUE(child.waitForFinished(10000)) << sig;
    EXPECT_EQ(child.exitStatus(), QProcess::CrashExit) << "ended by the signal " << sig;
    const auto copy = FindRecoveryCopy(file);
    ASSERT_TRUE(copy) << sig;
    EXPECT_EQ(FirstPageOf(*copy), "edited") << sig;
    EXPECT_EQ(copy->DataFile, file);
  }
}
