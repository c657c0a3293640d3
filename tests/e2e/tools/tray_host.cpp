// A tray for tests on a bare X server: owns org.kde.StatusNotifierWatcher on
// the session bus and announces a host, so programs show their tray icons
// through it. Prints, one line each:
//   ready
//   registered <service> <ms since the epoch>
//   unregistered <service> <ms since the epoch>
// Commands on standard input act on the last registered item, as a panel
// does when the icon is clicked: "context X Y" (right button),
// "activate X Y" (left click), "secondary X Y" (middle click).
#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDateTime>
#include <QSocketNotifier>
#include <QStringList>
#include <cstdio>
#include <unistd.h>

namespace {

void Say(const QString& line) {
  std::printf("%s\n", line.toUtf8().constData());
  std::fflush(stdout);
}

QString Now() { return QString::number(QDateTime::currentMSecsSinceEpoch()); }

}  // namespace

class Watcher : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
  Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ Items)
  Q_PROPERTY(bool IsStatusNotifierHostRegistered READ HostRegistered)
  Q_PROPERTY(int ProtocolVersion READ ProtocolVersion)

 public:
  explicit Watcher(QObject* parent) : QDBusAbstractAdaptor(parent) {
    owners_.setConnection(QDBusConnection::sessionBus());
    owners_.setWatchMode(QDBusServiceWatcher::WatchForUnregistration);
    connect(&owners_, &QDBusServiceWatcher::serviceUnregistered, this, [this](const QString& s) {
      items_.removeAll(s);
      Say("unregistered " + s + " " + Now());
      emit StatusNotifierItemUnregistered(s);
    });
  }

  QStringList Items() const { return items_; }
  bool HostRegistered() const { return true; }
  int ProtocolVersion() const { return 0; }
  QString LastItem() const { return items_.isEmpty() ? QString() : items_.last(); }

 public slots:
  void RegisterStatusNotifierItem(const QString& service, const QDBusMessage& message) {
    // An item may name itself by bus name or by object path on its sender.
    const QString name = service.startsWith('/') ? message.service() : service;
    if (!items_.contains(name)) items_ << name;
    owners_.addWatchedService(name);
    Say("registered " + name + " " + Now());
    emit StatusNotifierItemRegistered(name);
  }
  void RegisterStatusNotifierHost(const QString&) {}

 signals:
  void StatusNotifierItemRegistered(const QString& service);
  void StatusNotifierItemUnregistered(const QString& service);
  void StatusNotifierHostRegistered();

 private:
  QStringList items_;
  QDBusServiceWatcher owners_;
};

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QDBusConnection bus = QDBusConnection::sessionBus();
  QObject root;
  auto* watcher = new Watcher(&root);
  if (!bus.registerObject("/StatusNotifierWatcher", &root, QDBusConnection::ExportAdaptors) ||
      !bus.registerService("org.kde.StatusNotifierWatcher")) {
    std::fprintf(stderr, "tray_host: cannot own org.kde.StatusNotifierWatcher\n");
    return 1;
  }
  QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
  QObject::connect(&input, &QSocketNotifier::activated, [&] {
    char buffer[256];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer - 1);
    if (n <= 0) {
      QCoreApplication::quit();
      return;
    }
    for (const QString& line : QString::fromUtf8(buffer, int(n)).split('\n', Qt::SkipEmptyParts)) {
      const QStringList words = line.split(' ', Qt::SkipEmptyParts);
      if (words.size() != 3 || watcher->LastItem().isEmpty()) continue;
      static const QHash<QString, QString> methods{
          {"context", "ContextMenu"}, {"activate", "Activate"}, {"secondary", "SecondaryActivate"}};
      if (!methods.contains(words[0])) continue;
      QDBusMessage call = QDBusMessage::createMethodCall(
          watcher->LastItem(), "/StatusNotifierItem", "org.kde.StatusNotifierItem", methods[words[0]]);
      call << words[1].toInt() << words[2].toInt();
      bus.asyncCall(call);
    }
  });
  Say("ready");
  return app.exec();
}

#include "tray_host.moc"
