#include "tray_availability.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QSystemTrayIcon>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <xcb/xcb.h>

namespace platform {
namespace {

constexpr char kWatcherService[] = "org.kde.StatusNotifierWatcher";
constexpr char kWatcherPath[] = "/StatusNotifierWatcher";
constexpr int kPollIntervalMs = 100;

}  // namespace

bool StatusNotifierHostPresent() {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return false;
  const QString service = QString::fromLatin1(kWatcherService);
  if (!bus.interface()->isServiceRegistered(service)) return false;
  QDBusMessage get = QDBusMessage::createMethodCall(
      service, QString::fromLatin1(kWatcherPath), QStringLiteral("org.freedesktop.DBus.Properties"),
      QStringLiteral("Get"));
  get << service << QStringLiteral("IsStatusNotifierHostRegistered");
  const QDBusReply<QDBusVariant> reply = bus.call(get, QDBus::Block, 1000);
  return reply.isValid() && reply.value().variant().toBool();
}

bool X11SystemTrayPresent() {
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  if (!x11 || !x11->connection()) return false;
  xcb_connection_t* c = x11->connection();
  // The tray of the default screen, as Qt's own X11 tray icon uses.
  int screen = 0;
  if (const char* display = std::getenv("DISPLAY")) {
    const std::string d(display);
    const auto dot = d.rfind('.');
    if (dot != std::string::npos && dot > d.rfind(':')) screen = std::atoi(d.c_str() + dot + 1);
  }
  const std::string name = "_NET_SYSTEM_TRAY_S" + std::to_string(screen);
  xcb_intern_atom_reply_t* atom =
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, uint16_t(name.size()), name.c_str()), nullptr);
  if (!atom) return false;
  const xcb_atom_t selection = atom->atom;
  std::free(atom);
  if (selection == XCB_ATOM_NONE) return false;  // nobody ever claimed it
  xcb_get_selection_owner_reply_t* owner =
      xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr);
  if (!owner) return false;
  const bool present = owner->owner != XCB_WINDOW_NONE;
  std::free(owner);
  return present;
}

bool WaitForSystemTray(int maxMs) {
  // Qt's first question about the tray fixes its answer about the
  // StatusNotifierItem host for the whole process, so it is asked only after
  // this wait.
  const QDeadlineTimer deadline(maxMs);
  while (!StatusNotifierHostPresent() && !X11SystemTrayPresent() && !deadline.hasExpired()) {
    QEventLoop loop;
    QTimer::singleShot(std::min<qint64>(kPollIntervalMs, deadline.remainingTime()), &loop,
                       &QEventLoop::quit);
    if (loop.exec() < 0) break;  // the application is ending: no loop runs any more
  }
  return QSystemTrayIcon::isSystemTrayAvailable();
}

}  // namespace platform
