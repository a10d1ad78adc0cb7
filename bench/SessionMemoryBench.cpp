// The memory of an editing session on a realistic file of 100,000 and of 1,000,000 buttons,
// each in a process of its own: the window opened, then find as the user types, the replace
// preview and the replace, the recovery copy of the unsaved edit (waited for, as a user
// who goes on editing meets it), undo, redo, a save and the target check. Its peak during
// the session and what it holds once the dialogs are closed, against its memory just after
// the file was opened.
#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "BenchData.h"
#include "FindBar.h"
#include "MainWindow.h"
#include "ReplaceDialog.h"
#include "ScriptedDialogs.h"
#include "TargetCheckDialog.h"

namespace {

// A field of /proc/self/status in kB ("VmRSS", "VmHWM").
long StatusKb(const std::string& key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(key + ":", 0) == 0) return std::stol(line.substr(key.size() + 1));
  return -1;
}

// The peak so far starts again from what is held now.
void ResetPeak() {
  std::ofstream("/proc/self/clear_refs") << "5";
}

// Runs work once the modal dialog it waits for is open.
void WithDialog(const std::function<void(QWidget*)>& work) {
  QTimer::singleShot(0, [work] { work(QApplication::activeModalWidget()); });
}

// With PELLO_PROBE set, what each part of the session added to the peak and to what is held.
void Probe(const char* what) {
  if (!qEnvironmentVariableIsSet("PELLO_PROBE")) return;
  const long held = StatusKb("VmRSS");
  malloc_trim(0);
  const struct mallinfo2 heap = mallinfo2();
  std::printf("  probe %-14s peak %6.1f MB, held %6.1f MB (trimmed %6.1f MB, in use %6.1f MB)\n",
              what, static_cast<double>(StatusKb("VmHWM")) / 1024, static_cast<double>(held) / 1024,
              static_cast<double>(StatusKb("VmRSS")) / 1024,
              static_cast<double>(heap.uordblks + heap.hblkhd) / (1 << 20));
}

// Lets the window run until its recovery copy of the unsaved edits is in folder (its
// timer writes it some seconds after an edit); false after 30 s without one. stallMs:
// the longest the window's event loop did not turn meanwhile, a frame being 16 ms.
bool WaitForRecoveryCopy(const std::filesystem::path& folder, qint64& stallMs) {
  QElapsedTimer waited;
  waited.start();
  QElapsedTimer sinceTurn;
  sinceTurn.start();
  stallMs = 0;
  QTimer turn;  // fires at every turn of the loop
  QObject::connect(&turn, &QTimer::timeout,
                   [&] { stallMs = std::max(stallMs, sinceTurn.restart()); });
  turn.start(0);
  while (waited.elapsed() < 30000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
      if (entry.path().string().ends_with(".recovery.lst")) {
        // The window hears of it a moment later, and lets go of what the copy read.
        while (waited.restart() < 200)
          QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        return true;
      }
  }
  return false;
}

void Session(const std::string& file, const std::filesystem::path& stateFolder) {
  TScriptedDialogs dialogs;
  TDialogsScope scope(dialogs);
  TMainWindow form;
  if (!form.FormCreate({"pelledit", "/F", QString::fromStdString(file)})) std::abort();
  form.show();
  form.grab();
  QCoreApplication::processEvents();
  const long opened = StatusKb("VmRSS");
  ResetPeak();

  form.mnFindClick();
  for (const char* typed : {"a", "ap", "app", "ap"})
    form.FindTextChanged(QString::fromLatin1(typed));
  form.FindBar().hide();
  Probe("find");
  WithDialog([](QWidget* w) {
    auto* d = static_cast<TReplaceDialog*>(w);
    d->EdFrom->setText(QStringLiteral("/usr/"));
    d->EdTo->setText(QStringLiteral("/opt/"));
    d->UpdatePreview();
    d->BtnReplace->click();
  });
  dialogs.PushMessageAnswer(mrOk);  // how many buttons were replaced
  form.mnReplace->trigger();
  Probe("replace");
  qint64 stallMs = 0;
  if (!WaitForRecoveryCopy(stateFolder, stallMs)) std::printf("  (no recovery copy within 30 s)\n");
  std::printf(
      "  longest stall of the window while the recovery copy was kept: %lld ms "
      "(goal ≤ 16 ms)\n",
      static_cast<long long>(stallMs));
  Probe("recovery copy");
  form.UndoStack().undo();
  form.UndoStack().redo();
  Probe("undo, redo");
  dialogs.PushMessageAnswer(mrYes);
  form.mnSave->trigger();
  Probe("save");
  WithDialog([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
  form.mnCheckTargets->trigger();
  QCoreApplication::processEvents();
  Probe("target check");
  const long peak = StatusKb("VmHWM");
  const long after = StatusKb("VmRSS");
  if (qEnvironmentVariableIsSet("PELLO_PROBE")) {
    malloc_trim(0);
    std::printf("  probe: after trim %.1f MB; undo steps %d\n",
                static_cast<double>(StatusKb("VmRSS")) / 1024, form.UndoStack().count());
    // The edit's own new texts: what no allocator can give back while the grid holds them.
    std::size_t cells = 0;
    std::size_t bytes = 0;
    const TGridStore& grid = form.Store();
    for (int r = 0; r < grid.RowCount(); ++r)
      for (int c = 0; c < grid.UsedColumns(r); ++c)
        if (const TFieldText& text = grid.Cell(c, r); !text.empty() && !text.Borrowed()) {
          ++cells;
          bytes += text.size();
        }
    std::printf("  probe: %zu cells own their texts, %.1f MB of bytes\n", cells,
                static_cast<double>(bytes) / (1 << 20));
    form.UndoStack().clear();
    Probe("undo cleared");
  }
  std::printf(
      "  opened %.1f MB; session peak %.1f MB = %.2fx (goal ≤ 1.5x); "
      "dialogs closed %.1f MB = %+.0f%% (goal within 10%%)\n",
      static_cast<double>(opened) / 1024, static_cast<double>(peak) / 1024,
      static_cast<double>(peak) / static_cast<double>(opened), static_cast<double>(after) / 1024,
      100.0 * (static_cast<double>(after) / static_cast<double>(opened) - 1));
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  bench::DrawOffscreen();
  const bench::TScratchFolder scratch;
  const std::filesystem::path& dir = scratch.Path();
  qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString((dir / "config").string()));
  qputenv("XDG_STATE_HOME", QByteArray::fromStdString((dir / "state").string()));
  const std::string file = (dir / "data.lst").string();
  for (int n : {100000, 1000000}) {
    bench::WriteRealisticFile(file, n);
    std::printf("An editing session on %d buttons, against the memory after opening:\n", n);
    std::fflush(stdout);
    // A process of its own, so that nothing before the session counts.
    const pid_t child = ::fork();
    if (child == 0) {
      QApplication app(argc, argv);
      Session(file, dir / "state" / "pelledit");
      ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
  }
  return 0;
}
