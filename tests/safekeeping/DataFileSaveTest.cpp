// A save with the launcher running beside the editor: use counts it wrote are taken
// in, any other change on disk is asked about and each answer does what it says, a
// backup that cannot be made and a folder that cannot be written ask first.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <QTimer>

#include <cerrno>
#include <filesystem>

#include "DataFileCommands.h"
#include "DataFileSave.h"
#include "GridRules.h"
#include "LaunchErrors.h"
#include "QuietFill.h"
#include "RecordText.h"
#include "ScriptedDialogs.h"
#include "TestSupport.h"

using testing_support::ReadFile;
using testing_support::TTempDir;
using testing_support::WriteFile;

namespace {

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

// Page "p" with buttons titled t0, t1, ... whose use counts are counts; t2 and t3 are
// twins: the same button twice.
TLaunchList MakeList(const std::vector<int>& counts) {
  TLaunchList list;
  list.DeletePage(0);
  list.AddPage("p", static_cast<int>(counts.size()), 0);
  for (int b = 0; b < static_cast<int>(counts.size()); ++b) {
    TLaunchDataItem& item = list.Items(0, b);
    item.Kind = lkProgram;
    item.Title = (b == 3 ? std::string("t2") : "t" + std::to_string(b));
    item.Link = "/usr/bin/" + std::string(item.Title);
    item.UseCount = counts[static_cast<std::size_t>(b)];
  }
  return list;
}

std::vector<int> CountsOnDisk(const std::string& file) {
  TLaunchList list;
  list.SetFileName(file);
  list.LoadFromFile();
  std::vector<int> counts;
  for (int i = 0; i < list.Count(); ++i)
    counts.push_back(list.Get(i).UseCount);
  return counts;
}

// A data file as the editor opened it: on disk, in the grid, and its baseline.
struct TOpened {
  TTempDir dir;
  std::string file = dir.File("data.lst");
  TScriptedDialogs dialogs;
  TDialogsScope scope{dialogs};
  TGridStore grid;
  TFileBaseline baseline;
  TSaveSession session{grid, Q(file), baseline};
  std::vector<const TLaunchList*> reloaded;

  explicit TOpened(const TLaunchList& list) {
    SaveToTextFile(list, file);
    baseline = {StampOf(file), FingerprintOf(list)};
    FillQuietly(list, grid);
    session.Reload = [this](const TLaunchList& l) { reloaded.push_back(&l); };
  }
  // The launcher (or anyone) writes the file anew.
  void WriteOnDisk(const TLaunchList& list) { SaveToTextFile(list, file); }
  int UseCount(int c) const { return UseCountOfText(grid.Cell(c, 1)); }
  void SetUseCount(int c, int count) {
    auto item = TextToItem(grid.Cell(c, 1));
    item->UseCount = count;
    grid.SetCell(c, 1, ItemToText(*item));
  }
};

}  // namespace

TEST(OutsideChanges, TheLaunchersUseCountsComeInWhereTheUserLeftTheButtonAlone) {
  TOpened o(MakeList({1, 1, 5, 7, 0}));
  o.SetUseCount(2, 40);  // the user's count of t1 (column 2) wins over the launcher's
  {
    auto item = TextToItem(o.grid.Cell(5, 1));  // the user renames t4
    item->Title = "mine";
    o.grid.SetCell(5, 1, ItemToText(*item));
  }
  o.WriteOnDisk(MakeList({2, 2, 6, 8, 9}));

  const TDiskCheck check = CheckDataFile(o.baseline, Q(o.file));
  EXPECT_EQ(check.Change, TDiskChange::UseCountsOnly);
  o.dialogs.PushMessageAnswer(mrYes);
  ASSERT_EQ(SaveWithQuestion(o.session), TSaveResult::Saved);
  EXPECT_EQ(o.dialogs.Questions().size(), 2u) << "the save question and the progress box only";
  // t0 takes 2; t1 keeps 40; the twins each take their own; the renamed button, where
  // the file had t4, takes t4's uses.
  EXPECT_EQ(CountsOnDisk(o.file), (std::vector<int>{2, 40, 6, 8, 9}));
  EXPECT_EQ(CheckDataFile(o.baseline, Q(o.file)).Change, TDiskChange::Unchanged);
}

