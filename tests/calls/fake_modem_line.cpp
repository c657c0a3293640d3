#include "fake_modem_line.h"

#include <QDeadlineTimer>

namespace {

// Generous: the machine may be loaded.
constexpr int kStartTimeoutMs = 30000;

}  // namespace

FakeModemLine::FakeModemLine(const QString& fakemodemPath, const QString& linkPath) {
  process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process_.start(fakemodemPath, {"--link", linkPath});
  if (!process_.waitForStarted(kStartTimeoutMs)) {
    error_ = "fakemodem did not start: " + process_.errorString();
    return;
  }
  const QDeadlineTimer deadline(kStartTimeoutMs);
  while (!process_.canReadLine()) {
    if (deadline.hasExpired() || !process_.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
      error_ = "fakemodem did not report ready";
      return;
    }
  }
  process_.readLine();
  try {
    monitor_.SetLineName(linkPath);
    monitor_.SetMediaMode(TLineMonitor::kDataModemMediaMode);
    monitor_.SetCallPrivilege(TLineMonitor::kMonitorOwnerPrivilege);
    monitor_.SetLineOpen(true);
  } catch (const std::exception& e) {
    error_ = QString("the line did not open: ") + e.what();
  }
}

FakeModemLine::~FakeModemLine() {
  try {
    monitor_.SetLineOpen(false);
  } catch (const std::exception&) {
    // Closing a line that is gone: nothing left to release.
  }
  if (process_.state() != QProcess::NotRunning) {
    process_.write("quit\n");
    process_.closeWriteChannel();
    if (!process_.waitForFinished(kStartTimeoutMs)) {
      process_.kill();
      process_.waitForFinished(kStartTimeoutMs);
    }
  }
}

void FakeModemLine::Send(const QString& command) {
  process_.write((command + "\n").toUtf8());
  process_.waitForBytesWritten(kStartTimeoutMs);
}
