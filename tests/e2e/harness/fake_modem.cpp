#include "fake_modem.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>
#include <algorithm>

QString FakeModemProgram() { return QStringLiteral(QUORVEL_E2E_FAKEMODEM); }

FakeModem::FakeModem(const QString& linkPath, const QStringList& options) : link_(linkPath) {
  process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process_.start(FakeModemProgram(), QStringList{"--link", linkPath} + options);
  if (!process_.waitForStarted(30000)) return;
  QDeadlineTimer deadline(30000);
  while (!deadline.hasExpired()) {
    while (process_.canReadLine()) {
      if (process_.readLine().startsWith("ready")) {
        started_ = true;
        return;
      }
    }
    if (!process_.waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime())))) break;
  }
}

FakeModem::~FakeModem() {
  if (process_.state() == QProcess::NotRunning) return;
  process_.write("quit\n");
  process_.closeWriteChannel();
  if (!process_.waitForFinished(10000)) {
    process_.kill();
    process_.waitForFinished(10000);
  }
}

void FakeModem::Command(const QString& line) {
  process_.write((line + QLatin1Char('\n')).toUtf8());
  process_.waitForBytesWritten(10000);
}

bool FakeModem::Unplug(int timeoutMs) {
  Command(QStringLiteral("unplug"));
  QDeadlineTimer deadline(timeoutMs);
  while (QFileInfo::exists(link_) || QFileInfo(link_).isSymLink()) {
    if (deadline.hasExpired()) return false;
    QThread::msleep(10);
  }
  return true;
}

QString FakeModem::WaitForOutput(const QString& prefix, int timeoutMs) {
  QDeadlineTimer deadline(timeoutMs);
  for (;;) {
    while (process_.canReadLine()) {
      const QString line = QString::fromUtf8(process_.readLine()).trimmed();
      if (line.startsWith(prefix)) return line;
    }
    if (deadline.hasExpired() || process_.state() == QProcess::NotRunning) return QString();
    process_.waitForReadyRead(int(std::clamp<qint64>(deadline.remainingTime(), 1, 1000)));
  }
}
