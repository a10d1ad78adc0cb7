// Keeps the recovery copy in step with the grid: while the grid differs from the file,
// the copy is written a few seconds after the last change (never more often than every
// ten seconds, and no later than thirty seconds after the first change it lacks), and at once when
// the program is about to end unasked: a termination signal (after which the program ends by it),
// the session manager's request to commit data, or exit() called from within (as the display
// connection does when the display is lost). When due, the copy is written on a thread
// of its own from what the grid held at that moment, so that the window never waits
// for it; at the end of the program it is written at once.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

class TRecoveryGuard : public QObject {
  Q_OBJECT

 public:
  static constexpr int kQuietMs = 3000;      // after the last change
  static constexpr int kIntervalMs = 10000;  // at least between two writes
  static constexpr int kLongestMs = 30000;   // at most after the first change not kept

  // A write of the copy, holding what it writes: it returns why it could not write
  // (empty when it wrote), and gives up, leaving the copy as it was, once stop is set.
  // It may run on another thread.
  using TCopyWrite = std::function<QString(const std::atomic<bool>& stop)>;

  // prepare takes what the grid holds now, on the grid's thread; discard removes the
  // copy; tell hears why a copy could not be written.
  TRecoveryGuard(std::function<TCopyWrite()> prepare, std::function<void()> discard,
                 std::function<void(const QString&)> tell = {}, QObject* parent = nullptr);
  ~TRecoveryGuard() override;

  // The grid changed; dirty: whether it now differs from the file. A grid that is
  // back to the file's data needs no copy: it is discarded.
  void Changed(bool dirty);
  // The grid and the file agree (a save) or the edits are given up on purpose: no
  // copy is wanted any more.
  void Settle();
  // Writes the copy at once when it is behind the grid, and waits for it.
  void WriteNow();
  // Starts writing the copy on another thread when it is behind the grid (what the
  // timer does); the guard hears when it ended.
  void WriteInBackground();
  // Whether a copy is being written on another thread.
  bool Writing() const { return background_ != nullptr; }
  // While busy the grid may be half changed: nothing is written, and a termination
  // signal waits until the work is done. A command that waits for an answer before it
  // changed anything leaves the grid whole: halfChanged, when set, tells whether the
  // busy work has changed the grid yet, and the copy is written until it has.
  void SetBusy(bool busy);
  void SetHalfChanged(std::function<bool()> halfChanged) { halfChanged_ = std::move(halfChanged); }
  bool Behind() const { return behind_; }

  // The milliseconds to wait before the next write, msSinceLastWrite after the last
  // one (negative when there was none) and msBehind after the first change the copy
  // does not have: a user who never pauses still gets a copy.
  static int DelayBeforeWrite(qint64 msSinceLastWrite, qint64 msBehind);

  // What a termination signal does: writes the copy when it is behind, then ends the
  // program by sig.
  void Terminate(int sig);

 private:
  struct TBackground;
  void Schedule();
  void Due();
  // Background write number job ended.
  void Written(std::uint64_t job);
  // Gives a background write up and waits for it to end; the copy stays as it was.
  void StopBackground();
  // What a write that ended says: wrote, and whether the grid changed meanwhile.
  void AfterWrite(const QString& problem, bool changedMeanwhile);
  // Whether the grid may be half changed now.
  bool Blocked() const { return busy_ && (!halfChanged_ || halfChanged_()); }

  std::function<TCopyWrite()> prepare_;
  std::function<void()> discard_;
  std::function<void(const QString&)> tell_;
  std::function<bool()> halfChanged_;
  std::unique_ptr<TBackground> background_;
  std::uint64_t jobs_ = 0;
  QTimer timer_;
  QElapsedTimer sinceWrite_;
  QElapsedTimer sinceBehind_;
  bool behind_ = false;  // the grid has changes the copy does not have
  bool busy_ = false;
  int pendingSignal_ = 0;
};
