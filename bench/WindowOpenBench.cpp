// Opening a realistic data file of 100,000 and of 1,000,000 buttons to a filled main window (the
// progress box acknowledged at once), as a ratio to LoadFromFile of the same file,
// and the peak memory of a process that does only that.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchData.h"
#include "LaunchList.h"
#include "MainWindow.h"
#include "ProgressBox.h"
#include "ScriptedDialogs.h"

namespace {

std::string MakeDataFile(const std::filesystem::path& dir, int n) {
  const std::string file = (dir / ("data" + std::to_string(n) + ".lst")).string();
  bench::WriteRealisticFile(file, n);
  return file;
}

void OpenWindow(const std::string& file, bool draw) {
  TScriptedDialogs dialogs;
  TDialogsScope scope(dialogs);
  TMainWindow form;
  if (!form.FormCreate({"pelledit", "/F", QString::fromStdString(file)})) std::abort();
  // Drawn once, so that what is shown (the visible cells and their icons) is counted;
  // not in a forked child, where the font machinery's threads are gone.
  if (draw && form.grab().isNull()) std::abort();
}

// Milliseconds from the start of an open of file (the window made, then FormCreate) until
// the progress box shows.
double MsUntilProgressBox(const std::string& file) {
  class TWatch : public QObject {
   public:
    QElapsedTimer clock;
    double shownMs = -1;
    bool eventFilter(QObject* object, QEvent* event) override {
      if (shownMs < 0 && event->type() == QEvent::Show &&
          dynamic_cast<TProgressBox*>(object) != nullptr)
        shownMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
      return false;
    }
  } watch;
  QCoreApplication::instance()->installEventFilter(&watch);
  watch.clock.start();
  OpenWindow(file, false);
  QCoreApplication::instance()->removeEventFilter(&watch);
  return watch.shownMs;
}

// Peak resident memory, in MB, of a child process that opens file and ends.
double PeakMegabytesOfOpening(const std::string& file) {
  const pid_t child = ::fork();
  if (child == 0) {
    OpenWindow(file, false);
    ::_exit(0);
  }
  int status = 0;
  rusage usage{};
  ::wait4(child, &status, 0, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

}  // namespace

int main(int argc, char** argv) {
  bench::DrawOffscreen();
  QApplication app(argc, argv);
  const bench::TScratchFolder scratch;
  const std::filesystem::path& dir = scratch.Path();
  // The window remembers every file it opens: the benchmark's files stay out of the user's list.
  qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString((dir / "config").string()));

  std::printf("Opening a data file to a filled window, against LoadFromFile of it:\n");
  double previous = 0;
  for (int n : {100000, 1000000}) {
    const int runs = n > 100000 ? 1 : 3;
    const std::string file = MakeDataFile(dir, n);
    const double load = bench::BestSeconds(runs + 2, [&] {
      TLaunchList list;
      list.SetFileName(file);
      list.LoadFromFile();
    });
    const double open = bench::BestSeconds(runs, [&] { OpenWindow(file, true); });
    const double peak = PeakMegabytesOfOpening(file);
    std::printf("  %7d buttons: load %7.1f ms, open %7.1f ms = %5.2fx the load, peak %6.1f MB\n", n,
                load * 1e3, open * 1e3, open / load, peak);
    std::printf("  %7d buttons: the progress box shows after %5.1f ms (goal ≤ 100 ms)\n", n,
                MsUntilProgressBox(file));
    if (previous > 0)
      std::printf("  growth from 100,000 to 1,000,000 buttons: %.2fx the time\n", open / previous);
    previous = open;
  }
  return 0;
}