TEST(OutsideChanges, TheSameDataWrittenAgainIsNoChangeAndAnyOtherChangeIsOne) {
  TOpened o(MakeList({1, 2}));
  EXPECT_EQ(CheckDataFile(o.baseline, Q(o.file)).Change, TDiskChange::Unchanged);
  o.WriteOnDisk(MakeList({1, 2}));  // a new file with the same data
  TDiskCheck check = CheckDataFile(o.baseline, Q(o.file));
  EXPECT_EQ(check.Change, TDiskChange::Unchanged);
  EXPECT_NE(check.Stamp, o.baseline.Stamp);

  TLaunchList renamed = MakeList({1, 2});
  renamed.Pages.Get(0).Caption = "q";
  o.WriteOnDisk(renamed);
  EXPECT_EQ(CheckDataFile(o.baseline, Q(o.file)).Change, TDiskChange::Changed);
  TLaunchList more = MakeList({1, 2, 0});
  o.WriteOnDisk(more);
  EXPECT_EQ(CheckDataFile(o.baseline, Q(o.file)).Change, TDiskChange::Changed);
  WriteFile(o.file, "half a fi");
  EXPECT_EQ(CheckDataFile(o.baseline, Q(o.file)).Change, TDiskChange::Unreadable);
  std::filesystem::remove(o.file);
  EXPECT_EQ(CheckDataFile(o.baseline, Q(o.file)).Change, TDiskChange::Gone);
}

TEST(OutsideChanges, EachAnswerToAnotherProgramsChangeDoesWhatItSays) {
  TLaunchList theirs = MakeList({1, 2});
  theirs.Pages.Get(0).Caption = "theirs";
  const std::string theirBytes = TextDataFileBytes(theirs);

  // Cancel: nothing written, nothing reloaded.
  TOpened o(MakeList({1, 2}));
  o.WriteOnDisk(theirs);
  o.dialogs.PushMessageAnswer(mrCancel);
  EXPECT_EQ(SaveDataFile(o.session), TSaveResult::NotSaved);
  EXPECT_EQ(ReadFile(o.file), theirBytes);
  EXPECT_TRUE(o.reloaded.empty());
  const TAskedQuestion& asked = o.dialogs.Questions()[0];
  EXPECT_TRUE(asked.Text.startsWith(
      QStringLiteral("データーファイルが他のプログラムによって変更されています。")));
  EXPECT_EQ(asked.Buttons, unsigned{mbYes | mbNo | mbCancel});

  // No: the file as it is now goes to the grid's reload, and becomes the baseline.
  o.dialogs.PushMessageAnswer(mrNo);
  EXPECT_EQ(SaveDataFile(o.session), TSaveResult::Reloaded);
  ASSERT_EQ(o.reloaded.size(), 1u);
  EXPECT_EQ(ReadFile(o.file), theirBytes);
  EXPECT_EQ(o.baseline.Data, FingerprintOf(theirs));
  EXPECT_EQ(o.baseline.Stamp, StampOf(o.file));

  // Yes: the grid overwrites it.
  TOpened y(MakeList({1, 2}));
  y.WriteOnDisk(theirs);
  y.dialogs.PushMessageAnswer(mrYes);
  EXPECT_EQ(SaveDataFile(y.session), TSaveResult::Saved);
  EXPECT_EQ(CaptionOfText(y.grid.Cell(0, 1)), "p");
  EXPECT_NE(ReadFile(y.file).find("\"p\""), std::string::npos);

  // Gone or unreadable: no reload to offer; Yes writes the file anew.
  for (const bool gone : {true, false}) {
    TOpened g(MakeList({3}));
    if (gone)
      std::filesystem::remove(g.file);
    else
      WriteFile(g.file, "not a data file");
    g.dialogs.PushMessageAnswer(mrCancel);
    EXPECT_EQ(SaveDataFile(g.session), TSaveResult::NotSaved);
    EXPECT_EQ(g.dialogs.Questions()[0].Buttons, unsigned{mbYes | mbCancel});
    EXPECT_EQ(std::filesystem::exists(g.file), !gone);
    g.dialogs.PushMessageAnswer(mrYes);
    EXPECT_EQ(SaveDataFile(g.session), TSaveResult::Saved);
    EXPECT_EQ(CountsOnDisk(g.file), std::vector<int>{3});
  }
}

TEST(OutsideChanges, ALauncherWriteBetweenTheLookAndTheRenameIsTakenInBeforeTheFileIsReplaced) {
  TOpened o(MakeList({1, 1}));
  auto item = TextToItem(o.grid.Cell(2, 1));
  item->Title = "mine";
  o.grid.SetCell(2, 1, ItemToText(*item));
  // Runs at the first events the save lets through: after its look, before its rename.
  QTimer::singleShot(0, [&o] { o.WriteOnDisk(MakeList({4, 3})); });
  ASSERT_EQ(SaveDataFile(o.session), TSaveResult::Saved);
  EXPECT_EQ(CountsOnDisk(o.file), (std::vector<int>{4, 3}));
  EXPECT_NE(ReadFile(o.file).find("\"mine\""), std::string::npos);
  EXPECT_EQ(CheckDataFile(o.baseline, Q(o.file)).Change, TDiskChange::Unchanged);
}

