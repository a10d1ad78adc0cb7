// Load and save of realistic text data files of 10,000, 100,000 and 1,000,000
// buttons, each reported as a ratio to a baseline that reads the same file into
// memory and splits it into lines; then the heap a loaded list holds per button,
// the CPU time of `pellodata convert` against `cat` of the same file, and the peak
// memory of pellodata's file commands.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <malloc.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "BenchData.h"
#include "LaunchList.h"

namespace {

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

// A realistic text data file of n buttons, made once per n.
std::string DataFile(int n) {
  static std::map<int, std::string> made;
  auto found = made.find(n);
  if (found != made.end()) return found->second;
  std::string file = (WorkDir() / ("data" + std::to_string(n) + ".lst")).string();
  bench::WriteRealisticFile(file, n);
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

BENCHMARK(BM_Baseline)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselineViews)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

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

// Heap bytes in use by this process.
std::size_t HeapInUse() {
  const struct mallinfo2 info = ::mallinfo2();
  return info.uordblks + info.hblkhd;
}

// Heap a loaded list of file holds, per button, above the file's own size.
double HeapPerButtonAboveFile(const std::string& file, int n) {
  const std::size_t before = HeapInUse();
  TLaunchList list;
  list.SetFileName(file);
  list.LoadFromFile();
  const double held = static_cast<double>(HeapInUse() - before);
  return (held - static_cast<double>(std::filesystem::file_size(file))) / n;
}

// One run of program with args, its standard output sent to out: its resource usage,
// or nullopt when it could not start or exited with a status above highestOk. The child
// is spawned, not forked: a fork of this large process would hand the child a copy of
// its page tables to tear down at exec, a cost no user running the program from a shell
// pays.
std::optional<rusage> RunChild(const std::string& program, const std::vector<std::string>& args,
                               const std::string& out, int highestOk = 0) {
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& a : args)
    argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t child = 0;
  const int spawned =
      posix_spawnp(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return std::nullopt;
  int status = 0;
  rusage usage{};
  ::wait4(child, &status, 0, &usage);
  if (!WIFEXITED(status) || WEXITSTATUS(status) > highestOk) return std::nullopt;
  return usage;
}

// The least CPU time (user + system, seconds) of runs of program with args; 0 when a
// run failed (exited above highestOk). wall, when given, receives the least wall time.
double ChildCpuSeconds(const std::string& program, const std::vector<std::string>& args,
                       const std::string& out, int runs, int highestOk = 0,
                       double* wall = nullptr) {
  double best = 1e9;
  if (wall) *wall = 1e9;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    const std::optional<rusage> usage = RunChild(program, args, out, highestOk);
    if (wall)
      *wall = std::min(
          *wall, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    if (!usage) return 0;
    const double cpu = static_cast<double>(usage->ru_utime.tv_sec + usage->ru_stime.tv_sec) +
                       static_cast<double>(usage->ru_utime.tv_usec + usage->ru_stime.tv_usec) / 1e6;
    best = std::min(best, cpu);
  }
  return best;
}

// The peak resident memory (KiB) of program with args run by this small process, told
// on standard output (program's own goes to /dev/null); exits as program did. A child
// spawned by the benchmark itself would be charged the benchmark's own peak: it shares
// its memory until its exec.
constexpr std::string_view kPeakMemoryOf = "--peak-memory-of";
int TellPeakMemoryOf(char** argv) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t child = 0;
  const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return 127;
  int status = 0;
  rusage usage{};
  ::wait4(child, &status, 0, &usage);
  std::printf("%ld\n", usage.ru_maxrss);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 127;
}

// The peak resident memory (MiB) of one run of program with args (and of a helper it
// execs); 0 when it failed. check exits with 1 for its findings.
double ChildPeakMiB(const std::string& program, const std::vector<std::string>& args) {
  const std::string told = (WorkDir() / "peak.txt").string();
  std::vector<std::string> all{std::string(kPeakMemoryOf), program};
  all.insert(all.end(), args.begin(), args.end());
  if (!RunChild("/proc/self/exe", all, told, 1)) return 0;
  std::ifstream in(told);
  double kib = 0;
  return in >> kib ? kib / 1024 : 0;
}

