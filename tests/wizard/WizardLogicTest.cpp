// The wizard's logic without a window: what drops and folders add through each type
// filter, paths that cannot be registered, and the row the completion builds.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "RecordText.h"
#include "WizardFiles.h"
#include "WizardFixtures.h"
#include "WizardRow.h"

using testing_support::Sjis;
using wizard_test::TToolsFolder;
using TPaths = std::vector<std::string>;

TEST(WizardFiles, AFolderGivesItsEntriesOneLevelDeepThroughTheTypeFilter) {
  TToolsFolder f;
  const TCollected all = CollectDropped({f.tools + "/"}, tfAllFiles);
  EXPECT_EQ(all.Paths, f.Paths({"A.LNK", "b.pif", "c.exe", "e.ex", "notes.txt", "prog.exe", "sub",
                                "tool.COM", "x.url"}));
  EXPECT_EQ(all.PageNameHints, std::vector<QString>{QStringLiteral("tools")});

  EXPECT_EQ(CollectDropped({f.tools}, tfPrograms).Paths, f.Paths({"c.exe", "prog.exe", "tool.COM"}))
      << "whole extensions: e.ex is no *.EXE, and a folder has none";
  EXPECT_EQ(CollectDropped({f.tools}, tfShortcuts).Paths, f.Paths({"A.LNK", "b.pif"}));
  EXPECT_EQ(CollectFolder(f.tools, tfInternetShortcuts).Paths, f.Paths({"x.url"}));

  // Files are taken as they are, in drop order, twice when dropped twice; no proposal.
  const TCollected files =
      CollectDropped(f.Paths({"x.url", "c.exe", "A.LNK", "x.url"}), tfInternetShortcuts);
  EXPECT_EQ(files.Paths, f.Paths({"x.url", "x.url"}));
  EXPECT_TRUE(files.PageNameHints.empty());
}

TEST(WizardFiles, PathsWithLineBreaksAreRefusedAndNamed) {
  TToolsFolder f;
  const std::string broken = f.Path("two\nlines.exe"), carriage = f.Path("cr\r.exe");
  testing_support::WriteFile(broken, "");
  const TCollected dropped = CollectDropped({broken, f.Path("c.exe"), carriage}, tfAllFiles);
  EXPECT_EQ(dropped.Paths, f.Paths({"c.exe"}));
  EXPECT_EQ(dropped.Refused, (TPaths{broken, carriage}));
  EXPECT_EQ(CollectFolder(f.tools, tfPrograms).Refused, TPaths{broken});
  EXPECT_EQ(RefusedPathsMessage({broken}),
            QStringLiteral("\"") + QString::fromStdString(broken) +
                QStringLiteral("\" は登録できません。（パスに改行があります）"));
}

TEST(WizardFiles, PathsThatCannotBeRegisteredAreListedButNeverRegistered) {
  TToolsFolder f;
  const std::string fifo = f.Path("pipe"), dangling = f.Path("gone.txt");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::filesystem::create_symlink(f.Path("nowhere.txt"), dangling);
  const std::string foreign = f.dir.File("한국어");  // Shift-JIS has no hangul
  std::filesystem::create_directories(foreign);
  testing_support::WriteFile(foreign + "/ok.exe", "");
  const std::string locked = f.dir.File("locked");
  std::filesystem::create_directories(locked);
  testing_support::WriteFile(locked + "/hidden.exe", "");
  ::chmod(locked.c_str(), 0);

  const TCollected c = CollectDropped({fifo, dangling, foreign, locked, f.Path("missing.exe")}, 0);
  const std::vector<QString> hints =
      ::geteuid() == 0 ? std::vector<QString>{QStringLiteral("locked")} : std::vector<QString>{};
  EXPECT_EQ(c.PageNameHints, hints) << "a name Shift-JIS cannot hold is no page name";
  TPaths expected = {fifo, dangling, foreign + "/ok.exe"};
  if (::geteuid() == 0) expected.push_back(locked + "/hidden.exe");  // root reads it anyway
  expected.push_back(f.Path("missing.exe"));
  EXPECT_EQ(c.Paths, expected) << "an unreadable folder adds nothing";

  TPaths checked = c.Paths;
  RemoveUnregistrable(checked);
  TPaths kept = {f.Path("missing.exe")};  // a program by its name alone
  if (::geteuid() == 0) kept.insert(kept.begin(), locked + "/hidden.exe");
  EXPECT_EQ(checked, kept) << "pipe, dangling link and a hangul path go";
  ::chmod(locked.c_str(), 0700);
}

