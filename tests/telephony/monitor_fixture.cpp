#include "monitor_fixture.h"

#include "platform/settings_store.h"
#include "wait_until.h"

TEventRecorder::TEventRecorder(TLineMonitor& monitor) {
  QObject::connect(&monitor, &TLineMonitor::OnCallState, [this, &monitor](QObject* sender, const QString& state) {
    EXPECT_EQ(sender, &monitor);
    events << "state " + state;
  });
  QObject::connect(&monitor, &TLineMonitor::OnCallerID,
                   [this, &monitor](QObject* sender, const QString& number, const QString& name, int flags) {
                     EXPECT_EQ(sender, &monitor);
                     events << QString("id %1|%2|%3").arg(number, name).arg(flags);
                   });
}

bool TEventRecorder::WaitFor(const QString& event, int times, int timeoutMs) {
  return WaitUntil([&] { return events.count(event) >= times; }, timeoutMs);
}

void LineMonitorTest::SetUp() {
  ASSERT_TRUE(links_.isValid());
  ASSERT_TRUE(locks_.isValid());
  qputenv("QUORVEL_LOCK_DIR", locks_.path().toLocal8Bit());
}

void LineMonitorTest::TearDown() { qunsetenv("QUORVEL_LOCK_DIR"); }

std::unique_ptr<TFakeModemProcess> LineMonitorTest::StartModem(const QString& name, QStringList options) {
  // Calls placed with "call" are over within 0.1 s.
  options << "--cadence" << "0.05";
  auto modem = std::make_unique<TFakeModemProcess>(LinkPath(name), options);
  EXPECT_TRUE(modem->Started());
  return modem;
}

void LineMonitorTest::ConfigureLines(const QStringList& paths) {
  platform::WriteSettingValue("Settings", "ExtraLines", paths.join(';'));
}

void LineMonitorTest::OpenLine(TLineMonitor& monitor, const QString& path) {
  monitor.SetLineName(path);
  monitor.SetMediaMode(TLineMonitor::kDataModemMediaMode);
  monitor.SetCallPrivilege(TLineMonitor::kMonitorOwnerPrivilege);
  monitor.SetLineOpen(true);
}

QString LineMonitorTest::OpenFailure(TLineMonitor& monitor, const QString& path) {
  try {
    OpenLine(monitor, path);
  } catch (const ELineError& e) {
    return QString::fromStdString(e.what());
  }
  return QString();
}
