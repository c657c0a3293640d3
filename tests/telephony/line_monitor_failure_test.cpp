// The line monitor when things go wrong: refused writes, modems that refuse
// or stay silent, lines held by others, devices that vanish, garbage.
#include <QFile>
#include <unistd.h>

#include "monitor_fixture.h"
#include "platform/uucp_lock.h"
#include "wait_until.h"

using platform::ReadLockOwner;
using platform::TUucpLock;

namespace {

// Short bounds for modems that never answer.
TLineTimings SilenceTimings() {
  TLineTimings timings = TestTimings();
  timings.commandTimeoutMs = 200;
  return timings;
}

void WriteLockFile(const QString& path, qlonglong pid) {
  QFile lock(path);
  ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
  lock.write(QByteArray::number(pid).rightJustified(10, ' ') + "\n");
}

// Takes the modem's device away, or brings it back, as a USB modem unplugged.
void Unplug(TFakeModemProcess& modem) {
  modem.Command("unplug");
  ASSERT_FALSE(modem.WaitForOutput("unplugged").isEmpty());
}

void Replug(TFakeModemProcess& modem) {
  modem.Command("replug");
  ASSERT_FALSE(modem.WaitForOutput("ready").isEmpty());
}

}  // namespace

TEST_F(LineMonitorTest, RefusedPropertyWrites) {
  auto modem = StartModem("modem");
  TTestMonitor monitor;
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

TEST_F(LineMonitorTest, ModemsThatRefuseOrStaySilent) {
  struct Case {
    QStringList options;
    const char* failure;
  };
  for (const Case& c : {Case{{"--refuse-vcid", "--refuse-cid"}, "Caller ID not supported by modem"},
                        Case{{"--silent"}, "No answer from modem"}}) {
    auto modem = StartModem("modem", c.options);
    TTestMonitor monitor(SilenceTimings());
    EXPECT_EQ(OpenFailure(monitor, modem->LinkPath()), c.failure);
    EXPECT_FALSE(monitor.LineOpen());
    EXPECT_FALSE(QFile::exists(TUucpLock::LockFilePath(modem->LinkPath())));
  }
}

TEST_F(LineMonitorTest, DeviceThatCannotBeOpenedGivesTheSystemsReason) {
  TTestMonitor monitor;
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
  WriteLockFile(lockPath, getppid());
  TTestMonitor monitor;
  EXPECT_EQ(OpenFailure(monitor, modem->LinkPath()), "Line in use by another program");
  EXPECT_EQ(ReadLockOwner(lockPath), getppid()) << "the other program's lock stays";
  EXPECT_FALSE(modem->Received("ATZ")) << "nothing is sent to a line in use";

  // A second monitor of this program is refused while the first holds it.
  QFile::remove(lockPath);
  OpenLine(monitor, modem->LinkPath());
  TTestMonitor second;
  EXPECT_EQ(OpenFailure(second, modem->LinkPath()), "Line in use by another program");
  monitor.SetLineOpen(false);
  EXPECT_EQ(OpenFailure(second, modem->LinkPath()), "");
}

TEST_F(LineMonitorTest, UnpluggedModemIsReopenedWhenItComesBack) {
  auto modem = StartModem("modem");
  TTestMonitor monitor(LongCallTimings());
  TEventRecorder recorder(monitor);
  OpenLine(monitor, modem->LinkPath());
  const QString firstLock = TUucpLock::LockFilePath(modem->LinkPath());

  Unplug(*modem);
  EXPECT_TRUE(WaitUntil([&] { return !QFile::exists(firstLock); })) << "the lock goes with the device";
  EXPECT_TRUE(monitor.LineOpen()) << "the line stays selected and open while its device is away";

  // A call comes in just as the modem is switched on again: kept.
  modem->Command("after-enable RING");
  ASSERT_FALSE(modem->WaitForOutput("armed").isEmpty());
  Replug(*modem);
  ASSERT_FALSE(modem->WaitForOutput("got AT+VCID=1").isEmpty());
  EXPECT_EQ(ReadLockOwner(TUucpLock::LockFilePath(modem->LinkPath())), getpid());
  modem->Command("raw NMBR = 43");
  ASSERT_TRUE(recorder.WaitFor("id 43||8"));
  EXPECT_EQ(recorder.events, (QStringList{"state OFFERING", "id 43||8"}));
}

TEST_F(LineMonitorTest, RetriesGoOnPastASilentDeviceAtTheLinesPath) {
  auto modem = StartModem("modem");
  TTestMonitor monitor(SilenceTimings());
  TEventRecorder recorder(monitor);
  OpenLine(monitor, modem->LinkPath());
  Unplug(*modem);
  {
    // Another device that never answers turns up under the line's name.
    auto stranger = StartModem("modem", {"--silent"});
    ASSERT_FALSE(stranger->WaitForOutput("got ATE0V1Q0").isEmpty());
  }
  EXPECT_TRUE(monitor.LineOpen());
  Replug(*modem);
  ASSERT_FALSE(modem->WaitForOutput("got AT+VCID=1").isEmpty());
  modem->Command("call 5553333 AGAIN");
  EXPECT_TRUE(recorder.WaitFor("id |AGAIN|4"));
}

TEST_F(LineMonitorTest, ClosingStopsTheRetriesForAnUnpluggedModem) {
  auto modem = StartModem("modem");
  TTestMonitor monitor;
  OpenLine(monitor, modem->LinkPath());
  Unplug(*modem);
  monitor.SetLineOpen(false);
  Replug(*modem);
  // Give a retry ample occasion to happen (ten reopen intervals); none may.
  WaitUntil([] { return false; }, 10 * TestTimings().reopenIntervalMs);
  EXPECT_FALSE(monitor.LineOpen());
  EXPECT_EQ(modem->WaitForOutput("got ATZ", 0), "");
}

TEST_F(LineMonitorTest, GarbageIsIgnoredAndTheNextCallStillWorks) {
  auto modem = StartModem("modem");
  TTestMonitor monitor;
  TEventRecorder recorder(monitor);
  OpenLine(monitor, modem->LinkPath());
  modem->Command("garbage 300000");
  modem->Command(R"(send \r\n\x00\xff\xfe NMBR \x01\x02 = \r\n)");
  modem->Command("garbage 5000");
  // The tail of an overlong line is not a line of its own.
  modem->Command(R"(send NMBR = 666\r\n\r\nRING\r\n\r\nNMBR = 5551212\r\nNAME = AFTER GARBAGE\r\n)");
  ASSERT_TRUE(recorder.WaitFor("state IDLE"));
  EXPECT_EQ(recorder.events,
            (QStringList{"state OFFERING", "id 5551212||8", "id |AFTER GARBAGE|4", "state IDLE"}));
}
