// The page edit dialog on pages of 1,000 and 10,000 buttons: opening it (built, filled
// and shown, its first rows painted), and sorting the list by title and by use count.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "BenchData.h"
#include "ButtonListBox.h"
#include "EditPageLogic.h"
#include "PageEditDialog.h"
#include "RecordText.h"
#include "ShiftJis.h"

namespace {

std::vector<std::string> PageRow(int n) {
  TPageItem page;
  page.Caption = "p";
  page.Count = n;
  std::vector<std::string> row = {PageToText(page)};
  const std::string title = *sjis::FromUtf8("表計算ソフト");
  for (int b = 0; b < n; ++b) {
    TLaunchDataItem item;
    item.Kind = lkProgram;
    // Titles in no order, so that the sort has work to do.
    item.Title = title + std::to_string((b * 7919) % n);
    item.Link = "/usr/bin/app" + std::to_string(b % 20);
    item.UseCount = (b * 31) % 100;
    row.push_back(ItemToText(item));
  }
  return row;
}

void BM_OpenDialog(benchmark::State& state) {
  const std::vector<std::string> row = PageRow(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    TPageEditDialog dialog;
    dialog.Setup(0, 0, 1, 0, 0);
    dialog.LoadPage(row);
    dialog.show();
    QApplication::processEvents();
    benchmark::DoNotOptimize(dialog.ButtonList().Count());
  }
}
BENCHMARK(BM_OpenDialog)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_SortByTitle(benchmark::State& state) {
  std::vector<std::string> row = PageRow(static_cast<int>(state.range(0)));
  const TEntries entries(row.begin() + 1, row.end());
  for (auto _ : state)
    benchmark::DoNotOptimize(SortByTitle(entries, false));
}
BENCHMARK(BM_SortByTitle)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_SortByUseCount(benchmark::State& state) {
  std::vector<std::string> row = PageRow(static_cast<int>(state.range(0)));
  const TEntries entries(row.begin() + 1, row.end());
  for (auto _ : state)
    benchmark::DoNotOptimize(SortByUseCount(entries, false));
}
BENCHMARK(BM_SortByUseCount)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  bench::DrawOffscreen();
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