TEST(OutsideChanges, AWriteOfTheSameSizeInTheSameTickIsSeenDespiteTheSameStamp) {
  TOpened o(MakeList({1, 2}));
  const std::string bytes = TextDataFileBytes(MakeList({3, 2}));
  ASSERT_EQ(bytes.size(), ReadFile(o.file).size());
  WriteFileInPlace(o.file, [&bytes](const auto& write) { write(bytes); });
  const timespec times[2] = {
      {0, UTIME_OMIT},
      {o.baseline.Stamp.modifiedNs / 1'000'000'000, o.baseline.Stamp.modifiedNs % 1'000'000'000}};
  ASSERT_EQ(::utimensat(AT_FDCWD, o.file.c_str(), times, 0), 0);
  ASSERT_EQ(StampOf(o.file), o.baseline.Stamp);
  EXPECT_EQ(CheckDataFile(o.baseline, Q(o.file)).Change, TDiskChange::UseCountsOnly);
}

TEST(OutsideChanges, UsesOfButtonsTheUserChangedOrDeletedAreKeptAndFollowedByUndo) {
  const TLaunchList file = MakeList({1, 1, 1});
  TLaunchList mine = MakeList({1, 1, 1});
  const std::string t0 = ItemToText(mine.Items(0, 0));
  const std::string t1 = ItemToText(mine.Items(0, 1));
  mine.Items(0, 0).Params = "-x";  // changed where it stands
  mine.DeleteButton(0, 1);         // t1 deleted: t2 now stands where t1 stood
  TGridStore grid;
  FillQuietly(mine, grid);
  TCountRewrites rewrites;
  EXPECT_EQ(
      MergeUseCounts(grid, FingerprintOf(file), FingerprintOf(MakeList({3, 5, 1})), &rewrites), 1);
  EXPECT_EQ(UseCountOfText(grid.Cell(1, 1)), 3) << "the changed button gets the 2 uses";
  EXPECT_EQ(UseCountOfText(grid.Cell(2, 1)), 1) << "t2 is not t1";
  // The texts undo keeps of both come back with the launcher's counts.
  ASSERT_TRUE(rewrites.Rewrite(t1));
  EXPECT_EQ(UseCountOfText(*rewrites.Rewrite(t1)), 5);
  EXPECT_EQ(UseCountOfText(*rewrites.Rewrite(t0)), 3);
  EXPECT_FALSE(rewrites.Rewrite(ItemToText(file.Items(0, 2))));
}

TEST(OutsideChanges, AFileCutShortIsNeverTakenInNorOfferedForAReload) {
  TOpened o(MakeList({1, 2, 3}));
  const std::string whole = TextDataFileBytes(MakeList({1, 2, 4}));
  const std::string::size_type lastButton = whole.rfind("\r\n", whole.size() - 7) + 2;
  // A writer still writing: without the last "**"; a writer killed: the last button lost.
  for (const std::string& cut :
       {whole.substr(0, whole.size() - 4), whole.substr(0, lastButton) + "**\r\n"}) {
    WriteFile(o.file, cut);
    const TDiskCheck check = CheckDataFile(o.baseline, Q(o.file));
    EXPECT_EQ(check.Change, TDiskChange::Unreadable);
    EXPECT_FALSE(check.List);
    EXPECT_TRUE(check.Problem.contains(QStringLiteral("途中"))) << check.Problem.toStdString();
  }
  o.dialogs.PushMessageAnswer(mrCancel);
  EXPECT_EQ(SaveDataFile(o.session), TSaveResult::NotSaved);
  EXPECT_EQ(o.dialogs.Questions()[0].Buttons, unsigned{mbYes | mbCancel}) << "no reload";
  EXPECT_TRUE(o.reloaded.empty());
  // A file already short of buttons when opened is no news when it stays so.
  TLaunchList shortList = MakeList({1, 2});
  shortList.Pages.Get(0).Count = 5;
  std::string shortBytes = TextDataFileBytes(MakeList({1, 2}));
  shortBytes.replace(shortBytes.find("\"p\",2"), 5, "\"p\",5");
  WriteFile(o.file, shortBytes);
  shortList.SetFileName(o.file);
  shortList.LoadFromFile();
  ASSERT_EQ(shortList.MissingButtons(), 3);
  o.baseline = {StampOf(o.file), FingerprintOf(shortList)};
  EXPECT_EQ(CheckDataFile(o.baseline, Q(o.file)).Change, TDiskChange::Unchanged);
}

