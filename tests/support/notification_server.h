#pragma once

#include <QJsonObject>
#include <QProcess>
#include <QString>

// A notification service of the test's own (tools/notification_server.cpp)
// on a session bus: it records every notification sent to it exactly and
// acts on them as a desktop's user would.
class NotificationServer {
 public:
  // On the bus at `busAddress`; empty: the test's own session bus.
  explicit NotificationServer(const QString& busAddress = {});
  ~NotificationServer();
  NotificationServer(const NotificationServer&) = delete;
  NotificationServer& operator=(const NotificationServer&) = delete;

  // Starts it; true once it owns org.freedesktop.Notifications.
  bool Start();
  // The next notification received (Notify's arguments and the id given,
  // as the tool prints them), waiting up to `timeoutMs` with the event loop
  // running; an empty object when none came.
  QJsonObject WaitForNotify(int timeoutMs = 60000);
  // The user chose action `key` of notification `id`.
  void Invoke(qint64 id, const QString& key);
  // The user dismissed notification `id`.
  void Dismiss(qint64 id);

 private:
  QString WaitForLine(const QString& prefix, int timeoutMs);
  void Command(const QString& line);

  QString busAddress_;
  QProcess process_;
};
