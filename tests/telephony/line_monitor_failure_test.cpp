// The line monitor when things go wrong: refused writes, modems that refuse
// or stay silent, lines held by others, devices that vanish, garbage.
#include <QFile>
#include <QFileInfo>
#include <sys/wait.h>
#include <unistd.h>

#include "monitor_fixture.h"
#include "platform/uucp_lock.h"
#include "wait_until.h"

using platform::ReadLockOwner;
using platform::TUucpLock;

TEST_F(LineMonitorTest, RefusedPropertyWrites) {
  auto modem = StartModem("modem");
  TLineMonitor monitor;
  EXPECT_THROW(monitor.SetMediaMode(8), ELineError);
  EXPECT_THROW(monitor.SetCallPrivilege(4), ELineError);
  EXPECT_THROW(monitor.SetLineName(""), ELineError);
  EXPECT_THROW(monitor.SetLineOpen(true), ELineError) << "no line selected yet";
  OpenLine(monitor, modem->LinkPath());
  EXPECT_THROW(monitor.SetLineName(LinkPath("other")), ELineError);
  EXPECT_EQ(monitor.LineName(), modem->LinkPath());
  EXPECT_NO_THROW(monitor.SetLineName(modem->LinkPath()));
  EXPECT_NO_THROW(monitor.SetLineOpen(true)) << "opening an open line changes nothing";
  monitor.SetLineOpen(false);
  EXPECT_NO_THROW(monitor.SetLineName(LinkPath("other")));
}

TEST_F(LineMonitorTest, ModemRefusingBothCallerIdCommands) {
  auto modem = StartModem("modem", {"--refuse-vcid", "--refuse-cid"});
  TLineMonitor monitor;
  EXPECT_EQ(OpenFailure(monitor, modem->LinkPath()), "Caller ID not supported by modem");
  EXPECT_FALSE(monitor.LineOpen());
  EXPECT_FALSE(QFile::exists(TUucpLock::LockFilePath(modem->LinkPath())));
}

TEST_F(LineMonitorTest, SilentModem) {
  auto modem = StartModem("modem", {"--silent"});
  TLineMonitor monitor;
  EXPECT_EQ(OpenFailure(monitor, modem->LinkPath()), "No answer from modem");
  EXPECT_FALSE(monitor.LineOpen());
  EXPECT_FALSE(QFile::exists(TUucpLock::LockFilePath(modem->LinkPath())));
}

TEST_F(LineMonitorTest, DeviceThatCannotBeOpenedGivesTheSystemsReason) {
  TLineMonitor monitor;
  EXPECT_EQ(OpenFailure(monitor, LinkPath("absent")), "No such file or directory");
  QFile plain(LinkPath("plain"));
  ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
  plain.close();
  EXPECT_EQ(OpenFailure(monitor, plain.fileName()), "Inappropriate ioctl for device");
  EXPECT_EQ(OpenFailure(monitor, plain.fileName() + "/below"), "Not a directory");
  EXPECT_FALSE(monitor.LineOpen());
}

TEST_F(LineMonitorTest, LineHeldByARunningProgramIsRefused) {
  auto modem = StartModem("modem");
  const QString lockPath = TUucpLock::LockFilePath(modem->LinkPath());
  {
    QFile lock(lockPath);
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write(QByteArray::number(static_cast<qlonglong>(getppid())).rightJustified(10, ' ') + "\n");
  }
  TLineMonitor monitor;
  EXPECT_EQ(OpenFailure(monitor, modem->LinkPath()), "Line in use by another program");
  EXPECT_EQ(ReadLockOwner(lockPath), getppid()) << "the other program's lock stays";
  EXPECT_FALSE(modem->Received("ATZ")) << "nothing is sent to a line in use";

  // A second monitor of this program is refused while the first holds it.
  QFile::remove(lockPath);
  OpenLine(monitor, modem->LinkPath());
  TLineMonitor second;
  EXPECT_EQ(OpenFailure(second, modem->LinkPath()), "Line in use by another program");
  monitor.SetLineOpen(false);
  EXPECT_EQ(OpenFailure(second, modem->LinkPath()), "");
}

TEST_F(LineMonitorTest, StaleLockIsTakenOver) {
  auto modem = StartModem("modem");
  const pid_t ended = fork();
  if (ended == 0) _exit(0);
  waitpid(ended, nullptr, 0);
  const QString lockPath = TUucpLock::LockFilePath(modem->LinkPath());
  {
    QFile lock(lockPath);
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write(QByteArray::number(ended).rightJustified(10, ' ') + "\n");
  }
  TLineMonitor monitor;
  EXPECT_EQ(OpenFailure(monitor, modem->LinkPath()), "");
  EXPECT_EQ(ReadLockOwner(lockPath), getpid());
}