TEST(OutsideChanges, AFileThatBecameASymbolicLinkIsAskedAboutNamingWhereTheBytesWouldGo) {
  TOpened o(MakeList({1}));
  const std::string elsewhere = o.dir.File("elsewhere.lst");
  std::filesystem::rename(o.file, elsewhere);
  std::filesystem::create_symlink(elsewhere, o.file);
  EXPECT_EQ(CheckDataFile(o.baseline, Q(o.file)).Change, TDiskChange::Changed);
  o.dialogs.PushMessageAnswer(mrCancel);
  EXPECT_EQ(SaveDataFile(o.session), TSaveResult::NotSaved);
  const QString text = o.dialogs.Questions()[0].Text;
  EXPECT_TRUE(text.contains(QStringLiteral("シンボリックリンク"))) << text.toStdString();
  EXPECT_TRUE(text.contains(Q(elsewhere))) << text.toStdString();
}

TEST(SaveGuards, ABackupThatCannotBeMadeAsksBeforeTheFileIsReplaced) {
  TOpened o(MakeList({1}));
  const std::string before = ReadFile(o.file);
  o.SetUseCount(1, 9);
  WriteFile(o.dir.File("pelledit-backup"), "a file where the folder belongs");
  o.dialogs.PushMessageAnswer(mrNo);
  EXPECT_FALSE(WriteDataFile(o.session));
  EXPECT_EQ(ReadFile(o.file), before);
  EXPECT_TRUE(
      o.dialogs.Questions()[0].Text.startsWith(QStringLiteral("バックアップを作れません。")));
  EXPECT_TRUE(o.dialogs.Questions()[0].Text.endsWith(QStringLiteral("保存しますか？")));

  o.dialogs.PushMessageAnswer(mrYes);
  EXPECT_TRUE(WriteDataFile(o.session));
  EXPECT_EQ(CountsOnDisk(o.file), std::vector<int>{9});
}

TEST(SaveGuards, AFolderThatCannotBeWrittenOffersAWriteInPlaceAfterKeepingTheOldBytes) {
  TOpened o(MakeList({1}));
  TTempDir state;
  const testing_support::TEnvironmentScope stateHome("XDG_STATE_HOME", state.Path().string());
  const std::string before = ReadFile(o.file);
  struct stat st {};
  ::stat(o.file.c_str(), &st);
  o.SetUseCount(1, 5);
  o.session.ReplaceBeside = [](const std::string&) { return EACCES; };

  o.dialogs.PushMessageAnswer(mrNo);
  EXPECT_FALSE(WriteDataFile(o.session));
  EXPECT_EQ(ReadFile(o.file), before);
  EXPECT_TRUE(o.dialogs.Questions()[0].Text.contains(QStringLiteral("直接書き込みますか？")));

  o.dialogs.PushMessageAnswer(mrYes);
  o.dialogs.PushMessageAnswer(mrOk);  // the note of where the old bytes are
  ASSERT_TRUE(WriteDataFile(o.session));
  EXPECT_EQ(CountsOnDisk(o.file), std::vector<int>{5});
  struct stat after {};
  ::stat(o.file.c_str(), &after);
  EXPECT_EQ(after.st_ino, st.st_ino) << "the same file, written in place";
  EXPECT_EQ(o.baseline.Stamp, StampOf(o.file));
  // The note names the copy, which holds the old bytes.
  const QString note = o.dialogs.Questions().back().Text;
  const qsizetype open = note.indexOf(QStringLiteral("\"")) + 1;
  const QString kept = note.mid(open, note.indexOf(QStringLiteral("\""), open) - open);
  EXPECT_TRUE(kept.startsWith(Q(state.Path().string()))) << kept.toStdString();
  EXPECT_EQ(ReadFile(kept.toStdString()), before);
}

// Writing in place cuts what a longer old content left behind, and is refused where a
// replace would be.
TEST(SaveGuards, AWriteInPlaceLeavesExactlyTheNewBytes) {
  TTempDir dir;
  const std::string file = dir.File("f");
  WriteFile(file, std::string(100, 'x'));
  const auto produce = [](const std::function<void(std::string_view)>& write) {
    write("abc");
    write("de");
  };
  const TFileStamp stamp = WriteFileInPlace(file, produce);
  EXPECT_EQ(ReadFile(file), "abcde");
  EXPECT_EQ(stamp, StampOf(file));
  ::chmod(file.c_str(), 0444);
  EXPECT_THROW(WriteFileInPlace(file, produce), EFileError);
  EXPECT_THROW(WriteFileInPlace(dir.File("none"), produce), EFileError);
  EXPECT_THROW(WriteFileInPlace(dir.Path().string(), produce), EFileError);
  EXPECT_EQ(ReadFile(file), "abcde");
}
