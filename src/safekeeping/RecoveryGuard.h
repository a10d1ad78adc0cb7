// Keeps the recovery copy in step with the grid: while the grid differs from the file,
// the copy is written a few seconds after the last change (never more often than every
// ten seconds, and no later than thirty seconds after the first change it lacks), and at once when
// the program is about to end unasked: a termination signal (after which the program ends by it),
// the session manager's request to commit data, or exit() called from within (as the display
// connection does when the display is lost).
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

class TRecoveryGuard : public QObject {
  Q_OBJECT

 public:
  static constexpr int kQuietMs = 3000;      // after the last change
  static constexpr int kIntervalMs = 10000;  // at least between two writes
  static constexpr int kLongestMs = 30000;   // at most after the first change not kept

  // write makes the copy now (returns whether it could); discard removes it.
  TRecoveryGuard(std::function<bool()> write, std::function<void()> discard,
                 QObject* parent = nullptr);
  ~TRecoveryGuard() override;

  // The grid changed; dirty: whether it now differs from the file. A grid that is
  // back to the file's data needs no copy: it is discarded.
  void Changed(bool dirty);
  // The grid and the file agree (a save) or the edits are given up on purpose: no
  // copy is wanted any more.
  void Settle();
  // Writes the copy at once when it is behind the grid.
  void WriteNow();
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
  void Schedule();
  void Due();
  // Whether the grid may be half changed now.
  bool Blocked() const { return busy_ && (!halfChanged_ || halfChanged_()); }

  std::function<bool()> write_;
  std::function<void()> discard_;
  std::function<bool()> halfChanged_;
  QTimer timer_;
  QElapsedTimer sinceWrite_;
  QElapsedTimer sinceBehind_;
  bool behind_ = false;  // the grid has changes the copy does not have
  bool busy_ = false;
  int pendingSignal_ = 0;
};
