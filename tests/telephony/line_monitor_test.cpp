// The line monitor against fakemodem on real pseudo-terminals: opening, and
// the events of calls as the modem delivers them.
#include <QFile>
#include <QTimer>

#include "monitor_fixture.h"
#include "platform/uucp_lock.h"
#include "wait_until.h"

TEST_F(LineMonitorTest, OpensWithVerboseResetAndCallerIdCommand) {
  auto modem = StartModem("modem");
  TTestMonitor monitor;
  OpenLine(monitor, modem->LinkPath());
  EXPECT_TRUE(monitor.LineOpen());
  EXPECT_EQ(monitor.LineName(), modem->LinkPath());
  EXPECT_EQ(monitor.MediaMode(), 16u);
  EXPECT_EQ(monitor.CallPrivilege(), 6u);
  for (const char* command : {"got ATE0V1Q0", "got ATZ", "got ATE0V1Q0", "got AT+VCID=1"}) {
    EXPECT_FALSE(modem->WaitForOutput(command).isEmpty()) << command;
  }
  EXPECT_FALSE(modem->Received("AT#CID=1"));
  EXPECT_EQ(platform::ReadLockOwner(platform::TUucpLock::LockFilePath(modem->LinkPath())), getpid());

  monitor.SetLineOpen(false);
  EXPECT_FALSE(monitor.LineOpen());
  EXPECT_FALSE(QFile::exists(platform::TUucpLock::LockFilePath(modem->LinkPath())));
}

TEST_F(LineMonitorTest, FallsBackToTheOtherCallerIdCommand) {
  auto modem = StartModem("modem", {"--refuse-vcid"});
  TTestMonitor monitor;
  TEventRecorder recorder(monitor);
  OpenLine(monitor, modem->LinkPath());
  EXPECT_FALSE(modem->WaitForOutput("got AT#CID=1").isEmpty());
  modem->Command("call 0123456789 ANNA");
  EXPECT_TRUE(recorder.WaitFor("id |ANNA|4"));
}

TEST_F(LineMonitorTest, SlowResetStillOpensAndTheWindowKeepsRunning) {
  // The reset takes longer than any other command may; the event loop runs
  // all the while.
  auto modem = StartModem("modem", {"--slow-reset", "0.8"});
  TLineTimings timings = TestTimings();
  timings.commandTimeoutMs = 400;
  timings.resetTimeoutMs = 30000;
  TTestMonitor monitor(timings);
  int ticks = 0;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
  ticker.start(20);
  EXPECT_EQ(OpenFailure(monitor, modem->LinkPath()), "");
  EXPECT_GT(ticks, 0);
  EXPECT_TRUE(monitor.LineOpen());
}

TEST_F(LineMonitorTest, OpeningOvertakenByANestedCloseEndsQuietly) {
  auto modem = StartModem("modem", {"--slow-reset", "30"});
  TTestMonitor monitor;
  QTimer::singleShot(0, &monitor, [&] {
    ASSERT_FALSE(modem->WaitForOutput("got ATZ").isEmpty());
    monitor.SetLineOpen(false);
  });
  EXPECT_EQ(OpenFailure(monitor, modem->LinkPath()), "");
  EXPECT_FALSE(monitor.LineOpen());
  EXPECT_FALSE(QFile::exists(platform::TUucpLock::LockFilePath(modem->LinkPath())));
  EXPECT_EQ(OpenFailure(monitor, LinkPath("other")), "No such file or directory") << "the line can be changed now";
}

TEST_F(LineMonitorTest, CallsArriveInOrderAsTheModemSendsThem) {
  auto modem = StartModem("modem");
  TTestMonitor monitor;
  TEventRecorder recorder(monitor);
  QStringList ended;
  QObject::connect(&monitor, &TLineMonitor::CallEnded, [&](QObject* sender, TCallOutcome outcome) {
    EXPECT_EQ(sender, &monitor);
    ended << recorder.events.last() + (outcome == TCallOutcome::kUnknown ? " unknown" : " known");
  });
  OpenLine(monitor, modem->LinkPath());
  // Two calls, the second ringing before the first's ring timeout ran out;
  // each burst is one write, so no stall can split it.
  modem->Command(R"(send \r\nRING\r\n\r\nDATE = 1208\r\nNMBR = 5551234567\r\nNAME = JOHN DOE\r\n\r\nRING\r\n)"
                 R"(\r\nRING\r\n\r\nDATE = 1208\r\nDDN_NMBR = 0800\r\nNAME = O\r\n\r\nRING\r\n)");
  ASSERT_TRUE(recorder.WaitFor("state IDLE", 2));
  EXPECT_EQ(recorder.events, (QStringList{"state OFFERING", "id 5551234567||8", "id |JOHN DOE|4", "state IDLE",
                                          "state OFFERING", "id 0800||8", "id |OUT OF AREA|4", "state IDLE"}));
  EXPECT_EQ(ended, (QStringList{"state IDLE unknown", "state IDLE unknown"}));
}

TEST_F(LineMonitorTest, CallerIdIsSwitchedOnAgainAfterACallWithoutIt) {
  auto modem = StartModem("modem");
  TTestMonitor monitor;
  TEventRecorder recorder(monitor);
  OpenLine(monitor, modem->LinkPath());
  ASSERT_FALSE(modem->WaitForOutput("got AT+VCID=1").isEmpty());
  // The modem lost its caller-ID mode (a power cut): calls only ring.
  modem->Command("forget-cid");
  modem->Command(R"(send \r\nRING\r\n\r\nRING\r\n)");
  ASSERT_TRUE(recorder.WaitFor("state IDLE"));
  EXPECT_EQ(recorder.events, (QStringList{"state OFFERING", "state IDLE"}));
  ASSERT_FALSE(modem->WaitForOutput("got AT+VCID=1").isEmpty());
  modem->Command("call 5550002 FOUND");
  EXPECT_TRUE(recorder.WaitFor("id |FOUND|4"));
}

TEST_F(LineMonitorTest, RingArrivingTogetherWithTheModemsLastReplyIsKept) {
  auto modem = StartModem("modem");
  TTestMonitor monitor(LongCallTimings());
  TEventRecorder recorder(monitor);
  modem->Command("after-enable RING");
  ASSERT_FALSE(modem->WaitForOutput("armed").isEmpty());
  OpenLine(monitor, modem->LinkPath());
  modem->Command("raw NMBR = 42");
  ASSERT_TRUE(recorder.WaitFor("id 42||8"));
  EXPECT_EQ(recorder.events, (QStringList{"state OFFERING", "id 42||8"}));
}

TEST_F(LineMonitorTest, EventsArriveNestedWhileAHandlerWaits) {
  // The caller-ID handler waits a second with the event loop running and
  // relies on the name arriving during that wait.
  auto modem = StartModem("modem");
  TTestMonitor monitor;
  QStringList seenDuringWait;
  bool waiting = false;
  bool waited = false;
  QObject::connect(&monitor, &TLineMonitor::OnCallerID,
                   [&](QObject*, const QString& number, const QString& name, int) {
                     if (waiting) {
                       seenDuringWait << name;
                       return;
                     }
                     if (number.isEmpty() || waited) return;
                     waiting = true;
                     WaitUntil([&] { return !seenDuringWait.isEmpty(); });
                     waiting = false;
                     waited = true;
                   });
  OpenLine(monitor, modem->LinkPath());
  modem->Command("call 5550000 NESTED");
  EXPECT_TRUE(WaitUntil([&] { return waited; }));
  EXPECT_EQ(seenDuringWait, QStringList{"NESTED"});
}
