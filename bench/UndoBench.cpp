// Undo and redo of a step against doing the step, on 20,000 buttons in pages of 30, 1,000
// and 10,000: a replace that changes every button's target (every page touched, every
// cell changed), a button pasted over its neighbour, and a page deleted, each the mean of
// as many rounds as make it measurable. Each page a step
// touches should have its icons rebuilt once, however many of its cells changed.
#include <QApplication>
#include <chrono>
#include <cstdio>
#include <functional>

#include "BenchData.h"
#include "BenchGrid.h"
#include "ButtonCommands.h"
#include "FindReplace.h"
#include "GridUndo.h"
#include "PageCommands.h"
#include "ScriptedDialogs.h"

namespace {

constexpr int kButtons = 20000;

double Seconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

class TBenchHost : public TGridUndoHost {
 public:
  explicit TBenchHost(bench::TBenchGrid& g) : g_(g) {}
  TGridEdit UndoEdit() override { return g_.edit; }
  void ShowViewState(const TViewState&) override {}

 private:
  bench::TBenchGrid& g_;
};

// What a step does, made ready by what comes before it (a replace's plan, shown first).
using TStep = std::function<void()>;

// Does the step (journalled, as the window records it), then takes it back and makes it
// again, and takes it back once more (untimed) so that the next round starts from the
// same grid. Rounds go on until doing has taken 200 ms in all (a step of microseconds
// is timed over many rounds, never as 0.00 ms); prints the mean of each, undo and redo
// as ratios to doing.
void Measure(const char* name, int perPage, const std::function<TStep(TGridEdit&)>& prepare) {
  bench::TBenchGrid g(kButtons, perPage);
  g.edit.IconsWhenDrawn = true;  // as the window has it
  TBenchHost host(g);
  double doing = 0, undoing = 0, redoing = 0;
  int rounds = 0;
  while (doing < 0.2 && rounds < 100000) {
    const TStep step = prepare(g.edit);
    TGridJournal journal;
    g.grid.SetJournal(&journal);
    doing += Seconds(step);
    g.grid.SetJournal(nullptr);
    TGridStep recorded(host, QString::fromUtf8(name), std::move(journal), {}, {});
    undoing += Seconds([&] { recorded.undo(); });
    redoing += Seconds([&] { recorded.redo(); });
    recorded.undo();
    ++rounds;
  }
  std::printf(
      "  %-28s pages of %5d: do %9.3f ms, undo %5.2f×, redo %5.2f× (goal ≤ 2×; %d rounds)\n", name,
      perPage, doing * 1e3 / rounds, undoing / doing, redoing / doing, rounds);
}

}  // namespace

int main(int argc, char** argv) {
  bench::DrawOffscreen();
  QApplication app(argc, argv);  // icons need one
  TScriptedDialogs dialogs;
  TDialogsScope scope(dialogs);
  std::printf("Undo and redo of a step against doing it, %d buttons:\n", kButtons);
  for (int perPage : {30, 1000, 10000}) {
    // Every target holds a "/": every button of every page changes.
    Measure("replace in every target", perPage, [](TGridEdit& edit) -> TStep {
      return [&edit, plan = PlanReplacements(edit.Grid, "/", "//", 0)] {
        ApplyReplacements(edit, plan);
      };
    });
    Measure("paste over a button", perPage, [](TGridEdit& edit) -> TStep {
      edit.Col = 1;
      CopyCurrentButton(edit);
      return [&edit] {
        edit.Col = 2;
        PasteCopiedButton(edit);
      };
    });
    Measure("delete a page", perPage, [&dialogs](TGridEdit& edit) -> TStep {
      dialogs.Clear();
      dialogs.PushMessageAnswer(mrYes);
      return [&edit] { DeletePage(edit); };
    });
  }
  return 0;
}
