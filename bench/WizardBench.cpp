// The registration wizard's completion on 5,000 files: classifying them into a row and
// merging it into the grid as a new page, icons included, against classifying the same
// files alone; the merge and the icons should add little to the classification (at most
// half). And the drop of the same files from the file manager.
// The files are programs by name, executable scripts and plain-text documents, with a
// text editor registered in a desktop of the benchmark's own; icons are read afresh in
// every run, as for files never shown before.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <filesystem>

#include "BenchData.h"
#include "GridRows.h"
#include "IconStore.h"
#include "LinkClassify.h"
#include "RecordText.h"
#include "TestSupport.h"
#include "WizardDesktop.h"
#include "WizardMerge.h"
#include "WizardRow.h"

namespace {

constexpr int kFiles = 5000;
constexpr int kPages = 20;

struct TBenchFiles {
  testing_support::TTempDir dir;
  TPathList paths;

  TBenchFiles() {
    for (int i = 0; i < kFiles; ++i) {
      std::string path;
      switch (i % 3) {
        case 0:
          path = dir.File("tool" + std::to_string(i) + ".exe");
          testing_support::WriteFile(path, "");
          break;
        case 1:
          path = dir.File("run" + std::to_string(i));
          testing_support::WriteFile(path, "#!/bin/sh\n");
          std::filesystem::permissions(path, std::filesystem::perms::owner_all);
          break;
        default:
          path = dir.File("memo" + std::to_string(i) + ".txt");
          testing_support::WriteFile(path, "plain text\n");
      }
      paths.push_back(path);
    }
  }
};

const TBenchFiles& Files() {
  static const TBenchFiles files;
  return files;
}

void ForgetIcons() {
  IconStore().pathIcons.clear();
  IconStore().itemIcons.clear();
}

// A grid of kPages pages of ten buttons with their icons.
struct TBenchGrid {
  TGridStore grid;
  TIconGridList icons;
  std::string copy;
  TGridEdit edit{grid, icons, copy};

  TBenchGrid() {
    grid.SetRowCount(kPages + 1);
    grid.SetCell(0, 0, StatusToText(TDataStatus()));
    for (int r = 1; r <= kPages; ++r) {
      WritePageRow(grid, r,
                   {PageToText(TPageItem("p" + std::to_string(r), 0, 0)),
                    std::vector<std::string>(10, NewButtonText())});
      AddIconRow(icons, 10);
    }
  }
};

void BM_ClassifyFilesAlone(benchmark::State& state) {
  const TPathList& paths = Files().paths;
  for (auto _ : state) {
    for (const std::string& path : paths) {
      TLaunchDataItem item;
      benchmark::DoNotOptimize(ClassifyPath(path, item));
    }
  }
  state.SetItemsProcessed(state.iterations() * kFiles);
}
BENCHMARK(BM_ClassifyFilesAlone)->Unit(benchmark::kMillisecond);

void BM_ClassifyAndMergeAsNewPage(benchmark::State& state) {
  const TPathList& paths = Files().paths;
  for (auto _ : state) {
    state.PauseTiming();
    ForgetIcons();
    auto grid = std::make_unique<TBenchGrid>();
    state.ResumeTiming();
    const TWizardRow row = BuildWizardRow(paths, wmNewPage, "bench", 1, WizardRoom(0, 0));
    if (!MergeWizardRow(grid->edit, true, kPages / 2, row.Cells) ||
        CountOfText(grid->grid.Cell(0, kPages / 2 + 1)) != kFiles)
      state.SkipWithError("the files did not all become buttons");
    state.PauseTiming();
    grid.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kFiles);
}
BENCHMARK(BM_ClassifyAndMergeAsNewPage)->Unit(benchmark::kMillisecond);

// The merge's own share: the row into the grid, with the page's icons.
void BM_MergeRowAlone(benchmark::State& state) {
  const TWizardRow row = BuildWizardRow(Files().paths, wmNewPage, "bench", 1, WizardRoom(0, 0));
  for (auto _ : state) {
    state.PauseTiming();
    ForgetIcons();
    auto grid = std::make_unique<TBenchGrid>();
    state.ResumeTiming();
    MergeWizardRow(grid->edit, true, kPages / 2, row.Cells);
    state.PauseTiming();
    grid.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_MergeRowAlone)->Unit(benchmark::kMillisecond);

// The 5,000 files dropped one by one from their folder, as a file manager drops a
// selection: spelling the paths must not read the folder once per file.
void BM_CollectDroppedFiles(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(CollectDropped(Files().paths, tfAllFiles));
  state.SetItemsProcessed(state.iterations() * kFiles);
}
BENCHMARK(BM_CollectDroppedFiles)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  static testing_support::TTempDir desktop;
  wizard_test::SetUpDesktop(desktop.Path());
  bench::DrawOffscreen();
  QApplication app(argc, argv);  // icons need one
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
