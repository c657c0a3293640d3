#include "platform/tray_availability.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>
#include <gtest/gtest.h>

#include "application_exit.h"

namespace {

void Stop(QProcess& process) {
  process.terminate();
  if (!process.waitForFinished(10000)) {
    process.kill();
    process.waitForFinished(10000);
  }
}

}  // namespace

TEST(TrayAvailability, WaitEndsWhenATrayHostAppears) {
  // A private session bus for this process; the host is the test tray.
  QProcess bus;
  bus.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
  ASSERT_TRUE(bus.waitForReadyRead(60000));
  const QByteArray address = bus.readLine().trimmed();
  ASSERT_TRUE(address.startsWith("unix:"));
  qputenv("DBUS_SESSION_BUS_ADDRESS", address);

  EXPECT_FALSE(platform::StatusNotifierHostPresent());
  EXPECT_FALSE(platform::X11SystemTrayPresent());  // not an X11 screen
  QElapsedTimer clock;
  clock.start();
  EXPECT_FALSE(platform::WaitForSystemTray(200));
  EXPECT_GE(clock.elapsed(), 200);

  QProcess tray;
  QTimer::singleShot(100, [&] { tray.start(QStringLiteral(QUORVEL_TEST_TRAY_HOST), {}); });
  clock.restart();
  platform::WaitForSystemTray(120000);  // the offscreen screen itself shows no icons
  EXPECT_LT(clock.elapsed(), 100000);
  EXPECT_TRUE(platform::StatusNotifierHostPresent());
  Stop(tray);
  Stop(bus);
}

TEST(TrayAvailability, WaitEndsWhenTheApplicationEnds) {
  // Once the application is told to end, no event loop runs any more: the
  // wait must not turn into a busy loop until its time is up.
  QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
  QElapsedTimer clock;
  clock.start();
  platform::WaitForSystemTray(120000);
  EXPECT_LT(clock.elapsed(), 60000);
  RecoverFromApplicationExit();
}
