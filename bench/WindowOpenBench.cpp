// Opening a realistic data file of 100,000 and of 1,000,000 buttons as the editor does it:
// the window made, the file read and the grid filled, the progress box's Ok pressed at
// once, the window shown and its grid painted. Each open is a fresh process of its own,
// timed inside it and its peak memory read from it, as a user who starts the editor on
// the file meets them; against LoadFromFile of the same file, also a fresh process each.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QIcon>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "BenchData.h"
#include "EditorStart.h"
#include "GridView.h"
#include "LaunchList.h"
#include "MainWindow.h"
#include "ProgressBox.h"
#include "QtTranslations.h"

namespace {

// The modes in which this program is its own child: one open or one load of FILE, after
// which it prints "MS BOX_MS PEAK_KB" and ends.
constexpr std::string_view kOpenMode = "--open-window";
constexpr std::string_view kLoadMode = "--load-list";

// The peak resident memory of this process so far, in kB.
long OwnPeakKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

int TellAndEnd(double ms, double boxMs) {
  std::printf("%.3f %.3f %ld\n", ms, boxMs, OwnPeakKb());
  std::fflush(stdout);
  // What the process holds goes with it: tearing a large window down is no part of the open.
  ::_exit(0);
}

int LoadOnce(const char* file) {
  const auto start = std::chrono::steady_clock::now();
  TLaunchList list;
  list.SetFileName(file);
  list.LoadFromFile();
  const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
  if (!list.Loaded) return 1;
  return TellAndEnd(took.count(), -1);
}

// Watches the open: notes when the progress box first shows, presses its Ok as soon as it
// offers it, and quits once the window's grid has painted.
class TOpenWatch : public QObject {
 public:
  explicit TOpenWatch(QElapsedTimer& clock) : clock_(clock) {}
  double boxMs = -1;
  double paintedMs = -1;
  QWidget* grid = nullptr;

  bool eventFilter(QObject* object, QEvent* event) override {
    if (event->type() == QEvent::Show) {
      if (boxMs < 0 && dynamic_cast<TProgressBox*>(object) != nullptr) boxMs = Ms();
      auto* button = dynamic_cast<QPushButton*>(object);
      if (button != nullptr && button->text() == QLatin1String("Ok") &&
          dynamic_cast<TProgressBox*>(button->window()) != nullptr)
        QTimer::singleShot(0, button, [button] { button->click(); });
    } else if (event->type() == QEvent::Paint && grid != nullptr && object == grid &&
               paintedMs < 0) {
      // Timed once this paint is done and drawn out.
      paintedMs = 0;
      QTimer::singleShot(0, this, [this] {
        paintedMs = Ms();
        QCoreApplication::quit();
      });
    }
    return false;
  }

 private:
  double Ms() const { return static_cast<double>(clock_.nsecsElapsed()) / 1e6; }
  QElapsedTimer& clock_;
};

// One open of file the way pelledit's main does it (its tooltip timing aside).
int OpenOnce(char* program, const char* file) {
  int argc = 1;
  char* argv[] = {program, nullptr};
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("pelledit"));
  // The icon pelledit embeds, read from the tree it is built from.
  const std::filesystem::path icon = std::filesystem::path(__FILE__).parent_path().parent_path() /
                                     "dist" / "io.github.pello.dataeditor.svg";
  QApplication::setWindowIcon(QIcon(QString::fromStdString(icon.string())));
  QGuiApplication::setDesktopFileName(QStringLiteral("io.github.pello.dataeditor"));
  InstallQtJapanese();
  // A question nobody answers would hold the benchmark forever.
  QTimer::singleShot(300000, [] { ::_exit(3); });

  QElapsedTimer clock;
  TOpenWatch watch(clock);
  app.installEventFilter(&watch);
  clock.start();
  int status = 0;
  const std::unique_ptr<TMainWindow> form = OpenEditorWindow(
      {QStringLiteral("pelledit"), QStringLiteral("/F"), QString::fromLocal8Bit(file)}, status);
  if (!form) return 1;
  watch.grid = form->Grid().viewport();
  form->show();
  QApplication::exec();
  if (watch.paintedMs <= 0) return 1;
  return TellAndEnd(watch.paintedMs, watch.boxMs);
}

struct TChildFigures {
  double ms = 0;      // the open or the load, inside the child
  double boxMs = -1;  // until the progress box showed
  double peakMiB = 0;
};

