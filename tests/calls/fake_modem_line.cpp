#include "fake_modem_line.h"

#include <QDeadlineTimer>

namespace {

// Generous: the machine may be loaded.
constexpr int kStartTimeoutMs = 30000;

}  // namespace

FakeModemLine::FakeModemLine(const QString& fakemodemPath, const QString& linkPath,
                             const QStringList& options) {
  process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process_.start(fakemodemPath, QStringList{"--link", linkPath} + options);
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
  QObject::connect(&process_, &QProcess::readyReadStandardOutput, &process_,
                   [this] { output_ += process_.readAllStandardOutput(); });
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

QStringList FakeModemLine::TakeOutput() {
  output_ += process_.readAllStandardOutput();
  const int end = output_.lastIndexOf('\n') + 1;
  const QStringList lines = QString::fromUtf8(output_.left(end)).split('\n', Qt::SkipEmptyParts);
  output_.remove(0, end);
  return lines;
}
