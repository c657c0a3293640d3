// The call log of the real program: a damaged log is moved aside and the
// user told, calls are still shown and logged, and a program killed
// outright leaves a log that opens cleanly with the call in it.
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include "e2e_waits.h"
#include "program_fixture.h"
#include "read_back.h"

namespace {

// The first column of the first row of `sql` on `file`; "" when there is none.
QString Query(const QString& file, const QString& sql) { return QueryRows(file, sql).value(0); }

class CallLogE2E : public ModemLineE2E {
 protected:
  // Waits for `sql` on the log to give `expected`; returns what it gave last.
  QString WaitForQuery(const QString& sql, const QString& expected) {
    PollUntil([&] { return Query(program_.CallLogFile(), sql) == expected; });
    return Query(program_.CallLogFile(), sql);
  }
};

TEST_F(CallLogE2E, ADamagedLogIsReplacedAndAKilledProgramLeavesItsCallsLogged) {
  program_.Store("Mode", "0");
  const QString log = program_.CallLogFile();
  ASSERT_TRUE(QDir().mkpath(QFileInfo(log).absolutePath()));
  {
    QFile damaged(log);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(4096, '\x7f'));
  }

  ASSERT_TRUE(program_.StartInTray(desktop_));
  EXPECT_FALSE(desktop_.WaitForWindow("^Quorvel$", true, kE2EWaitMs).isEmpty()) << "not told";
  const QStringList aside = QDir(QFileInfo(log).absolutePath())
                                .entryList({"calls.sqlite.damaged-*"}, QDir::Files);
  EXPECT_EQ(aside.size(), 1) << aside.join(' ').toStdString();

  CallWhenWatched("call 5551234567 KEPT CALLER");
  EXPECT_FALSE(desktop_.WaitForWindow("^Calling\\.\\.\\.$", true, kE2EWaitMs).isEmpty());
  EXPECT_EQ(WaitForQuery("SELECT network_name FROM calls", "KEPT CALLER"), "KEPT CALLER");

  program_.Signal(SIGKILL);
  EXPECT_EQ(program_.WaitForExit(), -1);
  EXPECT_EQ(Query(log, "PRAGMA integrity_check"), "ok");
  EXPECT_EQ(Query(log, "SELECT number_displayed || '|' || network_name || '|' || mode FROM calls"),
            "555-123-4567|KEPT CALLER|active");
}

TEST_F(CallLogE2E, AForwardedCallIsLoggedWithHowItsScriptEnded) {
  program_.Store("Mode", "1");
  program_.Store("Type", "VBS", "DDESetup/Failing");
  program_.Store("Commands", "echo 'no such printer' >&2\r\nexit 3\r\n", "DDESetup/Failing");
  program_.Store("CurrentDDESetting", "0");
  ASSERT_TRUE(program_.StartInTray(desktop_));
  CallWhenWatched("call 5550100 SCRIPTED CALLER");
  const QString expected = "SCRIPTED CALLER|passive|script-exit|exit status 3: no such printer";
  EXPECT_EQ(WaitForQuery("SELECT network_name || '|' || mode || '|' || forwarding || '|' || "
                         "forwarding_detail FROM calls",
                         expected),
            expected);
}

}  // namespace
