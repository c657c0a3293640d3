#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <memory>

// A private desktop for end-to-end tests: an Xvfb server on a free display,
// a private session bus and, on request, a tray (tests/e2e/tools/tray_host).
// Everything is stopped when the session is destroyed.
class DesktopSession {
 public:
  DesktopSession();
  ~DesktopSession();
  DesktopSession(const DesktopSession&) = delete;
  DesktopSession& operator=(const DesktopSession&) = delete;

  // True when the X server and the bus are up.
  bool Ready() const { return !display_.isEmpty() && !busAddress_.isEmpty(); }
  const QString& Display() const { return display_; }
  const QString& BusAddress() const { return busAddress_; }

  // The variables a program needs to appear on this desktop.
  void AddTo(QProcessEnvironment& env) const;

  // Starts the tray; returns once it owns its bus name.
  bool StartTray();
  // Waits for the next tray icon to be registered; returns its time stamp
  // (ms since the epoch) or -1 after `timeoutMs`.
  qint64 WaitForTrayIcon(int timeoutMs = 60000);
  // Waits for the tray icon to go away; false after `timeoutMs`.
  bool WaitForTrayIconGone(int timeoutMs = 60000);
  // Clicks the last tray icon: "context" (right button), "activate" (left).
  void ClickTrayIcon(const QString& how, int x = 10, int y = 10);

  // Runs xdotool on this display; true when it succeeded within `timeoutMs`.
  // Its standard output (trimmed) goes to `output` when given.
  bool XDoTool(const QStringList& args, QString* output = nullptr, int timeoutMs = 60000) const;
  // The first window whose title matches `titleRegex` (visible ones only
  // when `onlyVisible`), waiting for it up to `timeoutMs`; "" when none.
  QString WaitForWindow(const QString& titleRegex, bool onlyVisible = true,
                        int timeoutMs = 60000) const;
  // True when a visible window's title matches `titleRegex` right now.
  bool WindowShown(const QString& titleRegex) const;
  // Gives `window` the keyboard focus and types `keys` (xdotool key names).
  bool PressKeys(const QString& window, const QStringList& keys) const;

 private:
  // Reads lines from `process` until one starts with `prefix`; "" on timeout.
  static QString WaitForLine(QProcess& process, const QString& prefix, int timeoutMs);

  QProcess xserver_;
  QProcess bus_;
  QProcess tray_;
  QString display_;
  QString busAddress_;
};
