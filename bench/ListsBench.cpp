// The two result lists of the main window on realistic data files of 100,000 and of
// 1,000,000 buttons, shown offscreen and drawn once:
//   - the target check, from a new dialog to its drawn list, against `pellodata check
//     --targets` of the same file run as a child process (its load, check and output),
//     and against the same check in this process (TargetsCommand over the loaded list);
//   - the grid's own check (CheckGridTargets), against the same in-process check;
//   - closing that dialog (hidden and destroyed), in milliseconds;
//   - the replace preview, from the click to its drawn list, against PlanReplacements
//     alone on the same grid.
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QLineEdit>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "BenchData.h"
#include "FindReplace.h"
#include "GridRules.h"
#include "GridTargets.h"
#include "LaunchErrors.h"
#include "LaunchList.h"
#include "LoadedGrid.h"
#include "QuietFill.h"
#include "RecordText.h"
#include "ReplaceDialog.h"
#include "ShellCommands.h"
#include "ShiftJis.h"
#include "TargetCheckDialog.h"

namespace {

// pellodata beside this program.
std::string PellodataPath() {
  return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "pellodata").string();
}

// One run of `pellodata check --targets file`, its output thrown away.
void RunPellodata(const std::string& tool, const std::string& file) {
  std::fflush(stdout);
  const pid_t child = ::fork();
  if (child == 0) {
    std::freopen("/dev/null", "w", stdout);
    ::execl(tool.c_str(), tool.c_str(), "check", "--targets", file.c_str(),
            static_cast<char*>(nullptr));
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) > 1) std::abort();
}

struct TTimes {
  double open = 0;   // to the drawn list
  double close = 0;  // hidden and destroyed
};

TTimes CheckTargetsDialog(const TGridStore& grid) {
  TTimes times;
  auto start = std::chrono::steady_clock::now();
  auto dialog = std::make_unique<TTargetCheckDialog>();
  dialog->Fill(grid);
  dialog->show();
  if (dialog->grab().isNull()) std::abort();
  auto end = std::chrono::steady_clock::now();
  times.open = std::chrono::duration<double>(end - start).count();
  start = end;
  dialog->reject();
  dialog.reset();
  end = std::chrono::steady_clock::now();
  times.close = std::chrono::duration<double>(end - start).count();
  return times;
}

}  // namespace

int main(int argc, char** argv) {
  bench::DrawOffscreen();
  QApplication app(argc, argv);
  const bench::TScratchFolder scratch;
  const std::filesystem::path& dir = scratch.Path();
  const std::string tool = PellodataPath();
  // A text found in most buttons' paths (working folders, documents, folders).
  const QString from = QStringLiteral("/home/taro");
  const QString to = QStringLiteral("/home/hanako");

  std::vector<int> sizes{100000, 1000000};
  if (argc > 1) sizes = {std::atoi(argv[1])};  // one size alone
  for (int n : sizes) {
    const int runs = n > 100000 ? 1 : 5;
    const bench::TLoadedGrid loaded(dir, n);
    const std::string& file = loaded.file;
    const TLaunchList& list = loaded.list;
    const TGridStore& grid = loaded.grid;
    std::printf("%d buttons (best of %d):\n", n, runs);

    const double child = bench::BestSeconds(runs, [&] { RunPellodata(tool, file); });
    std::size_t lines = 0;
    const double inProcess = bench::BestSeconds(runs, [&] {
      std::ostringstream out;
      TargetsCommand(list, out);
      lines = static_cast<std::size_t>(std::count(out.view().begin(), out.view().end(), '\n'));
    });
    const double gridCheck = bench::BestSeconds(runs, [&] {
      if (CheckGridTargets(grid).size() != lines - 2) std::abort();  // less the two headings
    });
    TTimes dialog{1e9, 1e9};
    for (int i = 0; i < runs; ++i) {
      const TTimes t = CheckTargetsDialog(grid);
      dialog.open = std::min(dialog.open, t.open);
      dialog.close = std::min(dialog.close, t.close);
    }
    std::printf("  pellodata check --targets (child) %7.1f ms, in process %7.1f ms, %zu lines\n",
                child * 1e3, inProcess * 1e3, lines);
    std::printf("  target check to a drawn list %7.1f ms\n", dialog.open * 1e3);
    std::printf("target check vs pellodata check --targets (child process): %.2fx (goal <= 1.3x)\n",
                dialog.open / child);
    std::printf("target check vs the same check in process: %.2fx\n", dialog.open / inProcess);
    std::printf("the grid's check (CheckGridTargets) vs the same check in process: %.2fx\n",
                gridCheck / inProcess);
    std::printf("closing the target check: %.1f ms (goal <= 10 ms)\n", dialog.close * 1e3);

    std::size_t planned = 0;
    const std::string fromBytes = *sjis::FromUtf8(from.toStdString());
    const std::string toBytes = *sjis::FromUtf8(to.toStdString());
    const double plan = bench::BestSeconds(
        runs + 2, [&] { planned = PlanReplacements(grid, fromBytes, toBytes, 0).size(); });
    TReplaceDialog replace(grid, 1);
    replace.show();
    if (replace.grab().isNull()) std::abort();
    replace.EdFrom->setText(from);
    replace.EdTo->setText(to);
    const double preview = bench::BestSeconds(runs, [&] {
      if (!replace.UpdatePreview() || replace.grab().isNull()) std::abort();
    });
    replace.reject();
    std::printf("  %zu replacements: planned in %7.1f ms, preview drawn in %7.1f ms\n", planned,
                plan * 1e3, preview * 1e3);
    std::printf("replace preview vs PlanReplacements: %.2fx (goal <= 1.5x)\n", preview / plan);
    std::fflush(stdout);
    std::filesystem::remove(file);
  }
  return 0;
}
