#include "platform/dde_client_conv.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QFile>
#include <QStringList>

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

}  // namespace

void TDdeClientConv::SetLink(const QString& service, const QString& topic) {
  CloseLink();
  service_ = service;
  topic_ = topic;
}

bool TDdeClientConv::Connect() const {
  if (!IsValidBusName(service_)) return false;
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return false;
  const QDBusReply<bool> registered = bus.interface()->isServiceRegistered(service_);
  return registered.isValid() && registered.value();
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
  return QDBusConnection::sessionBus().send(message);
}

bool TDdeClientConv::PokeData(const QString& item, const QString& data) {
  return Send(kDdePokeMethod, {topic_, item, data});
}

bool TDdeClientConv::ExecuteMacro(const QString& command) {
  return Send(kDdeExecuteMethod, {topic_, command});
}

}  // namespace platform
