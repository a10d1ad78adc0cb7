// Backups of the data file: their names and order, the limit of 10, the restore, and
// folders that hold other things or cannot be used.
#include <gtest/gtest.h>

#include <unistd.h>

#include <QDir>
#include <chrono>
#include <filesystem>

#include "Backups.h"
#include "BinaryDataFixture.h"
#include "TestSupport.h"

using testing_support::EndedProcess;
using testing_support::Names;
using testing_support::ReadFile;
using testing_support::TTempDir;
using testing_support::WriteFile;
namespace fs = std::filesystem;

namespace {

const QDateTime kNow(QDate(2026, 12, 7), QTime(11, 23, 0));

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

// A text data file with pages pages of one button each.
std::string TextData(int pages) {
  TLaunchList list;
  while (list.Pages.Count() < pages)
    list.AddPage("P", 1, 0);
  return TextDataFileBytes(list);
}

std::string Stamped(const QDateTime& time) {
  return "data.lst." + time.toString(QStringLiteral("yyyyMMdd-HHmmss")).toStdString() + ".bak";
}

}  // namespace

TEST(Backups, NumbersBackupsOfOneSecondInOrderAndKeepsNothingNewTwice) {
  TTempDir dir;
  const QString data = Q(dir.File("data.lst"));
  const fs::path folder = dir.Path() / "pelledit-backup";
  EXPECT_EQ(BackupFolder(data), Q(folder.string()));

  EXPECT_EQ(MakeBackup(data, kNow).Failure, QString());  // a first save: no file yet
  EXPECT_FALSE(fs::exists(folder));

  for (int pages = 1; pages <= 3; ++pages) {
    WriteFile(data.toStdString(), TextData(pages));
    EXPECT_EQ(MakeBackup(data, kNow).Failure, QString());
  }
  EXPECT_EQ(MakeBackup(data, kNow).Failure, QString());  // the same bytes as the newest: no fourth
  EXPECT_EQ(Names(folder), (std::vector<std::string>{"data.lst.20261207-112300-2.bak",
                                                     "data.lst.20261207-112300-3.bak",
                                                     "data.lst.20261207-112300.bak"}));
  EXPECT_EQ(ReadFile((folder / "data.lst.20261207-112300.bak").string()), TextData(1));

  QString error = QStringLiteral("stale");
  const auto list = ListBackups(data, error);
  EXPECT_EQ(error, QString());
  ASSERT_EQ(list.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(list[i].Readable) << list[i].Problem.toStdString();
    EXPECT_EQ(list[i].Pages, 3 - i);  // newest first
    EXPECT_EQ(list[i].Buttons, 3 - i);
    EXPECT_EQ(list[i].Time, kNow);
  }
  EXPECT_EQ(list[0].Path, Q((folder / "data.lst.20261207-112300-3.bak").string()));
}

TEST(Backups, KeepsTheNewestTenAndDeletesNoOtherFile) {
  TTempDir dir;
  const QString data = Q(dir.File("data.lst"));
  const fs::path folder = dir.Path() / "pelledit-backup";
  fs::create_directory(folder);
  const std::vector<std::string> others = {"notes.txt", "other.lst.20200101-000000.bak",
                                           "data.lst.20200101-000000.bak.old",
                                           "data.lst.20200101-000000-01.bak"};
  for (const auto& name : others)
    WriteFile((folder / name).string(), "keep");
  fs::create_directory(folder / "data.lst.20200101-000000.bak");  // no file: never deleted

  for (int i = 0; i < 11; ++i) {
    WriteFile(data.toStdString(), TextData(i + 1));
    EXPECT_EQ(MakeBackup(data, kNow.addSecs(60 * i)).Failure, QString()) << i;
  }
  EXPECT_FALSE(fs::exists(folder / Stamped(kNow)));
  for (int i = 1; i < 11; ++i)
    EXPECT_TRUE(fs::exists(folder / Stamped(kNow.addSecs(60 * i)))) << i;
  for (const auto& name : others)
    EXPECT_EQ(ReadFile((folder / name).string()), "keep") << name;
  EXPECT_TRUE(fs::is_directory(folder / "data.lst.20200101-000000.bak"));

  // A clock set back: the new backup looks the oldest, yet it stays.
  WriteFile(data.toStdString(), TextData(20));
  EXPECT_EQ(MakeBackup(data, kNow.addDays(-1)).Failure, QString());
  EXPECT_EQ(ReadFile((folder / Stamped(kNow.addDays(-1))).string()), TextData(20));
  EXPECT_FALSE(fs::exists(folder / Stamped(kNow.addSecs(60))));
  EXPECT_EQ(Names(folder).size(), 10 + others.size() + 1);
}

