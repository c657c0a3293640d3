// A desktop's notification service for tests: owns
// org.freedesktop.Notifications on the session bus and prints, one line each:
//   ready
//   notify {"id":N,"app_name":...,"replaces_id":...,"app_icon":...,
//           "summary":...,"body":...,"actions":[...],"hints":{...},
//           "expire_timeout":...}     (one line of JSON after "notify ")
//   closed-by-client ID
// Commands on standard input send the service's signals, as a desktop does
// when the user acts on a notification:
//   invoke ID KEY      ActionInvoked(ID, KEY)
//   close ID           NotificationClosed(ID, 2: dismissed by the user)
#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSocketNotifier>
#include <QStringList>
#include <QVariantMap>
#include <cstdio>
#include <unistd.h>

namespace {

void Say(const QString& line) {
  std::printf("%s\n", line.toUtf8().constData());
  std::fflush(stdout);
}

constexpr quint32 kDismissedByUser = 2;

}  // namespace

class Notifications : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

 public:
  explicit Notifications(QObject* parent) : QDBusAbstractAdaptor(parent) {}

  void Invoke(quint32 id, const QString& key) { emit ActionInvoked(id, key); }
  void Dismiss(quint32 id) { emit NotificationClosed(id, kDismissedByUser); }

 public slots:
  QStringList GetCapabilities() {
    return {"actions", "body", "body-markup", "icon-static", "persistence"};
  }

  quint32 Notify(const QString& appName, quint32 replacesId, const QString& appIcon,
                 const QString& summary, const QString& body, const QStringList& actions,
                 const QVariantMap& hints, int expireTimeout) {
    const quint32 id = replacesId != 0 ? replacesId : ++lastId_;
    QJsonObject record{{"id", qint64(id)},
                       {"app_name", appName},
                       {"replaces_id", qint64(replacesId)},
                       {"app_icon", appIcon},
                       {"summary", summary},
                       {"body", body},
                       {"actions", QJsonArray::fromStringList(actions)},
                       {"hints", QJsonObject::fromVariantMap(hints)},
                       {"expire_timeout", expireTimeout}};
    Say("notify " + QString::fromUtf8(QJsonDocument(record).toJson(QJsonDocument::Compact)));
    return id;
  }

  void CloseNotification(quint32 id) {
    Say("closed-by-client " + QString::number(id));
    emit NotificationClosed(id, 3);
  }

  QString GetServerInformation(QString& vendor, QString& version, QString& specVersion) {
    vendor = "Quorvel tests";
    version = "1";
    specVersion = "1.2";
    return "test-notification-server";
  }

 signals:
  void NotificationClosed(quint32 id, quint32 reason);
  void ActionInvoked(quint32 id, const QString& key);

 private:
  quint32 lastId_ = 0;
};

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QObject root;
  auto* service = new Notifications(&root);
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.registerObject("/org/freedesktop/Notifications", &root) ||
      !bus.registerService("org.freedesktop.Notifications")) {
    std::fprintf(stderr, "notification_server: cannot own the service\n");
    return 1;
  }
  Say("ready");

  QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
  QByteArray pending;
  QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
    char buffer[512];
    const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
    if (n <= 0) {
      app.quit();
      return;
    }
    pending.append(buffer, n);
    int end;
    while ((end = pending.indexOf('\n')) >= 0) {
      const QStringList words = QString::fromUtf8(pending.left(end)).split(' ', Qt::SkipEmptyParts);
      pending.remove(0, end + 1);
      if (words.size() == 3 && words[0] == "invoke") service->Invoke(words[1].toUInt(), words[2]);
      if (words.size() == 2 && words[0] == "close") service->Dismiss(words[1].toUInt());
    }
  });
  return app.exec();
}

#include "notification_server.moc"
