#include "platform/dde_client_conv.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QEventLoop>
#include <QFile>
#include <QStringList>
#include <QTimer>

#include "platform/dbus_names.h"
#include "platform/process_start.h"

namespace platform {
namespace {

// The launch of "service topic": the service is the program, the topic's
// words are its arguments, as a command line made of the two would give.
bool LaunchService(const QString& service, const QString& topic) {
  std::vector<std::string> arguments;
  for (const QString& word : topic.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
    arguments.push_back(word.toStdString());
  }
  return StartProcessDetached(QFile::encodeName(service).toStdString(), arguments) == 0;
}

constexpr char kBusService[] = "org.freedesktop.DBus";
constexpr char kBusPath[] = "/org/freedesktop/DBus";
constexpr char kBusInterface[] = "org.freedesktop.DBus";
constexpr char kNameHasOwner[] = "NameHasOwner";

}  // namespace

TDdeClientConv::TDdeClientConv(QDBusConnection bus) : bus_(std::move(bus)) {}

void TDdeClientConv::SetLink(const QString& service, const QString& topic) {
  CloseLink();
  service_ = service;
  topic_ = topic;
}

bool TDdeClientConv::Connect() {
  if (!IsValidBusName(service_) || !bus_.isConnected()) return false;
  QDBusMessage query = QDBusMessage::createMethodCall(
      QString::fromLatin1(kBusService), QString::fromLatin1(kBusPath),
      QString::fromLatin1(kBusInterface), QString::fromLatin1(kNameHasOwner));
  query << service_;
  QDBusPendingReply<bool> reply = bus_.asyncCall(query, kBusQueryTimeoutMs);
  if (!reply.isFinished()) {
    // The bus ends the call with an error after the timeout; the timer is
    // the bound should that error never come.
    QEventLoop loop;
    QDBusPendingCallWatcher watcher(reply);
    QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
    QTimer bound;
    bound.setSingleShot(true);
    QObject::connect(&bound, &QTimer::timeout, &loop, &QEventLoop::quit);
    bound.start(kBusQueryTimeoutMs);
    // As in DelayWithMessages: what was posted before the wait runs in it.
    QCoreApplication::sendPostedEvents();
    loop.exec();
  }
  return reply.isFinished() && reply.isValid() && reply.value();
}

bool TDdeClientConv::OpenLink() {
  CloseLink();
  if (service_.isEmpty() && topic_.isEmpty()) return false;
  open_ = Connect();
  if (!open_ && !service_.isEmpty() && LaunchService(service_, topic_)) open_ = Connect();
  return open_;
}

bool TDdeClientConv::Send(const char* method, const QList<QVariant>& arguments) {
  if (!open_) return false;
  QDBusMessage message = QDBusMessage::createMethodCall(
      service_, QString::fromLatin1(kDdeObjectPath), QString::fromLatin1(kDdeInterface),
      QString::fromLatin1(method));
  message.setArguments(arguments);
  // The target must already run: a call never starts a service by itself.
  message.setAutoStartService(false);
  // send() marks the call as expecting no reply and returns at once; calls
  // from one connection reach the target in the order they were sent.
  return bus_.send(message);
}

bool TDdeClientConv::PokeData(const QString& item, const QString& data) {
  return Send(kDdePokeMethod, {topic_, item, data});
}

bool TDdeClientConv::ExecuteMacro(const QString& command) {
  return Send(kDdeExecuteMethod, {topic_, command});
}

}  // namespace platform
