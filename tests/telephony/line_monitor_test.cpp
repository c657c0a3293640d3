// The line monitor against fakemodem on real pseudo-terminals: listing,
// opening, and the events of calls.
#include <QEventLoop>
#include <QFile>

#include "monitor_fixture.h"
#include "platform/uucp_lock.h"
#include "wait_until.h"

namespace {

// Index of `name` among the monitor's lines, -1 when it is not listed.
int LineIndex(TLineMonitor& monitor, const QString& name) {
  for (int i = 0; i < monitor.LineCount(); ++i) {
    if (monitor.GetLineName(i) == name) return i;
  }
  return -1;
}

}  // namespace

TEST_F(LineMonitorTest, ListsConfiguredLinesOnceAndOffersOnlyAnsweringModems) {
  auto good = StartModem("good");
  auto silent = StartModem("silent", {"--silent"});
  const QString alias = LinkPath("alias");
  ASSERT_TRUE(QFile::link(good->LinkPath(), alias));
  const QString missing = LinkPath("missing");
  ConfigureLines({good->LinkPath(), silent->LinkPath(), alias, missing});

  TLineMonitor monitor;
  const int goodIndex = LineIndex(monitor, good->LinkPath());
  const int silentIndex = LineIndex(monitor, silent->LinkPath());
  const int missingIndex = LineIndex(monitor, missing);
  ASSERT_GE(goodIndex, 0);
  EXPECT_EQ(silentIndex, goodIndex + 1);
  EXPECT_EQ(missingIndex, goodIndex + 2);
  EXPECT_EQ(LineIndex(monitor, alias), -1) << "a device reached twice is listed once";
  EXPECT_EQ(monitor.GetLineName(monitor.LineCount()), "");
  EXPECT_EQ(monitor.GetLineName(-1), "");

  // The program's listing: select each line, read its capability.
  monitor.SetLineName(good->LinkPath());
  EXPECT_EQ(monitor.LineCapability(), 1);
  monitor.SetLineName(silent->LinkPath());
  EXPECT_EQ(monitor.LineCapability(), 0);
  monitor.SetLineName(missing);
  EXPECT_EQ(monitor.LineCapability(), 0);
  // A device that is not listed is asked when it is selected.
  monitor.SetLineName(alias);
  EXPECT_EQ(monitor.LineCapability(), 1);
  // Probing leaves no lock behind.
  EXPECT_FALSE(QFile::exists(platform::TUucpLock::LockFilePath(good->LinkPath())));
}

TEST_F(LineMonitorTest, OpensWithResetAndCallerIdCommand) {
  auto modem = StartModem("modem");
  TLineMonitor monitor;
  OpenLine(monitor, modem->LinkPath());
  EXPECT_TRUE(monitor.LineOpen());
  EXPECT_EQ(monitor.LineName(), modem->LinkPath());
  EXPECT_EQ(monitor.MediaMode(), 16u);
  EXPECT_EQ(monitor.CallPrivilege(), 6u);
  EXPECT_FALSE(modem->WaitForOutput("got ATZ").isEmpty());
  EXPECT_FALSE(modem->WaitForOutput("got AT+VCID=1").isEmpty());
  EXPECT_FALSE(modem->Received("AT#CID=1"));
  EXPECT_EQ(platform::ReadLockOwner(platform::TUucpLock::LockFilePath(modem->LinkPath())), getpid());

  monitor.SetLineOpen(false);
  EXPECT_FALSE(monitor.LineOpen());
  EXPECT_FALSE(QFile::exists(platform::TUucpLock::LockFilePath(modem->LinkPath())));
}

TEST_F(LineMonitorTest, FallsBackToTheOtherCallerIdCommand) {
  auto modem = StartModem("modem", {"--refuse-vcid"});
  TLineMonitor monitor;
  TEventRecorder recorder(monitor);
  OpenLine(monitor, modem->LinkPath());
  EXPECT_FALSE(modem->WaitForOutput("got AT+VCID=1").isEmpty());
  EXPECT_FALSE(modem->WaitForOutput("got AT#CID=1").isEmpty());
  modem->Command("call 0123456789 ANNA");
  EXPECT_TRUE(recorder.WaitFor("id |ANNA|4"));
}

