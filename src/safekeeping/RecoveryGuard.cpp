#include "RecoveryGuard.h"

#include <QGuiApplication>
#include <algorithm>
#include <cstdlib>
#include <thread>

#include "TerminationSignals.h"

namespace {

// The guard exit() must still reach; exit() runs the handlers registered with atexit.
TRecoveryGuard* exitGuard = nullptr;

extern "C" void WriteAtExit() {
  if (exitGuard != nullptr) exitGuard->WriteNow();
}

}  // namespace

// A write on a thread of its own. What it writes is let go on the guard's thread, after
// the thread ended.
struct TRecoveryGuard::TBackground {
  std::uint64_t Job = 0;
  TCopyWrite Write;
  std::atomic<bool> Stop{false};
  QString Problem;
  bool ChangedMeanwhile = false;  // the grid changed after the write took it
  std::thread Thread;
};

TRecoveryGuard::TRecoveryGuard(std::function<TCopyWrite()> prepare, std::function<void()> discard,
                               std::function<void(const QString&)> tell, QObject* parent)
    : QObject(parent),
      prepare_(std::move(prepare)),
      discard_(std::move(discard)),
      tell_(std::move(tell)) {
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, &TRecoveryGuard::Due);
  connect(&TTerminationSignals::Instance(), &TTerminationSignals::Received, this,
          &TRecoveryGuard::Terminate);
  if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
    connect(app, &QGuiApplication::commitDataRequest, this, &TRecoveryGuard::WriteNow);
  static const bool registered = std::atexit(WriteAtExit) == 0;
  (void)registered;
  exitGuard = this;
}

TRecoveryGuard::~TRecoveryGuard() {
  if (exitGuard == this) exitGuard = nullptr;
  StopBackground();
}

int TRecoveryGuard::DelayBeforeWrite(qint64 msSinceLastWrite, qint64 msBehind) {
  qint64 delay = kQuietMs;
  if (msSinceLastWrite >= 0) delay = std::max<qint64>(delay, kIntervalMs - msSinceLastWrite);
  return static_cast<int>(std::clamp<qint64>(kLongestMs - msBehind, 0, delay));
}

void TRecoveryGuard::Changed(bool dirty) {
  if (!dirty) {
    Settle();
    return;
  }
  if (!behind_) sinceBehind_.start();
  behind_ = true;
  if (background_) {
    if (!background_->ChangedMeanwhile) sinceBehind_.start();  // the first change it lacks
    background_->ChangedMeanwhile = true;
    return;  // scheduled again when the write ends
  }
  Schedule();
}

void TRecoveryGuard::Settle() {
  // A write still going must not put a copy back after it was removed.
  StopBackground();
  behind_ = false;
  timer_.stop();
  if (discard_) discard_();
}

void TRecoveryGuard::Schedule() {
  timer_.start(
      DelayBeforeWrite(sinceWrite_.isValid() ? sinceWrite_.elapsed() : -1, sinceBehind_.elapsed()));
}

void TRecoveryGuard::Due() {
  if (Blocked()) {
    timer_.start(kQuietMs);
    return;
  }
  WriteInBackground();
}

void TRecoveryGuard::WriteNow() {
  if (!behind_ || Blocked() || !prepare_) return;
  StopBackground();
  timer_.stop();
  const std::atomic<bool> never{false};
  AfterWrite(prepare_()(never), false);
}

void TRecoveryGuard::WriteInBackground() {
  if (!behind_ || Blocked() || background_ || !prepare_) return;
  timer_.stop();
  auto job = std::make_unique<TBackground>();
  job->Job = ++jobs_;
  job->Write = prepare_();
  TBackground* running = job.get();
  running->Thread = std::thread([this, running] {
    running->Problem = running->Write(running->Stop);
    const std::uint64_t number = running->Job;
    QMetaObject::invokeMethod(
        this, [this, number] { Written(number); }, Qt::QueuedConnection);
  });
  background_ = std::move(job);
}

void TRecoveryGuard::Written(std::uint64_t job) {
  if (!background_ || background_->Job != job) return;  // given up meanwhile
  background_->Thread.join();
  const std::unique_ptr<TBackground> ended = std::move(background_);
  AfterWrite(ended->Problem, ended->ChangedMeanwhile);
}

void TRecoveryGuard::StopBackground() {
  if (!background_) return;
  background_->Stop = true;
  background_->Thread.join();
  background_.reset();
}

void TRecoveryGuard::AfterWrite(const QString& problem, bool changedMeanwhile) {
  if (!problem.isEmpty()) {
    if (tell_) tell_(problem);
    if (!timer_.isActive()) timer_.start(kIntervalMs);  // the edits are still only here
    return;
  }
  sinceWrite_.start();
  if (changedMeanwhile) {
    Schedule();
    return;
  }
  behind_ = false;
}

void TRecoveryGuard::SetBusy(bool busy) {
  busy_ = busy;
  if (!busy_ && pendingSignal_ != 0) Terminate(pendingSignal_);
}

void TRecoveryGuard::Terminate(int sig) {
  if (Blocked()) {
    pendingSignal_ = sig;
    return;
  }
  WriteNow();
  TTerminationSignals::EndBy(sig);
}
