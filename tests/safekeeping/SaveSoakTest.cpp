// A soak of saves with the launcher counting uses beside them: the launcher child
// rewrites the data file every 20 to 100 ms (by a rename and in place, by turns) while
// the editor's model edits the grid, takes the counts in as the window's watcher does,
// and saves, 100 times on a file of 20,000 buttons (less under the sanitizers). In the
// end the file must hold every edit, and for every button its first count plus all the
// launcher added: an edit of a button's title or parameters does not give up its count.
// PELLO_SOAK_SECONDS=600 runs for that long instead (outside ctest's timeout: run the
// test program itself).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <random>
#include <sstream>
#include <thread>

#include "DataFileSave.h"
#include "QuietFill.h"
#include "RecordText.h"
#include "ScriptedDialogs.h"
#include "TestSupport.h"

using testing_support::TTempDir;

namespace {

#ifdef __SANITIZE_ADDRESS__
// Under the sanitizers every step is many times slower: a tenth of the file, fewer saves.
constexpr int kPages = 20;
constexpr int kPerPage = 100;
constexpr int kSaves = 40;
#else
constexpr int kPages = 100;
constexpr int kPerPage = 200;
constexpr int kSaves = 100;
#endif
constexpr int kButtons = kPages * kPerPage;
constexpr int kStride = 100;  // the buttons both the user and the launcher pick most
constexpr std::size_t kMostTold = 30;
const char* const kChangeNames[] = {"unchanged", "use counts only", "changed", "unreadable",
                                    "gone"};

struct TWanted {
  std::vector<std::string> captions;
  std::vector<std::string> titles;
  std::vector<std::string> params;
  std::vector<int> counts;  // as first written
  std::vector<bool> edited;
};

TLaunchList MakeList(std::mt19937& random, TWanted& want) {
  TLaunchList list;
  list.DeletePage(0);
  for (int p = 0; p < kPages; ++p) {
    want.captions.push_back("page" + std::to_string(p));
    list.AddPage(want.captions.back(), kPerPage, 0);
  }
  for (int i = 0; i < kButtons; ++i) {
    TLaunchDataItem& item = list.Get(i);
    item.Kind = lkProgram;
    item.Title = "b" + std::to_string(i);
    item.Link = "/usr/bin/b" + std::to_string(i);
    item.UseCount = static_cast<int>(random() % 30);
    want.titles.emplace_back(item.Title);
    want.params.emplace_back();
    want.counts.push_back(item.UseCount);
  }
  want.edited.assign(kButtons, false);
  return list;
}

// What the launcher child added to each button, from its report.
std::vector<long> AddedByLauncher(const QByteArray& report, std::string& summary) {
  std::vector<long> added(kButtons, 0);
  std::istringstream lines(report.toStdString());
  std::string line;
  while (std::getline(lines, line)) {
    int i = -1;
    long n = 0;
    if (std::sscanf(line.c_str(), "%d %ld", &i, &n) == 2 && i >= 0 && i < kButtons)
      added[static_cast<std::size_t>(i)] = n;
    else if (line.starts_with("rounds"))
      summary = line;
  }
  return added;
}

}  // namespace