// Runs this program as a child in mode on file and reads what it tells; nullopt when it
// failed, after showing what it wrote to errors. Spawned, not forked, so that the child
// starts as small as a user's program does. The child tells its own peak: wait4's would
// carry this process's, whose memory a spawned child shares until its exec.
std::optional<TChildFigures> RunChild(std::string_view mode, const std::string& file,
                                      const std::string& errors) {
  int pipe[2];
  if (::pipe2(pipe, O_CLOEXEC) != 0) return std::nullopt;
  const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
  const std::string modeText(mode);
  char* argv[] = {const_cast<char*>(self.c_str()), const_cast<char*>(modeText.c_str()),
                  const_cast<char*>(file.c_str()), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe[1], STDOUT_FILENO);
  // Qt's notes on what the offscreen platform lacks would bury the figures.
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errors.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t child = 0;
  const int spawned = posix_spawn(&child, self.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipe[1]);
  std::string told;
  char buffer[256];
  for (ssize_t got; spawned == 0 && (got = ::read(pipe[0], buffer, sizeof buffer)) > 0;)
    told.append(buffer, static_cast<std::size_t>(got));
  ::close(pipe[0]);
  if (spawned != 0) return std::nullopt;
  int status = 0;
  ::waitpid(child, &status, 0);
  TChildFigures figures;
  long peakKb = 0;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
      std::sscanf(told.c_str(), "%lf %lf %ld", &figures.ms, &figures.boxMs, &peakKb) != 3) {
    std::ifstream written(errors);
    std::fprintf(stderr, "%s %s failed:\n%s", modeText.c_str(), file.c_str(),
                 std::string(std::istreambuf_iterator<char>(written), {}).c_str());
    return std::nullopt;
  }
  figures.peakMiB = static_cast<double>(peakKb) / 1024.0;
  return figures;
}

// The best time, the highest peak and the slowest progress box of runs children in mode on file.
std::optional<TChildFigures> BestOfChildren(std::string_view mode, const std::string& file,
                                            int runs) {
  const std::string errors = file + ".errors";
  TChildFigures best{1e18, -1, 0};
  for (int i = 0; i < runs; ++i) {
    const std::optional<TChildFigures> one = RunChild(mode, file, errors);
    if (!one) return std::nullopt;
    best.ms = std::min(best.ms, one->ms);
    best.boxMs = std::max(best.boxMs, one->boxMs);
    best.peakMiB = std::max(best.peakMiB, one->peakMiB);
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  bench::DrawOffscreen();
  if (argc == 3 && argv[1] == kLoadMode) return LoadOnce(argv[2]);
  if (argc == 3 && argv[1] == kOpenMode) return OpenOnce(argv[0], argv[2]);

  const bench::TScratchFolder scratch;
  const std::filesystem::path& dir = scratch.Path();
  // The window remembers every file it opens and keeps its state: the benchmark's files
  // stay out of the user's lists, and each child starts from the same empty settings.
  setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
  setenv("XDG_STATE_HOME", (dir / "state").c_str(), 1);

  std::printf(
      "Opening a data file to a painted main window against LoadFromFile of it, each a\n"
      "fresh process of its own (best time, highest peak):\n");
  std::optional<TChildFigures> previousOpen;
  std::optional<TChildFigures> previousLoad;
  for (int n : {100000, 1000000}) {
    const int runs = n > 100000 ? 3 : 5;
    const std::string file = (dir / ("data" + std::to_string(n) + ".lst")).string();
    bench::WriteRealisticFile(file, n);
    const std::optional<TChildFigures> load = BestOfChildren(kLoadMode, file, runs + 2);
    const std::optional<TChildFigures> open = BestOfChildren(kOpenMode, file, runs);
    if (!load || !open) {
      std::printf("  %7d buttons: a child failed\n", n);
      return 1;
    }
    std::printf("  %7d buttons: open %7.1f ms = %5.2fx the load (%6.1f ms)\n", n, open->ms,
                open->ms / load->ms, load->ms);
    std::printf("  %7d buttons: open's peak %6.1f MiB = %5.2fx the load's (%6.1f MiB)\n", n,
                open->peakMiB, open->peakMiB / load->peakMiB, load->peakMiB);
    std::printf("  %7d buttons: the progress box shows after %5.1f ms (goal ≤ 100 ms)\n", n,
                open->boxMs);
    if (previousOpen)
      std::printf("  growth from 100,000 to 1,000,000 buttons: open %.2fx, load %.2fx the time\n",
                  open->ms / previousOpen->ms, load->ms / previousLoad->ms);
    std::fflush(stdout);
    previousOpen = open;
    previousLoad = load;
    std::filesystem::remove(file);
  }
  return 0;
}
