#pragma once

#include <QObject>
#include <QPointer>

class TQuorvelForm;
namespace platform {
class SessionEndWatcher;
}

// Ends the program when the desktop session ends (SIGTERM, SIGHUP, the
// session manager's quit), whatever is on screen: every wait under way ends
// with it, a dialog's included, and an open question counts as refused.
//
// Once the main window is ready, its Exit runs, which stores the settings.
// Before that the start is cut short where it stands and nothing is stored:
// the user has changed nothing yet, and a window still being made would
// store a line it never watched.
class TSessionEndLink : public QObject {
 public:
  // Starts the watcher: from now on a session end is acted upon.
  explicit TSessionEndLink(platform::SessionEndWatcher& watcher);

  // From now on a session end runs the window's Exit (while the window lives).
  void SetReadyForm(TQuorvelForm& form);
  // True once the session has ended; the entry then starts no event loop.
  bool Ended() const { return ended_; }

 private:
  void End();

  QPointer<TQuorvelForm> form_;
  bool ended_ = false;
};
