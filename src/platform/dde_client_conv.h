#pragma once

#include <QDBusConnection>
#include <QString>

namespace platform {

inline constexpr char kDdeObjectPath[] = "/";
inline constexpr char kDdeInterface[] = "org.varnock.Quorvel.Dde";
inline constexpr char kDdePokeMethod[] = "Poke";
inline constexpr char kDdeExecuteMethod[] = "Execute";
// How long an open waits for the bus to say whether the target runs; a bus
// that has not answered by then counts as "not open".
inline constexpr int kBusQueryTimeoutMs = 500;

// A client conversation with another application, carried over the D-Bus
// session bus: the service is the target's bus name, the topic travels with
// every call. Pokes and executes are sent in order and never wait for an
// answer. At most one conversation is open at a time.
class TDdeClientConv {
 public:
  // Talks over `bus`. Its connection is made now, at start, so that a bus
  // that stalls later can never hold up a forwarding while it connects.
  explicit TDdeClientConv(QDBusConnection bus = QDBusConnection::sessionBus());

  // Closes any open conversation, then records the target of the next open.
  void SetLink(const QString& service, const QString& topic);

  // Opens the conversation with the recorded target: it is open when the
  // service's bus name has an owner. Failing that, and with a service given,
  // launches "service topic" as a program and tries once more. Both texts
  // empty, or a service that is no valid bus name, never open. Each question
  // to the bus is asynchronous: the event loop runs while it waits, at most
  // kBusQueryTimeoutMs, so events and handlers may run nested inside.
  bool OpenLink();

  bool IsOpen() const { return open_; }
  const QString& DdeService() const { return service_; }
  const QString& DdeTopic() const { return topic_; }

  // Sends Poke(topic, item, data) to the open conversation. Returns whether
  // the message was handed to the bus (not whether the target took it).
  bool PokeData(const QString& item, const QString& data);

  // Sends Execute(topic, command) to the open conversation; like PokeData.
  bool ExecuteMacro(const QString& command);

  // Forgets the conversation; the recorded target stays.
  void CloseLink() { open_ = false; }

 private:
  bool Connect();
  bool Send(const char* method, const QList<QVariant>& arguments);

  QDBusConnection bus_;
  QString service_;
  QString topic_;
  bool open_ = false;
};

}  // namespace platform
