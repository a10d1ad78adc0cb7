// The main window's commands on a grid of 1,000 and of 100,000 buttons (pages of 33):
// each should cost the same at both sizes, since a command touches one row and its
// icons. A save from the grid against writing the same launch list alone. And the look
// at the data file that guards every save against the launcher's writes, against the
// load of the same file.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <QApplication>
#include <filesystem>

#include "BenchData.h"
#include "BenchGrid.h"
#include "ButtonCommands.h"
#include "DataFileCommands.h"
#include "GridRows.h"
#include "GridTextSource.h"
#include "GridUndo.h"
#include "OutsideChanges.h"
#include "PageCommands.h"
#include "QuietFill.h"
#include "RecordText.h"
#include "ScriptedDialogs.h"
#include "ShiftJis.h"

namespace {

constexpr int kButtonsPerPage = 33;

using bench::TBenchGrid;

TBenchGrid& Grid(int n) {
  static TBenchGrid small(1000, kButtonsPerPage);
  static TBenchGrid large(100000, kButtonsPerPage);
  return n == 1000 ? small : large;
}

// Adds a button and deletes it again: two row rewrites and two icon rebuilds.
void BM_AddAndDeleteButton(benchmark::State& state) {
  TBenchGrid& g = Grid(static_cast<int>(state.range(0)));
  TScriptedDialogs dialogs;
  TDialogsScope scope(dialogs);
  for (auto _ : state) {
    dialogs.Clear();
    dialogs.PushNumber(1);
    AddButtons(g.edit);
    g.edit.Col = kButtonsPerPage + 1;
    dialogs.PushMessageAnswer(mrYes);
    DeleteButton(g.edit);
    g.edit.Col = 2;
  }
}
BENCHMARK(BM_AddAndDeleteButton)->Arg(1000)->Arg(100000);

// Inserts a page before the current one and deletes it again.
void BM_InsertAndDeletePage(benchmark::State& state) {
  TBenchGrid& g = Grid(static_cast<int>(state.range(0)));
  TScriptedDialogs dialogs;
  TDialogsScope scope(dialogs);
  for (auto _ : state) {
    dialogs.Clear();
    dialogs.PushText(QStringLiteral("new"));
    InsertPage(g.edit);
    dialogs.PushMessageAnswer(mrYes);
    DeletePage(g.edit);
  }
}
BENCHMARK(BM_InsertAndDeletePage)->Arg(1000)->Arg(100000);

// Moves the current page up and back down.
void BM_MovePageUpAndDown(benchmark::State& state) {
  TBenchGrid& g = Grid(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    MoveCurrentPage(g.edit, -1);
    g.edit.Row -= 1;
    MoveCurrentPage(g.edit, +1);
    g.edit.Row += 1;
  }
}
BENCHMARK(BM_MovePageUpAndDown)->Arg(1000)->Arg(100000);

// Copies a button and pastes it over its neighbour.
void BM_CopyAndPaste(benchmark::State& state) {
  TBenchGrid& g = Grid(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    g.edit.Col = 1;
    CopyCurrentButton(g.edit);
    g.edit.Col = 2;
    PasteCopiedButton(g.edit);
  }
}
BENCHMARK(BM_CopyAndPaste)->Arg(1000)->Arg(100000);

// The undo host of a grid without a window.
class TBenchHost : public TGridUndoHost {
 public:
  explicit TBenchHost(TBenchGrid& g) : g_(g) {}
  TGridEdit UndoEdit() override { return g_.edit; }
  void ShowViewState(const TViewState&) override {}