TEST(SaveSoak, EveryEditAndEveryLauncherCountSurvivesSavesWhileTheLauncherWrites) {
  const unsigned seed = std::random_device()();
  std::mt19937 random(seed);
  TTempDir dir;
  // Whatever a save keeps in the state folder stays in the test's own.
  const testing_support::TEnvironmentScope stateHome("XDG_STATE_HOME", dir.File("state"));
  const std::string file = dir.File("data.lst");
  const QString fileName = QString::fromStdString(file);
  TWanted want;
  const TLaunchList list = MakeList(random, want);
  SaveToTextFile(list, file);

  TScriptedDialogs dialogs;  // no answer queued: any question the save asks throws
  TDialogsScope scope(dialogs);
  TGridStore grid;
  FillQuietly(list, grid);
  TFileBaseline baseline{StampOf(file), FingerprintOf(list)};
  TSaveSession session(grid, fileName, baseline);

  QProcess launcher;
  launcher.setProgram(QCoreApplication::applicationDirPath() + "/pello_launcher_child");
  launcher.setArguments({fileName, QString::number(kStride), QString::number(seed)});
  launcher.start();
  ASSERT_TRUE(launcher.waitForReadyRead(10000)) << "the launcher child did not start";

  std::vector<std::string> trouble;  // questions, notices and failed saves, as they came
  const auto save = [&](const std::string& when) {
    try {
      if (SaveDataFile(session) != TSaveResult::Saved) trouble.push_back(when + ": not saved");
      for (const TAskedQuestion& q : dialogs.Questions())
        if (q.Kind != TQuestionKind::ProgressOk)
          trouble.push_back(when + " asked: " + q.Text.toStdString());
    } catch (const EUnscriptedQuestion& asked) {
      trouble.push_back(when + ": " + asked.what());
    }
    dialogs.Clear();
  };

  const int seconds = qEnvironmentVariableIntValue("PELLO_SOAK_SECONDS");
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  int saves = 0, looks = 0, unreadableLooks = 0;
  for (; seconds > 0 ? std::chrono::steady_clock::now() < end : saves < kSaves; ++saves) {
    const std::string tag = "-" + std::to_string(saves);
    for (int k = 1 + static_cast<int>(random() % 3); k > 0; --k) {
      if (random() % 5 == 0) {  // a page renamed, as the page dialog does it
        const int p = static_cast<int>(random() % kPages);
        auto page = TextToPage(grid.Cell(0, p + 1));
        page->Caption = want.captions[static_cast<std::size_t>(p)] = "page" + tag;
        grid.SetCell(0, p + 1, PageToText(*page));
        continue;
      }
      // A button the launcher counts too, its title or its parameters changed.
      const int i = kStride * static_cast<int>(random() % (kButtons / kStride));
      const auto at = static_cast<std::size_t>(i);
      auto item = TextToItem(grid.Cell(i % kPerPage + 1, i / kPerPage + 1));
      if (random() % 2 == 0)
        item->Title = want.titles[at] = "b" + std::to_string(i) + tag;
      else
        item->Params = want.params[at] = "--run" + tag;
      want.edited[at] = true;
      grid.SetCell(i % kPerPage + 1, i / kPerPage + 1, ItemToText(*item));
    }
    if (random() % 3 == 0) {  // the watcher's look at the file
      ++looks;
      const TDiskCheck check = CheckDataFile(baseline, fileName);
      if (check.Change == TDiskChange::Unreadable)
        ++unreadableLooks;  // the window looks again a little later
      else if (!TakeInUnasked(session, check))
        trouble.push_back(
            "the watcher before save " + std::to_string(saves) +
            " shows the notice of a change: " + kChangeNames[static_cast<int>(check.Change)]);
    }
    save("save " + std::to_string(saves));
    std::this_thread::sleep_for(std::chrono::milliseconds(random() % 60));
  }

  launcher.terminate();
  ASSERT_TRUE(launcher.waitForFinished(30000)) << "the launcher child did not stop";
  ASSERT_TRUE(launcher.exitStatus() == QProcess::NormalExit && launcher.exitCode() == 0)
      << launcher.readAllStandardError().toStdString();
  std::string launcherSummary;
  const std::vector<long> added =
      AddedByLauncher(launcher.readAllStandardOutput(), launcherSummary);
  save("the last save");
  std::cout << "seed " << seed << ", " << saves + 1 << " saves, " << looks << " watcher looks ("
            << unreadableLooks << " at a file it could not read)\n"
            << "launcher: " << launcherSummary << "\n";
  for (std::size_t t = 0; t < trouble.size() && t < kMostTold; ++t)
    ADD_FAILURE() << trouble[t];
  EXPECT_TRUE(trouble.empty()) << trouble.size() << " questions, notices or failed saves";

  TLaunchList saved;
  saved.SetFileName(file);
  saved.LoadFromFile();
  ASSERT_EQ(saved.Pages.Count(), kPages);
  ASSERT_EQ(saved.Count(), kButtons);
  for (int p = 0; p < kPages; ++p)
    EXPECT_EQ(saved.Pages.Get(p).Caption, want.captions[static_cast<std::size_t>(p)])
        << "page " << p;
  std::size_t told = 0;
  long lost = 0, extra = 0, launcherTotal = 0;
  int wrong = 0, wrongEdited = 0, edits = 0;
  for (int i = 0; i < kButtons; ++i) {
    const auto at = static_cast<std::size_t>(i);
    const TLaunchDataItem& item = saved.Get(i);
    const std::string which = "button " + std::to_string(i) + " (page " +
                              std::to_string(i / kPerPage) + ", #" + std::to_string(i % kPerPage) +
                              (want.edited[at] ? ", edited by the user)" : ")");
    EXPECT_EQ(item.Title, want.titles[at]) << which;
    EXPECT_EQ(item.Params, want.params[at]) << which;
    edits += want.edited[at] ? 1 : 0;
    launcherTotal += added[at];
    const long count = want.counts[at] + added[at];
    if (item.UseCount == count) continue;
    ++wrong;
    wrongEdited += want.edited[at] ? 1 : 0;
    (item.UseCount < count ? lost : extra) += std::abs(count - item.UseCount);
    if (++told <= kMostTold)
      ADD_FAILURE() << which << ": use count " << item.UseCount << ", not " << count << " (first "
                    << want.counts[at] << " + launcher " << added[at]
                    << "): " << std::abs(count - item.UseCount)
                    << (item.UseCount < count ? " lost" : " too many");
  }
  EXPECT_EQ(wrong, 0) << wrong << " buttons with a wrong use count (" << wrongEdited << " of the "
                      << edits << " the user edited): " << lost << " of the launcher's "
                      << launcherTotal << " counts lost, " << extra << " too many";
}
