// Load and save of text data files of 1,000, 10,000 and 100,000 buttons, each
// reported as a ratio to a baseline that reads the same file into memory and
// splits it into lines.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "LaunchList.h"
#include "ShiftJis.h"

namespace {

constexpr int kButtonsPerPage = 50;

// Files live in memory when the machine offers it (/dev/shm): a save then measures the
// editor's own work, not the disk's flush, which costs the same few milliseconds for a
// file of any size and would hide how saving grows.
std::filesystem::path WorkDir() {
  static const std::filesystem::path dir = [] {
    const std::filesystem::path base = std::filesystem::is_directory("/dev/shm")
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    std::string pattern = (base / "pello-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    return std::filesystem::path(pattern);
  }();
  return dir;
}

// A text data file of n buttons with realistic field lengths, made once per n.
std::string DataFile(int n) {
  static std::map<int, std::string> made;
  auto found = made.find(n);
  if (found != made.end()) return found->second;
  TLaunchList list;
  list.DeletePage(0);
  const std::string title = *sjis::FromUtf8("表計算ソフト");
  for (int p = 0; p * kButtonsPerPage < n; ++p) {
    int count = std::min(kButtonsPerPage, n - p * kButtonsPerPage);
    list.AddPage(*sjis::FromUtf8("ページ") + std::to_string(p), count, 0);
    for (int b = 0; b < count; ++b) {
      TLaunchDataItem& item = list.Items(p, b);
      item.Kind = lkProgram;
      item.UseCount = p * 7 + b;
      item.Title = title + std::to_string(b);
      item.Link =
          "C:\\Program Files\\Vendor" + std::to_string(b) + "\\app" + std::to_string(p) + ".exe";
      item.WorkDir = "C:\\Program Files\\Vendor" + std::to_string(b) + "\\";
      item.Params = b % 3 ? "" : "/s \"x y\"";
      item.Comment = b % 5 ? "" : *sjis::FromUtf8("説明\\n二行目");
    }
  }
  std::string file = (WorkDir() / ("data" + std::to_string(n) + ".lst")).string();
  SaveToTextFile(list, file);
  made[n] = file;
  return file;
}

// The file's bytes in memory.
std::string ReadBytes(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::string bytes(std::filesystem::file_size(file), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

// Calls take(line) for every line of bytes.
template <typename Take>
void ForEachLine(std::string_view bytes, Take take) {
  while (!bytes.empty()) {
    std::size_t lf = bytes.find('\n');
    if (lf == std::string_view::npos) lf = bytes.size() - 1;
    take(bytes.substr(0, lf));
    bytes.remove_prefix(lf + 1);
  }
}

// The baseline: the file read into memory and split into a list of line strings.
void BM_Baseline(benchmark::State& state) {
  const std::string file = DataFile(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::string bytes = ReadBytes(file);
    std::vector<std::string> lines;
    ForEachLine(bytes, [&](std::string_view line) { lines.emplace_back(line); });
    benchmark::DoNotOptimize(lines.data());
  }
}

// A lower bound: the same split into views of the bytes, with no line of its own.
void BM_BaselineViews(benchmark::State& state) {
  const std::string file = DataFile(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::string bytes = ReadBytes(file);
    std::vector<std::string_view> lines;
    ForEachLine(bytes, [&](std::string_view line) { lines.push_back(line); });
    benchmark::DoNotOptimize(lines.data());
  }
}

void BM_Load(benchmark::State& state) {
  const std::string file = DataFile(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    TLaunchList list;
    list.SetFileName(file);
    list.LoadFromFile();
    if (!list.Loaded) state.SkipWithError("not loaded");
    benchmark::DoNotOptimize(list.Count());
  }
}

void BM_Save(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  TLaunchList list;
  list.SetFileName(DataFile(n));
  list.LoadFromFile();
  const std::string out = (WorkDir() / ("saved" + std::to_string(n) + ".lst")).string();
  for (auto _ : state)
    SaveToTextFile(list, out);
}

BENCHMARK(BM_Baseline)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselineViews)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Prints the usual table and remembers each run's time per iteration.
class TRatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
      times_[run.benchmark_name()] = run.GetAdjustedRealTime();
  }
  double Time(const std::string& name) const {
    auto it = times_.find(name);
    return it == times_.end() ? 0 : it->second;
  }

 private:
  std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  std::printf(
      "\nRatios to the baseline (file read, split into line strings) and, in\n"
      "brackets, to the lower bound (file read, split into views):\n");
  for (int n : {1000, 10000, 100000}) {
    const std::string arg = "/" + std::to_string(n);
    double base = reporter.Time("BM_Baseline" + arg);
    double views = reporter.Time("BM_BaselineViews" + arg);
    if (base <= 0 || views <= 0) continue;
    double load = reporter.Time("BM_Load" + arg), save = reporter.Time("BM_Save" + arg);
    std::printf("  %6d buttons: load %5.2fx (%5.2fx)   save %5.2fx (%5.2fx)\n", n, load / base,
                load / views, save / base, save / views);
  }
  for (const char* what : {"BM_Load", "BM_Save"}) {
    double t10k = reporter.Time(std::string(what) + "/10000");
    double t100k = reporter.Time(std::string(what) + "/100000");
    if (t10k > 0)
      std::printf("  %s growth from 10,000 to 100,000 buttons: %.2fx the time\n", what + 3,
                  t100k / t10k);
  }
  std::error_code ec;
  std::filesystem::remove_all(WorkDir(), ec);
  benchmark::Shutdown();
  return 0;
}
