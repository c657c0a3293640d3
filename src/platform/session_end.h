#pragma once

#include <QObject>
#include <memory>

class QSocketNotifier;

// The end of the desktop session, as the program sees it: SIGTERM and SIGHUP
// (logout, shutdown, `systemctl stop`, `kill`) and the session manager's
// request to quit. The session manager's commit-data request is answered
// "may end" at once, so the session is never held up.
//
// Signals are turned into an event-loop notification through a self-pipe:
// the handler only writes one byte, and SessionEnding() is emitted from the
// event loop where the program's exit can safely run. One watcher may exist
// at a time.
namespace platform {

class SessionEndWatcher : public QObject {
  Q_OBJECT
 public:
  // Installs the signal handlers at once; signals that arrive before Start()
  // wait in the pipe and are reported after it.
  explicit SessionEndWatcher(QObject* parent = nullptr);
  ~SessionEndWatcher() override;

  // Begins reporting. Until then nothing is emitted, so the receiver can be
  // connected after the handlers are in place.
  void Start();

 signals:
  void SessionEnding();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void DrainPipe();

  std::unique_ptr<QSocketNotifier> notifier_;
  bool started_ = false;
  bool quitPending_ = false;
};

}  // namespace platform
