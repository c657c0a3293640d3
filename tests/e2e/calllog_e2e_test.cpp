// The call log of the real program: a damaged log is moved aside and the
// user told, calls are still shown and logged, and a program killed
// outright leaves a log that opens cleanly with the call in it.
#include <QDir>
#include <QFile>
#include <csignal>
#include <gtest/gtest.h>

#include "desktop_session.h"
#include "fake_modem.h"
#include "installed_program.h"
#include "read_back.h"
#include "e2e_waits.h"

namespace {

// The first column of the first row of `sql` on `file`; "" when there is none.
QString Query(const QString& file, const QString& sql) { return QueryRows(file, sql).value(0); }

class CallLogE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(desktop.Ready() && program.Ready());
    ASSERT_TRUE(modem.Started());
    program.UseLine(modem.LinkPath());
  }
  void Call(const QString& call) {
    ASSERT_FALSE(modem.WaitForOutput("got AT+VCID=1").isEmpty()) << "the line is not watched";
    modem.Command(call);
  }
  // Waits for `sql` on the log to give `expected`; returns what it gave last.
  QString WaitForQuery(const QString& sql, const QString& expected) {
    PollUntil([&] { return Query(program.CallLogFile(), sql) == expected; });
    return Query(program.CallLogFile(), sql);
  }

  DesktopSession desktop;
  InstalledProgram program;
  FakeModem modem{program.Path("modem")};
};

TEST_F(CallLogE2E, ADamagedLogIsReplacedAndAKilledProgramLeavesItsCallsLogged) {
  program.Store("Mode", "0");
  const QString log = program.CallLogFile();
  ASSERT_TRUE(QDir().mkpath(QFileInfo(log).absolutePath()));
  {
    QFile damaged(log);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(4096, '\x7f'));
  }

  ASSERT_TRUE(program.StartInTray(desktop));
  EXPECT_FALSE(desktop.WaitForWindow("^Quorvel$", true, kE2EWaitMs).isEmpty()) << "not told";
  const QStringList aside = QDir(QFileInfo(log).absolutePath())
                                .entryList({"calls.sqlite.damaged-*"}, QDir::Files);
  EXPECT_EQ(aside.size(), 1) << aside.join(' ').toStdString();

  Call("call 5551234567 KEPT CALLER");
  EXPECT_FALSE(desktop.WaitForWindow("^Calling\\.\\.\\.$", true, kE2EWaitMs).isEmpty());
  EXPECT_EQ(WaitForQuery("SELECT network_name FROM calls", "KEPT CALLER"), "KEPT CALLER");

  program.Signal(SIGKILL);
  EXPECT_EQ(program.WaitForExit(), -1);
  EXPECT_EQ(Query(log, "PRAGMA integrity_check"), "ok");
  EXPECT_EQ(Query(log, "SELECT number_displayed || '|' || network_name || '|' || mode FROM calls"),
            "555-123-4567|KEPT CALLER|active");
}

TEST_F(CallLogE2E, AForwardedCallIsLoggedWithHowItsScriptEnded) {
  program.Store("Mode", "1");
  program.Store("Type", "VBS", "DDESetup/Failing");
  program.Store("Commands", "echo 'no such printer' >&2\r\nexit 3\r\n", "DDESetup/Failing");
  program.Store("CurrentDDESetting", "0");
  ASSERT_TRUE(program.StartInTray(desktop));
  Call("call 5550100 SCRIPTED CALLER");
  const QString expected = "SCRIPTED CALLER|passive|script-exit|exit status 3: no such printer";
  EXPECT_EQ(WaitForQuery("SELECT network_name || '|' || mode || '|' || forwarding || '|' || "
                         "forwarding_detail FROM calls",
                         expected),
            expected);
  program.Signal(SIGTERM);
  EXPECT_EQ(program.WaitForExit(), 0);
}

}  // namespace