TEST(WizardRow, ANewPageIsPaddedToMinButtonsInListOrder) {
  TToolsFolder f;
  const TPaths files = f.Paths({"sub", "data.zzz", "x.url", "prog.exe"});
  const TWizardRow row = BuildWizardRow(files, wmNewPage, Sjis("道具"), 10, WizardRoom(0, 0));
  ASSERT_EQ(row.Cells.size(), 11u);
  EXPECT_EQ(*TextToPage(row.Cells[0]), TPageItem(Sjis("道具"), 10, 0));
  EXPECT_EQ(KindOfText(row.Cells[1]), lkFolder);
  EXPECT_EQ(KindOfText(row.Cells[2]), lkInternetShortcut);
  EXPECT_EQ(KindOfText(row.Cells[3]), lkProgram);
  for (std::size_t i = 4; i < 11; ++i)
    EXPECT_EQ(row.Cells[i], ItemToText(*NewLaunchItem()));
  EXPECT_EQ(row.Registered, 3);
  EXPECT_EQ(row.LeftOut, 0);

  TPaths twelve;
  for (int i = 0; i < 12; ++i)
    twelve.push_back(f.Path("p" + std::to_string(i) + ".exe"));
  const TWizardRow many = BuildWizardRow(twelve, wmFolderPage, "", 10, WizardRoom(0, 0));
  ASSERT_EQ(many.Cells.size(), 13u);
  EXPECT_EQ(*TextToPage(many.Cells[0]), TPageItem("", 12, 0)) << "an emptied name box";
  EXPECT_EQ(TitleOfText(many.Cells[12]), "p11.exe");
}

TEST(WizardRow, TheRoomCutsTheFilesAndAnExistingPageGetsNoPadding) {
  TToolsFolder f;
  const TPaths files = f.Paths({"c.exe", "nothing.zzz", "prog.exe", "sub", "x.url", "tool.COM"});
  const TWizardRow all = BuildWizardRow(files, wmAddToPage, "ignored", 10, WizardRoom(4, 0));
  ASSERT_EQ(all.Cells.size(), 6u);
  EXPECT_EQ(*TextToPage(all.Cells[0]), TPageItem("new", 5, 0));

  EXPECT_EQ(WizardRoom(4, 6), 2);
  EXPECT_EQ(WizardRoom(9999, 0), 1) << "the grid's columns";
  EXPECT_EQ(WizardRoom(7, 6), 0);
  const TWizardRow cut = BuildWizardRow(files, wmAddToPage, "", 1, WizardRoom(4, 6));
  ASSERT_EQ(cut.Cells.size(), 3u);
  EXPECT_EQ(TitleOfText(cut.Cells[2]), "prog.exe");
  EXPECT_EQ(cut.Registered, 5);
  EXPECT_EQ(cut.LeftOut, 3);
  const TWizardRow full = BuildWizardRow(files, wmAddToPage, "", 1, 0);
  EXPECT_TRUE(full.Cells.empty());
  EXPECT_EQ(full.LeftOut, 5);
  const TWizardRow newPage = BuildWizardRow(files, wmNewPage, "", 4, WizardRoom(0, 2));
  EXPECT_EQ(newPage.Cells.size(), 5u) << "two files, then padding to MinButtons";

  EXPECT_EQ(all.Refused, f.Paths({"nothing.zzz"})) << "named at completion";

  // Each file left out is named with why, in one message.
  const std::string wave = f.Path("〜wave.sh"), accent = f.Path("é-run.sh");
  for (const std::string& script : {wave, accent})
    testing_support::WriteFile(script, "#!/bin/sh\n");
  const TWizardRow odd =
      BuildWizardRow({wave, accent, f.Path("c.exe"), f.Path("gone.zzz")}, wmNewPage, "", 1, 10);
  EXPECT_EQ(odd.Registered, 1);
  EXPECT_EQ(odd.Refused, (TPaths{wave, accent, f.Path("gone.zzz")}));
  const QStringList lines = RefusedPathsMessage(odd.Refused).split(QLatin1Char('\r'));
  ASSERT_EQ(lines.size(), 3);
  EXPECT_TRUE(lines[0].endsWith(QStringLiteral("（パスに Shift-JIS で表せない文字があります）")));
  EXPECT_TRUE(lines[2].endsWith(QStringLiteral("（ファイルがありません）")))
      << lines[2].toStdString();
  testing_support::WriteFile(f.Path("data.zzz"), std::string("\x00\x01\x02\xff\xfe", 5));
  EXPECT_TRUE(
      RefusedPathsMessage(f.Paths({"data.zzz"}))
          .endsWith(QStringLiteral("（種類が分からず、開くアプリケーションもありません）")));

  const TWizardRow none =
      BuildWizardRow(f.Paths({"nothing.zzz", "gone.exe.zzz"}), wmNewPage, "", 10, WizardRoom(0, 0));
  EXPECT_TRUE(none.Cells.empty()) << "no page of default buttons alone";
  EXPECT_EQ(none.Registered, 0);
}