// A copy of file with the use count of every period-th button from first on grown by
// 100: another side's edits, for a diff and a merge.
std::string EditedCopy(const std::string& file, const std::string& name, int first, int period) {
  std::string bytes = ReadBytes(file);
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 100);
  int button = 0;
  ForEachLine(bytes, [&](std::string_view line) {
    const bool isButton = !line.empty() && line[0] >= '0' && line[0] <= '9';
    const std::size_t comma = line.find(',');
    if (isButton && button++ % period == first && comma != std::string_view::npos) {
      out.append(line.substr(0, comma + 1));
      out += "100";
      out.append(line.substr(comma + 1));
    } else {
      out.append(line);
    }
    out += "\n";  // the line keeps its CR
  });
  const std::string path = (WorkDir() / name).string();
  std::ofstream(path, std::ios::binary).write(out.data(), static_cast<std::streamsize>(out.size()));
  return path;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 2 && argv[1] == kPeakMemoryOf) return TellPeakMemoryOf(argv + 2);
  benchmark::Initialize(&argc, argv);
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  std::printf(
      "\nRatios to the baseline (file read, split into line strings) and, in\n"
      "brackets, to the lower bound (file read, split into views):\n");
  for (int n : {10000, 100000, 1000000}) {
    const std::string arg = "/" + std::to_string(n);
    double base = reporter.Time("BM_Baseline" + arg);
    double views = reporter.Time("BM_BaselineViews" + arg);
    if (base <= 0 || views <= 0) continue;
    double load = reporter.Time("BM_Load" + arg), save = reporter.Time("BM_Save" + arg);
    std::printf("  %7d buttons: load %5.2fx (%5.2fx)   save %5.2fx (%5.2fx)\n", n, load / base,
                load / views, save / base, save / views);
  }
  for (const char* what : {"BM_Load", "BM_Save", "BM_BaselineViews"}) {
    double t100k = reporter.Time(std::string(what) + "/100000");
    double t1m = reporter.Time(std::string(what) + "/1000000");
    if (t100k > 0)
      std::printf("  %s growth from 100,000 to 1,000,000 buttons: %.2fx the time\n", what + 3,
                  t1m / t100k);
  }

  std::printf("\nHeap of a loaded list per button, above the file's own size:\n");
  for (int n : {100000, 1000000}) {
    const std::string file = DataFile(n);
    std::printf("  %7d buttons (file %5.1f bytes a button): %6.1f bytes\n", n,
                static_cast<double>(std::filesystem::file_size(file)) / n,
                HeapPerButtonAboveFile(file, n));
  }

  // The tool beside this program, against cat and against dd's plain copy in 1 MiB blocks
  // (the floor of reading a file and writing it out): each its own small process, as a
  // user starts it.
  const std::filesystem::path tool =
      std::filesystem::read_symlink("/proc/self/exe").parent_path() / "pellodata";
  if (std::filesystem::exists(tool)) {
    std::printf(
        "\nCPU time of `pellodata convert IN OUT` against `cat IN > OUT` and\n"
        "`dd if=IN of=OUT bs=1M` (best of 5):\n");
    for (int n : {100000, 1000000}) {
      const std::string file = DataFile(n), out = (WorkDir() / "converted.lst").string();
      const double convert = ChildCpuSeconds(tool.string(), {"convert", file, out}, "/dev/null", 5);
      const double cat = ChildCpuSeconds("cat", {file}, out, 5);
      const double dd = ChildCpuSeconds("dd", {"if=" + file, "of=" + out, "bs=1M", "status=none"},
                                        "/dev/null", 5);
      if (convert > 0 && cat > 0 && dd > 0)
        std::printf(
            "  %7d buttons: convert %7.1f ms, cat %6.1f ms = %5.2fx, dd %6.1f ms = %5.2fx\n", n,
            convert * 1e3, cat * 1e3, convert / cat, dd * 1e3, convert / dd);
    }
  }
  if (std::filesystem::exists(tool)) {
    // The file commands stream: their memory stays flat as the file grows.
    std::printf("\nPeak resident memory of the file commands, with the file's size:\n");
    for (int n : {100000, 1000000}) {
      const std::string file = DataFile(n);
      std::printf(
          "  %7d buttons (%5.1f MiB): convert IN - %6.1f MiB, dump %6.1f MiB, "
          "check --targets %6.1f MiB\n",
          n, static_cast<double>(std::filesystem::file_size(file)) / (1 << 20),
          ChildPeakMiB(tool.string(), {"convert", file, "-"}),
          ChildPeakMiB(tool.string(), {"dump", file}),
          ChildPeakMiB(tool.string(), {"check", "--targets", file}));
    }
  }
  if (std::filesystem::exists(tool)) {
    // A diff and a merge read two and three files whole: against a check of one, which
    // streams. The other sides changed every 1,000th button's use count.
    std::printf(
        "\nCPU (wall) time of `pellodata diff A B` and `pellodata merge BASE OURS THEIRS -o OUT`\n"
        "against `pellodata check A` (best of 3; goal \u2264 3x):\n");
    for (int n : {100000, 1000000}) {
      const std::string base = DataFile(n), out = (WorkDir() / "merged.lst").string();
      const std::string ours = EditedCopy(base, "ours.lst", 0, 1000);
      const std::string theirs = EditedCopy(base, "theirs.lst", 500, 1000);
      double checkWall = 0, diffWall = 0, mergeWall = 0;
      const double check =
          ChildCpuSeconds(tool.string(), {"check", base}, "/dev/null", 3, 1, &checkWall);
      const double diff =
          ChildCpuSeconds(tool.string(), {"diff", base, ours}, "/dev/null", 3, 1, &diffWall);
      const double merge = ChildCpuSeconds(tool.string(), {"merge", base, ours, theirs, "-o", out},
                                           "/dev/null", 3, 1, &mergeWall);
      if (check > 0 && diff > 0 && merge > 0)
        std::printf(
            "  %7d buttons: check %6.1f ms (%6.1f), diff %6.1f ms (%6.1f) = %5.2fx (%5.2fx), "
            "merge %6.1f ms (%6.1f) = %5.2fx (%5.2fx)\n",
            n, check * 1e3, checkWall * 1e3, diff * 1e3, diffWall * 1e3, diff / check,
            diffWall / checkWall, merge * 1e3, mergeWall * 1e3, merge / check,
            mergeWall / checkWall);
    }
  }
  if (std::filesystem::exists(tool)) {
    // Starting at all: the file commands load no desktop library.
    const double version = ChildCpuSeconds(tool.string(), {"--version"}, "/dev/null", 20);
    const double cat = ChildCpuSeconds("cat", {"--version"}, "/dev/null", 20);
    if (version > 0 && cat > 0)
      std::printf(
          "\nCPU time of `pellodata --version` %.2f ms, `cat --version` %.2f ms (goal "
          "\u2264 2 ms)\n",
          version * 1e3, cat * 1e3);
  }
  std::error_code ec;
  std::filesystem::remove_all(WorkDir(), ec);
  benchmark::Shutdown();
  return 0;
}
