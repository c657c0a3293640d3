#pragma once

#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

#include "simulator_process.h"
#include "telephony/line_monitor.h"
#include "temp_dir.h"

// Records a monitor's events as text, in order of delivery:
// "state OFFERING", "id <number>|<name>|<flags>", "ended <outcome>".
class TEventRecorder {
 public:
  explicit TEventRecorder(TLineMonitor& monitor);
  QStringList events;
  // Waits until `event` has been recorded `times` times.
  bool WaitFor(const QString& event, int times = 1, int timeoutMs = 30000);
};

// Short waits for tests: a ring timeout that no burst of lines can outlast,
// quick retries and probes. Command replies keep the program's bound, as a
// loaded machine may be slow to answer; tests of silence shorten it.
inline TLineTimings TestTimings() {
  TLineTimings timings;
  timings.ringTimeoutMs = 700;
  timings.reopenIntervalMs = 100;
  timings.probeTimeoutMs = 400;
  timings.probeGraceMs = 50;
  return timings;
}

// For tests whose call goes on across several steps of the test: no stall
// of a loaded machine may end it early.
inline TLineTimings LongCallTimings() {
  TLineTimings timings = TestTimings();
  timings.ringTimeoutMs = 60000;
  return timings;
}

// A line monitor with TestTimings().
class TTestMonitor : public TLineMonitor {
 public:
  explicit TTestMonitor(const TLineTimings& timings = TestTimings()) { SetTimings(timings); }
};

// Settings, lock folder and links in temporary folders; fakemodems on real
// pseudo-terminals.
class LineMonitorTest : public ::testing::Test {
 protected:
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
