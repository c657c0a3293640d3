#include "desktop_session.h"

#include <QDeadlineTimer>
#include <QThread>
#include <algorithm>
#include <csignal>

namespace {

void Stop(QProcess& process) {
  if (process.state() == QProcess::NotRunning) return;
  process.terminate();
  if (!process.waitForFinished(10000)) {
    process.kill();
    process.waitForFinished(10000);
  }
}

}  // namespace

QString DesktopSession::WaitForLine(QProcess& process, const QString& prefix, int timeoutMs) {
  QDeadlineTimer deadline(timeoutMs);
  for (;;) {
    while (process.canReadLine()) {
      const QString line = QString::fromUtf8(process.readLine()).trimmed();
      if (line.startsWith(prefix)) return line;
    }
    if (deadline.hasExpired() || process.state() == QProcess::NotRunning) return QString();
    process.waitForReadyRead(int(std::clamp<qint64>(deadline.remainingTime(), 1, 1000)));
  }
}

DesktopSession::DesktopSession() {
  // -displayfd picks a free display and reports it once the server accepts
  // connections, so nothing has to be guessed or waited for by the clock.
  xserver_.setProcessChannelMode(QProcess::SeparateChannels);
  xserver_.setStandardErrorFile(QProcess::nullDevice());
  xserver_.start("Xvfb", {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "1024x768x24"});
  const QString number = WaitForLine(xserver_, QString(), 60000);
  if (number.isEmpty()) return;
  display_ = ":" + number;

  bus_.setStandardErrorFile(QProcess::nullDevice());
  bus_.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
  busAddress_ = WaitForLine(bus_, "unix:", 60000);
}

DesktopSession::~DesktopSession() {
  Stop(tray_);
  Stop(bus_);
  Stop(xserver_);
}

void DesktopSession::AddTo(QProcessEnvironment& env) const {
  env.insert("DISPLAY", display_);
  env.insert("DBUS_SESSION_BUS_ADDRESS", busAddress_);
  env.insert("QT_QPA_PLATFORM", "xcb");
  env.remove("WAYLAND_DISPLAY");
  // The texts the tests look for are English, whatever the machine's language.
  env.insert("LANGUAGE", "en");
}

bool DesktopSession::StartTray() {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  AddTo(env);
  tray_.setProcessEnvironment(env);
  tray_.setStandardErrorFile(QProcess::nullDevice());
  tray_.start(QStringLiteral(QUORVEL_E2E_TRAY_HOST), {});
  return !WaitForLine(tray_, "ready", 60000).isEmpty();
}

qint64 DesktopSession::WaitForTrayIcon(int timeoutMs) {
  const QString line = WaitForLine(tray_, "registered ", timeoutMs);
  return line.isEmpty() ? -1 : line.section(' ', 2, 2).toLongLong();
}

bool DesktopSession::WaitForTrayIconGone(int timeoutMs) {
  return !WaitForLine(tray_, "unregistered ", timeoutMs).isEmpty();
}

void DesktopSession::ClickTrayIcon(const QString& how, int x, int y) {
  tray_.write(QStringLiteral("%1 %2 %3\n").arg(how).arg(x).arg(y).toUtf8());
  tray_.waitForBytesWritten(10000);
}

bool DesktopSession::XDoTool(const QStringList& args, QString* output, int timeoutMs) const {
  QProcess tool;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  AddTo(env);
  tool.setProcessEnvironment(env);
  tool.setStandardErrorFile(QProcess::nullDevice());
  tool.start("xdotool", args);
  if (!tool.waitForFinished(timeoutMs)) {
    tool.kill();
    tool.waitForFinished(10000);
    return false;
  }
  if (output) *output = QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
  return tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

QString DesktopSession::WaitForWindow(const QString& titleRegex, bool onlyVisible,
                                      int timeoutMs) const {
  QStringList args{"search", "--sync"};
  if (onlyVisible) args << "--onlyvisible";
  args << "--name" << titleRegex;
  QString found;
  if (!XDoTool(args, &found, timeoutMs)) return QString();
  return found.section('\n', 0, 0);
}

bool DesktopSession::WindowShown(const QString& titleRegex) const {
  return XDoTool({"search", "--onlyvisible", "--name", titleRegex});
}

bool DesktopSession::PressKeys(const QString& window, const QStringList& keys) const {
  return XDoTool({"windowfocus", "--sync", window}) &&
         XDoTool(QStringList{"key", "--delay", "50"} + keys);
}
