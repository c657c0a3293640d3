#include "notification_server.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QProcessEnvironment>

NotificationServer::NotificationServer(const QString& busAddress) : busAddress_(busAddress) {}

NotificationServer::~NotificationServer() {
  if (process_.state() == QProcess::NotRunning) return;
  process_.closeWriteChannel();  // the tool ends at the end of its input
  if (!process_.waitForFinished(10000)) {
    process_.kill();
    process_.waitForFinished(10000);
  }
}

bool NotificationServer::Start() {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  if (!busAddress_.isEmpty()) env.insert("DBUS_SESSION_BUS_ADDRESS", busAddress_);
  process_.setProcessEnvironment(env);
  process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process_.start(QStringLiteral(QUORVEL_TEST_NOTIFICATION_SERVER), {});
  return !WaitForLine("ready", 60000).isEmpty();
}

QString NotificationServer::WaitForLine(const QString& prefix, int timeoutMs) {
  const QDeadlineTimer deadline(timeoutMs);
  for (;;) {
    while (process_.canReadLine()) {
      const QString line = QString::fromUtf8(process_.readLine()).trimmed();
      if (line.startsWith(prefix)) return line;
    }
    if (deadline.hasExpired() || process_.state() == QProcess::NotRunning) return QString();
    // The program under test may be this process: its answers need the loop.
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    process_.waitForReadyRead(20);
  }
}

QJsonObject NotificationServer::WaitForNotify(int timeoutMs) {
  const QString line = WaitForLine("notify ", timeoutMs);
  if (line.isEmpty()) return {};
  return QJsonDocument::fromJson(line.mid(int(qstrlen("notify "))).toUtf8()).object();
}

void NotificationServer::Invoke(qint64 id, const QString& key) {
  Command(QStringLiteral("invoke %1 %2").arg(id).arg(key));
}

void NotificationServer::Dismiss(qint64 id) { Command(QStringLiteral("close %1").arg(id)); }

void NotificationServer::Command(const QString& line) {
  process_.write((line + "\n").toUtf8());
  process_.waitForBytesWritten(10000);
}
