#include "simulator_process.h"

#include "wait_until.h"

TSimulatorProcess::TSimulatorProcess(const QString& program, const QStringList& arguments) {
  QObject::connect(&process_, &QProcess::readyReadStandardOutput, [this] { ReadOutput(); });
  process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process_.start(program, arguments);
  if (process_.waitForStarted(30000)) ready_ = WaitForOutput("ready");
}

TSimulatorProcess::~TSimulatorProcess() {
  if (process_.state() == QProcess::NotRunning) return;
  Command("quit");
  process_.closeWriteChannel();
  if (!process_.waitForFinished(30000)) {
    process_.kill();
    process_.waitForFinished(30000);
  }
}

void TSimulatorProcess::Command(const QString& line) {
  process_.write((line + '\n').toUtf8());
  process_.waitForBytesWritten(30000);
}

void TSimulatorProcess::ReadOutput() {
  partial_ += process_.readAllStandardOutput();
  qsizetype end;
  while ((end = partial_.indexOf('\n')) >= 0) {
    lines_ << QString::fromUtf8(partial_.left(end));
    partial_.remove(0, end + 1);
  }
}

QString TSimulatorProcess::WaitForOutput(const QString& prefix, int timeoutMs) {
  QString found;
  WaitUntil(
      [&] {
        ReadOutput();
        for (int i = consumed_; i < lines_.size(); ++i) {
          if (lines_.at(i).startsWith(prefix)) {
            found = lines_.at(i);
            consumed_ = i + 1;
            return true;
          }
        }
        return false;
      },
      timeoutMs);
  return found;
}

QStringList TSimulatorProcess::Output() {
  ReadOutput();
  return lines_;
}

bool TSimulatorProcess::Received(const QString& command) {
  return Output().contains(QStringLiteral("got ") + command);
}