 private:
  TBenchGrid& g_;
};

// Undoing and redoing one step (a button added to the current page).
void BM_UndoRedoAddButton(benchmark::State& state) {
  TBenchGrid& g = Grid(static_cast<int>(state.range(0)));
  TScriptedDialogs dialogs;
  TDialogsScope scope(dialogs);
  TBenchHost host(g);
  TGridJournal journal;
  g.grid.SetJournal(&journal);
  dialogs.PushNumber(1);
  AddButtons(g.edit);
  g.grid.SetJournal(nullptr);
  TGridStep step(host, QStringLiteral("add"), std::move(journal), {}, {});
  for (auto _ : state) {
    step.undo();
    step.redo();
  }
  step.undo();
}
BENCHMARK(BM_UndoRedoAddButton)->Arg(1000)->Arg(100000);

// What 200 single-button steps keep for undo, in bytes of their texts.
void BM_UndoMemoryOf200Pastes(benchmark::State& state) {
  TBenchGrid& g = Grid(100000);
  std::size_t bytes = 0;
  for (auto _ : state) {
    TGridJournal journal;
    g.grid.SetJournal(&journal);
    for (int i = 0; i < 200; ++i) {
      g.edit.Row = 1 + i;
      g.edit.Col = 1;
      CopyCurrentButton(g.edit);
      g.edit.Col = 2;
      PasteCopiedButton(g.edit);
    }
    g.grid.SetJournal(nullptr);
    bytes = journal.Changes.capacity() * sizeof(TGridChange) +
            journal.Texts.capacity() * sizeof(TFieldText);
    for (const TFieldText& t : journal.Texts)
      bytes += t.Borrowed() ? 0 : t.size();
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_UndoMemoryOf200Pastes)->Iterations(1);

std::string SaveTarget() {
  const std::filesystem::path shm("/dev/shm");
  const auto dir = std::filesystem::exists(shm) ? shm : std::filesystem::temp_directory_path();
  return (dir / ("pello-bench-" + std::to_string(::getpid()) + ".lst")).string();
}

// The save as the window runs it (the cells of a snapshot, one button at a time),
// without the box.
void BM_SaveFromGrid(benchmark::State& state) {
  TBenchGrid& g = Grid(100000);
  const std::string file = SaveTarget();
  for (auto _ : state) {
    const TGridSnapshot grid = g.grid.Snapshot();
    TGridTextSource source(grid);
    SaveToTextFile(source, file);
  }
  std::filesystem::remove(file);
}
BENCHMARK(BM_SaveFromGrid)->Unit(benchmark::kMillisecond);

// The baseline: writing the same list, already built.
void BM_SaveListAlone(benchmark::State& state) {
  TBenchGrid& g = Grid(100000);
  TLaunchList list;
  GridToLaunchList(g.grid, list);
  const std::string file = SaveTarget();
  for (auto _ : state)
    SaveToTextFile(list, file);
  std::filesystem::remove(file);
}
BENCHMARK(BM_SaveListAlone)->Unit(benchmark::kMillisecond);

// A realistic data file of 100,000 buttons as opened, with its grid and baseline.
struct TOpenedFile {
  std::string file = SaveTarget() + ".opened";
  TLaunchList list;
  TGridStore grid;
  TFileBaseline baseline;
  TOpenedFile() {
    bench::WriteRealisticFile(file, 100000);
    list.SetFileName(file);
    list.LoadFromFile();
    FillQuietly(list, grid);
    baseline = {StampOf(file), FingerprintOf(list)};
  }
  ~TOpenedFile() { std::filesystem::remove(file); }
};

TOpenedFile& Opened() {
  static TOpenedFile opened;
  return opened;
}

// The baseline of the three below: the load of the file.
void BM_LoadOpenedFile(benchmark::State& state) {
  for (auto _ : state) {
    TLaunchList list;
    list.SetFileName(Opened().file);
    list.LoadFromFile();
  }
}
BENCHMARK(BM_LoadOpenedFile)->Unit(benchmark::kMillisecond);

// What an open and a save add: the fingerprint of the list.
void BM_FingerprintOfList(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(FingerprintOf(Opened().list));
}
BENCHMARK(BM_FingerprintOfList)->Unit(benchmark::kMillisecond);

// A save when nothing changed on disk: one stat.
void BM_LookAtUnchangedFile(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(
        CheckDataFile(Opened().baseline, QString::fromStdString(Opened().file)));
}
BENCHMARK(BM_LookAtUnchangedFile)->Unit(benchmark::kMillisecond);

// The launcher counted a use: the file read again, compared, and every count taken in.
void BM_TakeInLaunchersCounts(benchmark::State& state) {
  TOpenedFile& o = Opened();
  for (auto _ : state) {
    state.PauseTiming();
    o.list.Get(0).UseCount += 1;
    SaveToTextFile(o.list, o.file);
    state.ResumeTiming();
    const TDiskCheck check = CheckDataFile(o.baseline, QString::fromStdString(o.file));
    TDataFingerprint theirs = FingerprintOf(*check.List);
    MergeUseCounts(o.grid, o.baseline.Data, theirs);
    o.baseline = {check.Stamp, std::move(theirs)};
  }
}
BENCHMARK(BM_TakeInLaunchersCounts)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  bench::DrawOffscreen();
  QApplication app(argc, argv);  // icons need one
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