TEST_F(LineMonitorTest, RingArrivingTogetherWithTheModemsLastReplyIsKept) {
  auto modem = StartModem("modem");
  TLineMonitor monitor;
  TEventRecorder recorder(monitor);
  modem->Command("after-enable RING");
  ASSERT_FALSE(modem->WaitForOutput("armed").isEmpty());
  OpenLine(monitor, modem->LinkPath());
  // The same call goes on: its next ring offers nothing new.
  modem->Command("raw NMBR = 42");
  modem->Command("ring");
  ASSERT_TRUE(recorder.WaitFor("state IDLE"));
  EXPECT_EQ(recorder.events, (QStringList{"state OFFERING", "id 42||8", "state IDLE"}))
      << recorder.events.join(", ").toStdString();
}

TEST_F(LineMonitorTest, NormalCallGivesItsEventsInOrder) {
  auto modem = StartModem("modem");
  TLineMonitor monitor;
  TEventRecorder recorder(monitor);
  OpenLine(monitor, modem->LinkPath());
  modem->Command("call 5551234567 JOHN DOE");
  ASSERT_TRUE(recorder.WaitFor("state IDLE"));
  EXPECT_EQ(recorder.events,
            (QStringList{"state OFFERING", "id 5551234567||8", "id |JOHN DOE|4", "state IDLE"}));

  // The next call is a new call.
  modem->Command("call 0800 B");
  ASSERT_TRUE(recorder.WaitFor("state IDLE", 2));
  EXPECT_EQ(recorder.events.mid(4), (QStringList{"state OFFERING", "id 0800||8", "id |B|4", "state IDLE"}));
}

TEST_F(LineMonitorTest, BlockedAndOutOfAreaNumbers) {
  auto modem = StartModem("modem");
  TLineMonitor monitor;
  TEventRecorder recorder(monitor);
  OpenLine(monitor, modem->LinkPath());
  modem->Command("call-private");
  ASSERT_TRUE(recorder.WaitFor("state IDLE"));
  EXPECT_EQ(recorder.events, (QStringList{"state OFFERING", "id ||1", "state IDLE"}));
  modem->Command("call-outofarea");
  ASSERT_TRUE(recorder.WaitFor("state IDLE", 2));
  EXPECT_EQ(recorder.events.mid(3), (QStringList{"state OFFERING", "id ||2", "state IDLE"}));
}

TEST_F(LineMonitorTest, CallerIdBeforeTheFirstRing) {
  auto modem = StartModem("modem");
  TLineMonitor monitor;
  TEventRecorder recorder(monitor);
  OpenLine(monitor, modem->LinkPath());
  modem->Command("raw DATE=1208");
  modem->Command("raw NMBR=01632960123");
  modem->Command("raw NAME=BRIDGET");
  modem->Command("ring");
  ASSERT_TRUE(recorder.WaitFor("state IDLE"));
  EXPECT_EQ(recorder.events,
            (QStringList{"id 01632960123||8", "id |BRIDGET|4", "state OFFERING", "state IDLE"}));
}

TEST_F(LineMonitorTest, EmptyNumberAndUnknownLinesGiveNoEvents) {
  auto modem = StartModem("modem");
  TLineMonitor monitor;
  TEventRecorder recorder(monitor);
  OpenLine(monitor, modem->LinkPath());
  modem->Command("raw NMBR = ");
  modem->Command("raw MESG = 0301");
  modem->Command("raw HELLO = WORLD");
  modem->Command("raw NAME = P");
  modem->Command("raw NMBR = 77");
  ASSERT_TRUE(recorder.WaitFor("state IDLE"));
  EXPECT_EQ(recorder.events, (QStringList{"id 77||8", "state IDLE"}));
}

TEST_F(LineMonitorTest, CallerTextIsCleanedAndCut) {
  auto modem = StartModem("modem");
  TLineMonitor monitor;
  TEventRecorder recorder(monitor);
  OpenLine(monitor, modem->LinkPath());
  modem->Command(R"(send NAME = EVIL\x1b[31m\x07NAME\x00\r\n)");
  modem->Command("raw NMBR = " + QString(200, '9'));
  ASSERT_TRUE(recorder.WaitFor("id " + QString(80, '9') + "||8"));
  EXPECT_EQ(recorder.events.first(), "id |EVIL[31mNAME|4");
}

TEST_F(LineMonitorTest, EventsArriveNestedWhileAHandlerWaits) {
  // The caller-ID handler waits a second with the event loop running and
  // relies on the name arriving during that wait.
  auto modem = StartModem("modem");
  TLineMonitor monitor;
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
