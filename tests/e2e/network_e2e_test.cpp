// The real program on network lines: fakeserver as an NCID server or a
// FRITZ!Box, calls forwarded or shown and logged with how they ended, the
// tray's tooltip telling the connection's state, and the server restarting
// in mid-session.
#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <csignal>

#include "e2e_waits.h"
#include "program_fixture.h"
#include "read_back.h"
#include "simulator_process.h"

namespace {

// The calls of the program's call log, oldest first: "<line>|<number>|<ending>".
QStringList LoggedCalls(const QString& file) {
  return QueryRows(file, "SELECT line || '|' || number_displayed || '|' || ending FROM calls ORDER BY id");
}

class NetworkE2E : public ProgramE2E {
 protected:
  // Makes `line` the line of the program, in `mode`, and starts it in the tray.
  void StartOn(const QString& line, const QString& mode) {
    program_.UseLine(line);
    program_.Store("Mode", mode);
    ASSERT_TRUE(program_.StartInTray(desktop_));
  }

  // Runs dbus-send on the desktop's bus; its reply as text.
  QString BusCall(const QStringList& arguments) const {
    QProcess send;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    desktop_.AddTo(env);
    send.setProcessEnvironment(env);
    send.start("dbus-send", QStringList{"--session", "--print-reply"} + arguments);
    if (!send.waitForFinished(kE2EWaitMs)) return QString();
    return QString::fromUtf8(send.readAllStandardOutput());
  }

  // The first line of the tray icon's tooltip (the line and its state), as
  // the desktop's tray reads it.
  QString TrayToolTip() const {
    const QString items = BusCall({"--dest=org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher",
                                   "org.freedesktop.DBus.Properties.Get", "string:org.kde.StatusNotifierWatcher",
                                   "string:RegisteredStatusNotifierItems"});
    const QRegularExpressionMatch item = QRegularExpression(R"|(string "([^"]+)")|").match(items);
    if (!item.hasMatch()) return QString();
    const QString tip =
        BusCall({"--dest=" + item.captured(1), "/StatusNotifierItem", "org.freedesktop.DBus.Properties.Get",
                 "string:org.kde.StatusNotifierItem", "string:ToolTip"});
    const QRegularExpressionMatch text = QRegularExpression(R"|(string "(Quorvel[^"]*)")|").match(tip);
    return text.hasMatch() ? text.captured(1).section('\n', 0, 0) : QString();
  }

  bool WaitForToolTip(const QString& tip) {
    return PollUntil([&] { return TrayToolTip() == tip; });
  }
};

TEST_F(NetworkE2E, NcidCallsAreForwardedAndLoggedAcrossAServerRestart) {
  // Calls ring until answered or hung up.
  TFakeServerProcess server("ncid", {"--cadence", "0.5", "--rings", "0"});
  ASSERT_TRUE(server.Started());
  // Passive mode: each call's number and name go to a file through a script.
  program_.Store("Type", "VBS", "DDESetup/Logger");
  program_.Store("Commands",
                 "cd \"$(dirname \"$0\")\"\r\nprintf '%s|%s\\n' \"$QUORVEL_CID\" \"$QUORVEL_CIN\" >> calls.txt\r\n",
                 "DDESetup/Logger");
  program_.Store("CurrentDDESetting", "0");
  StartOn(server.Url(), "1");
  const QString tip = "Quorvel - " + server.Url() + ": ";
  ASSERT_TRUE(WaitForToolTip(tip + "connected")) << TrayToolTip().toStdString();
  ASSERT_FALSE(server.WaitForOutput("got HELLO: CMD: no_log").isEmpty());

  const QString calls = program_.AppDirectory() + "calls.txt";
  server.Command("call 2125550101 ALICE BROWN");
  EXPECT_TRUE(PollUntil([&] { return ReadText(calls) == "212-555-0101|ALICE BROWN\n"; }))
      << ReadText(calls).toStdString();
  server.Command("answer");

  server.Command("stop");
  EXPECT_TRUE(WaitForToolTip(tip + "Connection refused, retrying")) << TrayToolTip().toStdString();
  server.Command("start");
  ASSERT_TRUE(WaitForToolTip(tip + "connected")) << TrayToolTip().toStdString();
  server.Command("call-private");
  EXPECT_TRUE(PollUntil([&] { return ReadText(calls) == "212-555-0101|ALICE BROWN\nBLOCKED|PRIVATE\n"; }))
      << ReadText(calls).toStdString();
  server.Command("hangup");
  const QStringList logged{server.Url() + "|212-555-0101|answered", server.Url() + "|BLOCKED|missed"};
  EXPECT_TRUE(PollUntil([&] { return LoggedCalls(program_.CallLogFile()) == logged; }))
      << LoggedCalls(program_.CallLogFile()).join(", ").toStdString();
  EXPECT_FALSE(desktop_.WindowShown("^Error$")) << "no dialog about the server";
}

TEST_F(NetworkE2E, FritzBoxCallPopsUpTheWindowAndRingsOutMissed) {
  TFakeServerProcess server("fritzbox", {"--cadence", "0.5"});
  ASSERT_TRUE(server.Started());
  StartOn(server.Url(), "0");
  ASSERT_TRUE(WaitForToolTip("Quorvel - " + server.Url() + ": connected")) << TrayToolTip().toStdString();
  EXPECT_FALSE(desktop_.WindowShown("^Calling\\.\\.\\.$"));
  server.Command("call 5550001234");
  EXPECT_FALSE(desktop_.WaitForWindow("^Calling\\.\\.\\.$", /*onlyVisible=*/true, kE2EWaitMs).isEmpty());
  const QStringList logged{server.Url() + "|555-000-1234|missed"};
  EXPECT_TRUE(PollUntil([&] { return LoggedCalls(program_.CallLogFile()) == logged; }))
      << LoggedCalls(program_.CallLogFile()).join(", ").toStdString();
}

}  // namespace
