// dde-receiver BUS_NAME: owns BUS_NAME on the session bus and prints every
// Poke and Execute it receives, one line each with a millisecond timestamp:
//   2026-12-08 07:16:10.123 Poke "topic" "item" "data"
//   2026-12-08 07:16:10.431 Execute "topic" "command"
// Once the name is owned it prints "ready BUS_NAME". It runs until killed, or
// until the bus goes away.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QTimer>
#include <cstdio>

#include "dde_receiver.h"

namespace {
constexpr int kBusCheckIntervalMs = 500;
}

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: dde-receiver BUS_NAME\n");
    return 2;
  }
  const QString busName = QString::fromLocal8Bit(argv[1]);
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    std::fprintf(stderr, "dde-receiver: no session bus: %s\n",
                 qPrintable(bus.lastError().message()));
    return 1;
  }
  TDdeReceiver receiver;
  if (!bus.registerObject(QStringLiteral("/"), &receiver, QDBusConnection::ExportAllSlots)) {
    std::fprintf(stderr, "dde-receiver: cannot register the object\n");
    return 1;
  }
  if (!bus.registerService(busName)) {
    std::fprintf(stderr, "dde-receiver: cannot own %s: %s\n", argv[1],
                 qPrintable(bus.lastError().message()));
    return 1;
  }
  std::printf("ready %s\n", argv[1]);
  std::fflush(stdout);

  QTimer busCheck;
  QObject::connect(&busCheck, &QTimer::timeout, &app, [&] {
    if (!QDBusConnection::sessionBus().isConnected()) app.exit(0);
  });
  busCheck.start(kBusCheckIntervalMs);
  return app.exec();
}
