#include "RecoveryGuard.h"

#include <QGuiApplication>
#include <algorithm>
#include <cstdlib>

#include "TerminationSignals.h"

namespace {

// The guard exit() must still reach; exit() runs the handlers registered with atexit.
TRecoveryGuard* exitGuard = nullptr;

extern "C" void WriteAtExit() {
  if (exitGuard != nullptr) exitGuard->WriteNow();
}

}  // namespace

TRecoveryGuard::TRecoveryGuard(std::function<bool()> write, std::function<void()> discard,
                               QObject* parent)
    : QObject(parent), write_(std::move(write)), discard_(std::move(discard)) {
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
  Schedule();
}

void TRecoveryGuard::Settle() {
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
  WriteNow();
}

void TRecoveryGuard::WriteNow() {
  if (!behind_ || Blocked()) return;
  timer_.stop();
  if (write_ && write_()) {
    behind_ = false;
    sinceWrite_.start();
  } else if (!timer_.isActive()) {
    timer_.start(kIntervalMs);  // try again later; the edits are still only here
  }
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