TEST(Backups, ListsUnrelatedAndDamagedFilesAsUnreadableAfterTheBackups) {
  TTempDir dir;
  const QString data = Q(dir.File("data.lst"));
  const fs::path folder = dir.Path() / "pelledit-backup";
  fs::create_directory(folder);
  WriteFile((folder / "data.lst.20261207-112300.bak").string(), binary_fixture::Example());
  WriteFile((folder / "data.lst.20261208-090000.bak").string(), "damaged");
  WriteFile(
      (folder / "data.lst.20261209-090000.bak").string(),
      binary_fixture::BinaryFile(binary_fixture::StatusSection("Other"),
                                 binary_fixture::PageSection(), binary_fixture::ButtonSection()));
  fs::create_directory(folder / "data.lst.20261210-090000.bak");
  WriteFile((folder / "a-data-file.lst").string(), TextData(2));  // a data file, not a backup

  QString error;
  const auto list = ListBackups(data, error);
  EXPECT_EQ(error, QString());
  ASSERT_EQ(list.size(), 5u);
  const std::vector<std::string> order = {
      "data.lst.20261210-090000.bak", "data.lst.20261209-090000.bak",
      "data.lst.20261208-090000.bak", "data.lst.20261207-112300.bak", "a-data-file.lst"};
  for (std::size_t i = 0; i < order.size(); ++i) {
    EXPECT_EQ(list[i].Path, Q((folder / order[i]).string()));
    EXPECT_EQ(list[i].Readable, i == 3) << i;
    EXPECT_EQ(list[i].Problem.isEmpty(), i == 3) << i;
  }
  EXPECT_EQ(list[3].Pages, 1);
  EXPECT_EQ(list[3].Buttons, 1);
  EXPECT_EQ(list[3].Time, kNow);
  EXPECT_EQ(list[4].Pages, 0);  // never read

  TLaunchList loaded;
  const int pages = loaded.Pages.Count();
  for (const char* name : {"data.lst.20261208-090000.bak", "data.lst.20261209-090000.bak"}) {
    error.clear();
    EXPECT_FALSE(LoadBackup(Q((folder / name).string()), loaded, error)) << name;
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(loaded.Pages.Count(), pages);
  }
}

TEST(Backups, RestoresABinaryFormBackupCopiedByteForByte) {
  TTempDir dir;
  const std::string data = dir.File("data.lst");
  WriteFile(data, binary_fixture::Example());
  fs::permissions(data, fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_EQ(MakeBackup(Q(data), kNow).Failure, QString());
  const fs::path backup = dir.Path() / "pelledit-backup" / Stamped(kNow);
  EXPECT_EQ(ReadFile(backup.string()), binary_fixture::Example());
  // A private data file gives a private backup.
  EXPECT_EQ(fs::status(backup).permissions(), fs::perms::owner_read | fs::perms::owner_write);

  TLaunchList list;
  list.SetFileName(data);
  QString error;
  ASSERT_TRUE(LoadBackup(Q(backup.string()), list, error)) << error.toStdString();
  ASSERT_EQ(list.Pages.Count(), 1);
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Items(0, 0).Title, "A");
  EXPECT_EQ(list.FileName, data);  // a later save still goes to the data file
}

TEST(Backups, AFolderThatCannotBeUsedGivesTheReasonAndLeavesNothingHalfWritten) {
  TTempDir dir;
  const QString data = Q(dir.File("data.lst"));
  WriteFile(data.toStdString(), TextData(1));
  const fs::path folder = dir.Path() / "pelledit-backup";

  // The folder's place is taken by a file, then by a link to a real folder elsewhere.
  WriteFile(folder.string(), "a file");
  QString error;
  EXPECT_NE(MakeBackup(data, kNow).Failure.indexOf(Q(folder.string())), -1);
  EXPECT_TRUE(ListBackups(data, error).empty());
  EXPECT_NE(error.indexOf(Q(folder.string())), -1);
  EXPECT_EQ(ReadFile(folder.string()), "a file");

  fs::remove(folder);
  const fs::path elsewhere = dir.Path() / "elsewhere";
  fs::create_directory(elsewhere);
  WriteFile((elsewhere / Stamped(kNow)).string(), TextData(1));
  fs::create_directory_symlink(elsewhere, folder);
  EXPECT_FALSE(MakeBackup(data, kNow.addSecs(1)).Failure.isEmpty());
  error.clear();
  EXPECT_TRUE(ListBackups(data, error).empty());
  EXPECT_FALSE(error.isEmpty());
  EXPECT_EQ(Names(elsewhere), std::vector<std::string>{Stamped(kNow)});

  // A write that fails halfway: the reason, and no backup or temporary file stays.
  fs::remove(folder);
  WriteFile(data.toStdString(), std::string(8192, 'x'));
  {
    testing_support::TFileSizeLimit limit(4096);
    EXPECT_FALSE(MakeBackup(data, kNow).Failure.isEmpty());
  }
  EXPECT_TRUE(Names(folder).empty());
  EXPECT_EQ(ReadFile(data.toStdString()), std::string(8192, 'x'));
}

TEST(Backups, TemporariesAreNeverListedAndStaleOnesGo) {
  TTempDir dir;
  const QString data = Q(dir.File("data.lst"));
  const fs::path folder = dir.Path() / "pelledit-backup";
  fs::create_directory(folder);
  const std::string stale =
      "." + Stamped(kNow) + ".pelledit-" + std::to_string(EndedProcess()) + "-a1B2c3";
  const std::string running = "." + Stamped(kNow) + ".pelledit-1-a1B2c3";
  const std::string older = "." + Stamped(kNow) + ".a1B2c3";  // an earlier version's
  for (const std::string& name : {stale, running, older}) {
    WriteFile((folder / name).string(), TextData(1));
    fs::last_write_time(folder / name, fs::file_time_type::clock::now() - std::chrono::hours(1));
  }
  WriteFile((folder / Stamped(kNow)).string(), TextData(1));

  QString error;
  const auto list = ListBackups(data, error);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].Path, Q((folder / Stamped(kNow)).string()));
  EXPECT_EQ(Names(folder), (std::vector<std::string>{older, running, Stamped(kNow)}));
}
