#include "TerminationSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <cstdlib>

namespace {

int pipeEnds[2] = {-1, -1};
volatile sig_atomic_t pending = 0;

extern "C" void OnSignal(int sig) {
  if (pending != 0) TTerminationSignals::EndBy(sig);  // not handled in time: the user insists
  pending = sig;
  const int saved = errno;
  const char byte = static_cast<char>(sig);
  [[maybe_unused]] const ssize_t n = ::write(pipeEnds[1], &byte, 1);
  errno = saved;
}

}  // namespace

TTerminationSignals& TTerminationSignals::Instance() {
  static TTerminationSignals* instance = new TTerminationSignals;  // lives to the end
  return *instance;
}

void TTerminationSignals::EndBy(int sig) {
  // Only calls that are safe inside a handler: EndBy also runs there.
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  ::sigemptyset(&action.sa_mask);
  ::sigaction(sig, &action, nullptr);
  sigset_t set;
  ::sigemptyset(&set);
  ::sigaddset(&set, sig);
  ::sigprocmask(SIG_UNBLOCK, &set, nullptr);
  ::raise(sig);
  ::_exit(128 + sig);  // for a signal whose default is not to end the program
}

TTerminationSignals::TTerminationSignals() {
  if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) return;
  notifier_ = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &TTerminationSignals::Read);
  struct sigaction action {};
  action.sa_handler = OnSignal;
  ::sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int sig : {SIGTERM, SIGHUP, SIGINT}) {
    // A signal ignored from the start (nohup) stays ignored.
    struct sigaction before {};
    if (::sigaction(sig, nullptr, &before) == 0 && before.sa_handler == SIG_IGN) continue;
    ::sigaction(sig, &action, nullptr);
  }
}

void TTerminationSignals::Read() {
  char byte = 0;
  while (::read(pipeEnds[0], &byte, 1) == 1)
    emit Received(static_cast<unsigned char>(byte));
}