TEST_F(LineMonitorTest, UnpluggedModemIsReopenedWhenItComesBack) {
  auto modem = StartModem("modem");
  TLineMonitor monitor;
  TEventRecorder recorder(monitor);
  OpenLine(monitor, modem->LinkPath());
  const QString firstLock = TUucpLock::LockFilePath(modem->LinkPath());

  modem->Command("unplug");
  ASSERT_FALSE(modem->WaitForOutput("unplugged").isEmpty());
  EXPECT_TRUE(WaitUntil([&] { return !QFile::exists(firstLock); })) << "the lock goes with the device";
  EXPECT_TRUE(monitor.LineOpen()) << "the line stays selected and open while its device is away";

  modem->Command("replug");
  ASSERT_FALSE(modem->WaitForOutput("ready").isEmpty());
  // The retry every 5 seconds finds the new device behind the same link.
  ASSERT_FALSE(modem->WaitForOutput("got AT+VCID=1").isEmpty());
  EXPECT_EQ(ReadLockOwner(TUucpLock::LockFilePath(modem->LinkPath())), getpid());
  modem->Command("call 5557777 BACK");
  EXPECT_TRUE(recorder.WaitFor("id |BACK|4"));
  EXPECT_EQ(recorder.events.first(), "state OFFERING");
}

TEST_F(LineMonitorTest, RingArrivingWithTheLastReplyOfAReopenedModemIsKept) {
  auto modem = StartModem("modem");
  TLineMonitor monitor;
  TEventRecorder recorder(monitor);
  OpenLine(monitor, modem->LinkPath());
  modem->Command("unplug");
  ASSERT_FALSE(modem->WaitForOutput("unplugged").isEmpty());
  modem->Command("after-enable RING");
  ASSERT_FALSE(modem->WaitForOutput("armed").isEmpty());
  modem->Command("replug");
  ASSERT_FALSE(modem->WaitForOutput("got AT+VCID=1").isEmpty());
  modem->Command("raw NMBR = 43");
  ASSERT_TRUE(recorder.WaitFor("id 43||8"));
  EXPECT_EQ(recorder.events, (QStringList{"state OFFERING", "id 43||8"}));
}

TEST_F(LineMonitorTest, RetriesGoOnPastASilentDeviceAtTheLinesPath) {
  auto modem = StartModem("modem");
  TLineMonitor monitor;
  TEventRecorder recorder(monitor);
  OpenLine(monitor, modem->LinkPath());
  modem->Command("unplug");
  ASSERT_FALSE(modem->WaitForOutput("unplugged").isEmpty());
  {
    // Another device that never answers turns up under the line's name.
    auto stranger = StartModem("modem", {"--silent"});
    ASSERT_FALSE(stranger->WaitForOutput("got ATZ").isEmpty());
  }
  EXPECT_TRUE(monitor.LineOpen());
  modem->Command("replug");
  ASSERT_FALSE(modem->WaitForOutput("ready").isEmpty());
  ASSERT_FALSE(modem->WaitForOutput("got AT+VCID=1").isEmpty());
  modem->Command("call 5553333 AGAIN");
  EXPECT_TRUE(recorder.WaitFor("id |AGAIN|4"));
}

TEST_F(LineMonitorTest, ClosingStopsTheRetriesForAnUnpluggedModem) {
  auto modem = StartModem("modem");
  TLineMonitor monitor;
  OpenLine(monitor, modem->LinkPath());
  modem->Command("unplug");
  ASSERT_FALSE(modem->WaitForOutput("unplugged").isEmpty());
  monitor.SetLineOpen(false);
  modem->Command("replug");
  ASSERT_FALSE(modem->WaitForOutput("ready").isEmpty());
  // Give a retry ample occasion to happen; none may.
  WaitUntil([] { return false; }, 7000);
  EXPECT_FALSE(monitor.LineOpen());
  EXPECT_EQ(modem->WaitForOutput("got ATZ", 0), "");
}

TEST_F(LineMonitorTest, GarbageIsIgnoredAndTheNextCallStillWorks) {
  auto modem = StartModem("modem");
  TLineMonitor monitor;
  TEventRecorder recorder(monitor);
  OpenLine(monitor, modem->LinkPath());
  modem->Command("garbage 300000");
  modem->Command(R"(send \r\n\x00\xff\xfe NMBR \x01\x02 = \r\n)");
  modem->Command("garbage 5000");
  // The tail of an overlong line is not a line of its own.
  modem->Command("raw NMBR = 666");
  modem->Command("call 5551212 AFTER GARBAGE");
  ASSERT_TRUE(recorder.WaitFor("state IDLE"));
  EXPECT_EQ(recorder.events,
            (QStringList{"state OFFERING", "id 5551212||8", "id |AFTER GARBAGE|4", "state IDLE"}));
}
