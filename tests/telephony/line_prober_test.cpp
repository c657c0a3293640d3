// Listing and probing: only answering modems are offered, in whatever
// result mode they were left; other devices are never harmed; silent ports
// do not hold the listing up.
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSocketNotifier>

#include "monitor_fixture.h"
#include "platform/uucp_lock.h"
#include "test_pty.h"
#include "wait_until.h"

namespace {

// Index of `name` among the monitor's lines, -1 when it is not listed.
int LineIndex(TLineMonitor& monitor, const QString& name) {
  for (int i = 0; i < monitor.LineCount(); ++i) {
    if (monitor.GetLineName(i) == name) return i;
  }
  return -1;
}

int Capability(TLineMonitor& monitor, const QString& name) {
  monitor.SetLineName(name);
  return monitor.LineCapability();
}

}  // namespace

TEST_F(LineMonitorTest, ListsConfiguredLinesOnceAndOffersOnlyAnsweringModems) {
  auto good = StartModem("good");
  auto silent = StartModem("silent", {"--silent"});
  const QString alias = LinkPath("alias");
  ASSERT_TRUE(QFile::link(good->LinkPath(), alias));
  const QString missing = LinkPath("missing");
  ConfigureLines({good->LinkPath(), silent->LinkPath(), alias, missing});

  TTestMonitor monitor;
  const int goodIndex = LineIndex(monitor, good->LinkPath());
  ASSERT_GE(goodIndex, 0);
  EXPECT_EQ(LineIndex(monitor, silent->LinkPath()), goodIndex + 1);
  EXPECT_EQ(LineIndex(monitor, missing), goodIndex + 2);
  EXPECT_EQ(LineIndex(monitor, alias), -1) << "a device reached twice is listed once";
  EXPECT_EQ(monitor.GetLineName(monitor.LineCount()), "");
  EXPECT_EQ(monitor.GetLineName(-1), "");

  EXPECT_EQ(Capability(monitor, good->LinkPath()), 1);
  EXPECT_EQ(Capability(monitor, silent->LinkPath()), 0);
  EXPECT_EQ(Capability(monitor, missing), 0);
  // A device that is not listed is asked when it is selected.
  EXPECT_EQ(Capability(monitor, alias), 1);
  const QStringList unoffered = monitor.UnofferedLines();
  EXPECT_TRUE(unoffered.contains(silent->LinkPath() + ": No answer from modem")) << unoffered.join('\n').toStdString();
  EXPECT_TRUE(unoffered.contains(missing + ": No such file or directory")) << unoffered.join('\n').toStdString();
  // Probing leaves no lock behind.
  EXPECT_FALSE(QFile::exists(platform::TUucpLock::LockFilePath(good->LinkPath())));
}

TEST_F(LineMonitorTest, ModemsLeftInAnyResultModeAreFoundAndOpened) {
  for (const QStringList& mode : {QStringList{"--quiet"}, QStringList{"--numeric"}, QStringList{"--no-echo"},
                                  QStringList{"--quiet", "--numeric", "--no-echo"}}) {
    auto modem = StartModem("modem", mode);
    ConfigureLines({modem->LinkPath()});
    TTestMonitor monitor;
    EXPECT_EQ(Capability(monitor, modem->LinkPath()), 1) << mode.join(' ').toStdString();
    EXPECT_EQ(OpenFailure(monitor, modem->LinkPath()), "") << mode.join(' ').toStdString();
  }
}

TEST_F(LineMonitorTest, PortHeldOpenByAnotherProgramIsLeftAlone) {
  TTestPty pty;
  ASSERT_TRUE(pty.Valid());
  pty.SetCookedSlowSettings();
  const termios before = pty.Settings();
  QProcess holder;
  holder.setStandardInputFile(pty.DevicePath());
  holder.start("sleep", {"60"});
  ASSERT_TRUE(holder.waitForStarted());
  ConfigureLines({pty.DevicePath()});

  TTestMonitor monitor;
  EXPECT_EQ(Capability(monitor, pty.DevicePath()), 0);
  EXPECT_TRUE(monitor.UnofferedLines().contains(pty.DevicePath() + ": Line in use by another program"));
  EXPECT_EQ(OpenFailure(monitor, pty.DevicePath()), "Line in use by another program");
  EXPECT_TRUE(SameSettings(pty.Settings(), before));
  EXPECT_EQ(pty.ReadWritten(), "");
  holder.kill();
  holder.waitForFinished();
}

TEST_F(LineMonitorTest, ProbedPortGetsItsExactSettingsBack) {
  for (const bool answers : {false, true}) {
    TTestPty pty;
    ASSERT_TRUE(pty.Valid());
    pty.SetCookedSlowSettings();
    const termios before = pty.Settings();
    ConfigureLines({pty.DevicePath()});
    QByteArray written;
    QSocketNotifier modem(pty.Master(), QSocketNotifier::Read);
    QObject::connect(&modem, &QSocketNotifier::activated, [&] {
      written += pty.ReadWritten();
      if (answers && written.endsWith("\r")) pty.Answer("\r\nOK\r\n");
      // Once the probe has closed the device the master stays readable.
      if (written.endsWith("\r")) modem.setEnabled(false);
    });
    TTestMonitor monitor;
    EXPECT_EQ(Capability(monitor, pty.DevicePath()), answers ? 1 : 0);
    EXPECT_EQ(written, "ATQ0V1\r");
    EXPECT_TRUE(SameSettings(pty.Settings(), before)) << (answers ? "answered" : "silent");
  }
}

TEST_F(LineMonitorTest, ListingGoesOnAfterTheFirstAnswerAndOffersLaterOnes) {
  auto modem = StartModem("modem");
  TTestPty late;
  ASSERT_TRUE(late.Valid());
  ConfigureLines({modem->LinkPath(), late.DevicePath()});
  TLineTimings timings = TestTimings();
  timings.probeTimeoutMs = 60000;
  TTestMonitor monitor(timings);
  QStringList found;
  QObject::connect(&monitor, &TLineMonitor::LineFound, [&](const QString& name) { found << name; });

  QElapsedTimer clock;
  clock.start();
  monitor.LineCount();
  EXPECT_LT(clock.elapsed(), 30000) << "the listing waited for the silent port";
  EXPECT_EQ(Capability(monitor, modem->LinkPath()), 1);
  EXPECT_EQ(Capability(monitor, late.DevicePath()), 0);
  EXPECT_TRUE(found.isEmpty());

  ASSERT_TRUE(WaitUntil([&] { return late.ReadWritten().endsWith("\r"); }));
  late.Answer("\r\nOK\r\n");
  EXPECT_TRUE(WaitUntil([&] { return found == QStringList{late.DevicePath()}; }));
  EXPECT_EQ(Capability(monitor, late.DevicePath()), 1);
}
