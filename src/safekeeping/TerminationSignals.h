// SIGTERM, SIGHUP and SIGINT as a Qt signal. The handler only writes the signal's
// number into a pipe (the one thing a handler may safely do); the event loop reads it
// and emits Received, where any work may run. A second signal before the first was
// handled ends the program at once, as if there were no handler.
#pragma once

#include <QObject>

class QSocketNotifier;

class TTerminationSignals : public QObject {
  Q_OBJECT

 public:
  // The one instance; the handlers are installed when it is first asked for.
  static TTerminationSignals& Instance();

  // Ends the program by sig as the system would have without a handler: the parent
  // sees it killed by that signal.
  [[noreturn]] static void EndBy(int sig);

 signals:
  void Received(int sig);

 private:
  TTerminationSignals();
  void Read();
  QSocketNotifier* notifier_ = nullptr;
};
