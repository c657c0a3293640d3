#pragma once

#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

#include "fake_modem_process.h"
#include "telephony/line_monitor.h"
#include "temp_dir.h"

// Records a monitor's events as text, in order of delivery:
// "state OFFERING", "id <number>|<name>|<flags>".
class TEventRecorder {
 public:
  explicit TEventRecorder(TLineMonitor& monitor);
  QStringList events;
  // Waits until `event` has been recorded `times` times.
  bool WaitFor(const QString& event, int times = 1, int timeoutMs = 30000);
};

// Settings, lock folder and links in temporary folders; fakemodems on real
// pseudo-terminals with a short cadence and ring timeout.
class LineMonitorTest : public ::testing::Test {
 protected:
  static constexpr const char* kCadence = "0.3";
  static constexpr const char* kRingTimeoutSeconds = "3";

  void SetUp() override;
  void TearDown() override;

  // Starts a fakemodem whose link is `name` in the test's folder.
  std::unique_ptr<TFakeModemProcess> StartModem(const QString& name, QStringList options = {});
  QString LinkPath(const QString& name) const { return links_.filePath(name); }
  // Sets "ExtraLines" to these paths.
  void ConfigureLines(const QStringList& paths);
  // Selects and opens `path` the way the program does at start.
  void OpenLine(TLineMonitor& monitor, const QString& path);
  // The refusal message of opening `path`, or "" when it opened.
  QString OpenFailure(TLineMonitor& monitor, const QString& path);

  TempConfigHome home_;
  QTemporaryDir links_;
  QTemporaryDir locks_;
};
