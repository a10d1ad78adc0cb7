// The recovery copy: written with the data file's path, found and read back, one per
// editor, not offered when planted, removed on purpose; written when a signal ends an
// editor that holds edits. The marker of a write in place left behind.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QUrl>
#include <chrono>
#include <filesystem>
#include <thread>

#include "GridRules.h"
#include "InPlaceWriteMarker.h"
#include "RecordText.h"
#include "RecoveryCopy.h"
#include "RecoveryGuard.h"
#include "StartupLogic.h"
#include "StateFolder.h"
#include "TestSupport.h"

using testing_support::EndedProcess;
using testing_support::ReadFile;
using testing_support::TTempDir;
using testing_support::WriteFile;
namespace fs = std::filesystem;

namespace {

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

// A state folder of the test's own for the life of the object.
struct TStateHome {
  TTempDir dir;
  testing_support::TEnvironmentScope scope{"XDG_STATE_HOME", dir.Path().string()};
};

std::string DataFileWithPage(const TTempDir& dir, const std::string& caption) {
  TLaunchList list;
  list.Pages.Get(0).Caption = caption;
  const std::string file = dir.File("data.lst");
  SaveToTextFile(list, file);
  return file;
}

TGridStore EditedGrid(const std::string& caption) {
  TGridStore grid;
  grid.SetRowCount(2);
  grid.SetCell(0, 0, StatusToText(TDataStatus()));
  grid.SetCell(0, 1, PageToText(TPageItem(caption, 0, 0)));
  return grid;
}

// A copy as an editor process writes it, at path, from an hour ago and more.
void PlantCopy(const QString& path, const QString& of, qint64 process, const std::string& caption,
               int hoursAgo = 1) {
  TLaunchList list;
  list.Pages.Get(0).Caption = caption;
  const std::string file = path.toStdString();
  WriteFile(file, ";pelledit recovery copy of: " + QUrl::toPercentEncoding(of, "/").toStdString() +
                      "\n;pelledit process: " + std::to_string(process) + "\n" +
                      TextDataFileBytes(list));
  fs::last_write_time(file, fs::file_time_type::clock::now() - std::chrono::hours(hoursAgo));
}

QString NamedFor(const QString& file, qint64 process) {
  return StatePathFor(file, QStringLiteral(".%1.recovery.lst").arg(process));
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

  ASSERT_EQ(WriteRecoveryCopy(EditedGrid("edited"), file), QString());
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
  TRecoveryGuard guard(
      [&]() -> TRecoveryGuard::TCopyWrite {
        return [&](const std::atomic<bool>&) {
          ++writes;
          return QString();
        };
      },
      [&] { ++discards; });
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

// A copy written on another thread: an edit made meanwhile keeps the guard behind, and
// a save meanwhile stops the write before the copy is removed, never after.
TEST(RecoveryCopy, ACopyWrittenInTheBackgroundNeverOutlivesASaveNorHidesAnEdit) {
  std::atomic<int> state{0};  // 1: the write began; 2: it may end
  std::atomic<bool> wroteAfterDiscard{false};
  std::atomic<bool> discarded{false};
  const auto write = [&](const std::atomic<bool>& stop) {
    state = 1;
    while (state == 1 && !stop)
      std::this_thread::yield();
    if (discarded) wroteAfterDiscard = true;
    return QString();
  };
  TRecoveryGuard guard([&]() -> TRecoveryGuard::TCopyWrite { return write; },
                       [&] { discarded = true; });
  const auto untilWritten = [&] {
    while (guard.Writing())
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  };

  guard.Changed(true);
  guard.WriteInBackground();
  ASSERT_TRUE(guard.Writing());
  while (state != 1)
    std::this_thread::yield();
  guard.Changed(true);  // an edit the copy being written lacks
  state = 2;
  untilWritten();
  EXPECT_TRUE(guard.Behind());

  state = 0;
  guard.WriteInBackground();
  while (state != 1)
    std::this_thread::yield();
  guard.Settle();  // saved while the copy is being written
  EXPECT_FALSE(guard.Writing());
  EXPECT_TRUE(discarded);
  EXPECT_FALSE(wroteAfterDiscard);
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

TEST(RecoveryCopy, EachEditorKeepsItsOwnAndFindsThoseOfEndedOnesNewestFirst) {
  TStateHome state;
  TTempDir dir;
  const QString file = Q(DataFileWithPage(dir, "on disk"));
  ASSERT_EQ(WriteRecoveryCopy(EditedGrid("mine"), file), QString());
  const qint64 ended = EndedProcess();
  PlantCopy(NamedFor(file, ended), file, ended, "theirs");
  PlantCopy(StatePathFor(file, QStringLiteral(".recovery.lst")), file, ended, "shared", 2);

  std::vector<std::string> found;
  for (const TRecoveryCopy& copy : FindRecoveryCopies(file))
    found.push_back(FirstPageOf(copy));
  EXPECT_EQ(found, (std::vector<std::string>{"mine", "theirs", "shared"}));
  RemoveRecoveryCopy(file);
  const auto left = FindRecoveryCopies(file);
  ASSERT_EQ(left.size(), 2u) << "only this editor's own copy goes";
  DiscardRecoveryCopy(left[0]);
  ASSERT_EQ(FindRecoveryCopies(file).size(), 1u);
  EXPECT_EQ(FirstPageOf(FindRecoveryCopies(file)[0]), "shared");
}

TEST(RecoveryCopy, APlantedCopyIsNeitherOfferedNorWrittenThrough) {
  TStateHome state;
  TTempDir dir;
  const QString file = Q(DataFileWithPage(dir, "on disk"));
  const fs::path folder = state.dir.Path() / "pelledit";
  fs::create_directory(folder);
  fs::permissions(folder, fs::perms::all);
  ASSERT_EQ(MakeStateFolder(), QString());
  EXPECT_EQ(fs::status(folder).permissions(), fs::perms::owner_all);

  const qint64 a = EndedProcess(), b = EndedProcess(), c = EndedProcess();
  PlantCopy(NamedFor(file, a), Q(dir.File("other.lst")), a, "another file's");
  PlantCopy(NamedFor(file, b), file, a, "another process's");
  PlantCopy(Q(dir.File("elsewhere")), file, c, "linked");
  fs::create_symlink(dir.File("elsewhere"), NamedFor(file, c).toStdString());
  const qint64 d = EndedProcess();
  PlantCopy(NamedFor(file, d), file, d, "huge");
  fs::resize_file(NamedFor(file, d).toStdString(), kMaxOwnFileSize + 1);
  EXPECT_TRUE(FindRecoveryCopies(file).empty());

  // A link where this editor's copy goes: the link is replaced, its target kept.
  WriteFile(dir.File("victim"), "theirs");
  fs::create_symlink(dir.File("victim"), RecoveryCopyPath(file).toStdString());
  ASSERT_EQ(WriteRecoveryCopy(EditedGrid("mine"), file), QString());
  EXPECT_EQ(ReadFile(dir.File("victim")), "theirs");
  EXPECT_EQ(fs::symlink_status(RecoveryCopyPath(file).toStdString()).permissions(),
            fs::perms::owner_read | fs::perms::owner_write);

  // A state folder that is a link to a folder elsewhere is not used.
  fs::rename(folder, dir.Path() / "moved");
  fs::create_directory_symlink(dir.Path() / "moved", folder);
  EXPECT_TRUE(FindRecoveryCopies(file).empty());
  EXPECT_TRUE(
      WriteRecoveryCopy(EditedGrid("mine"), file).contains(u"通常のフォルダーではありません"));
}

TEST(RecoveryCopy, ALongNameGetsACopyAndAWriteThatFailsSaysWhy) {
  TStateHome state;
  TTempDir dir;
  std::string name;
  while (name.size() < 240)
    name += "長";
  const std::string path = dir.File(name + ".lst");
  SaveToTextFile(TLaunchList(), path);
  ASSERT_EQ(WriteRecoveryCopy(EditedGrid("long"), Q(path)), QString());
  EXPECT_LE(QFileInfo(RecoveryCopyPath(Q(path))).fileName().toUtf8().size(), 255);
  ASSERT_EQ(FindRecoveryCopies(Q(path)).size(), 1u);

  const testing_support::TFileSizeLimit full(16);
  const QString reason = WriteRecoveryCopy(EditedGrid("more"), Q(path));
  EXPECT_TRUE(reason.startsWith(u"復元用データーを保存できません。")) << reason.toStdString();
  EXPECT_TRUE(reason.contains(u"ファイルのサイズが上限を超えています。")) << reason.toStdString();
  EXPECT_EQ(FirstPageOf(FindRecoveryCopies(Q(path))[0]), "long") << "the older copy stays";
}

TEST(InPlaceWrite, AMarkerLeftBehindNamesTheKeptCopyUnlessItIsALink) {
  TStateHome state;
  TTempDir dir;
  const QString file = Q(DataFileWithPage(dir, "a")), kept = Q(dir.File("kept.bak"));
  EXPECT_FALSE(UnfinishedInPlaceWrite(file));
  ASSERT_EQ(MarkInPlaceWrite(file, kept), QString());
  EXPECT_EQ(UnfinishedInPlaceWrite(file), kept);
  EXPECT_FALSE(UnfinishedInPlaceWrite(Q(dir.File("other.lst"))));
  EXPECT_EQ(ClearInPlaceWrite(file), QString());
  EXPECT_FALSE(UnfinishedInPlaceWrite(file));

  ASSERT_EQ(MarkInPlaceWrite(file, kept), QString());
  const QDir folder(StateFolder());
  const std::string marker = folder.filePath(folder.entryList(QDir::Files).value(0)).toStdString();
  fs::rename(marker, dir.File("marker"));
  fs::create_symlink(dir.File("marker"), marker);
  EXPECT_FALSE(UnfinishedInPlaceWrite(file));
}
