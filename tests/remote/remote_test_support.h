#pragma once

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Keeps the event loop running until `done` holds or `timeoutMs` passes.
// Returns whether `done` came true.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 30000);

// A bus name no other test (or test run) uses.
QString UniqueBusName(const QString& tag);

QString DdeReceiverPath();
QString ReadFileText(const QString& path);
// Write `content` to `path`, for the user alone to read and write, and in
// WriteProgram's case to run. False if that failed.
bool WriteFile(const QString& path, const QByteArray& content = {});
bool WriteProgram(const QString& path, const QByteArray& content);

// One call as dde-receiver prints it: the method and its arguments.
struct TReceivedCall {
  QString method;
  QStringList arguments;
  bool operator==(const TReceivedCall&) const = default;
};
// The calls in dde-receiver's output; the "ready" line is not one.
std::vector<TReceivedCall> ParseReceiverOutput(const QString& output);
std::ostream& operator<<(std::ostream& out, const TReceivedCall& call);

// A dbus-daemon of the test's own, which the test may stop with SIGSTOP, as
// a stalled session bus. It is resumed and ended with the object.
class TPrivateBus {
 public:
  TPrivateBus();
  ~TPrivateBus();
  bool Ready() const { return connection_.isConnected(); }
  const QString& Address() const { return address_; }
  QDBusConnection Connection() const { return connection_; }
  void Stop();
  void Resume();

 private:
  QProcess daemon_;
  QString address_;
  QDBusConnection connection_;
};

// The longest time the event loop went without running a timer, from the
// meter's start until it is read.
class TLoopStallMeter {
 public:
  TLoopStallMeter();
  qint64 LongestStallMs() const { return longest_; }

 private:
  QTimer tick_;
  QElapsedTimer sinceTick_;
  qint64 longest_ = 0;
};

// A dde-receiver owning a bus name, run for one test, on the session bus or
// on the bus at `busAddress`.
class TReceiverProcess {
 public:
  explicit TReceiverProcess(const QString& busName, const QString& busAddress = {});
  ~TReceiverProcess();

  // Waits for the receiver's readiness line; false if it never came.
  bool Start();
  qint64 Pid() const { return process_.processId(); }
  // Waits until `count` calls have been printed; returns the calls so far.
  std::vector<TReceivedCall> WaitForCalls(std::size_t count, int timeoutMs = 30000);

 private:
  QString busName_;
  QProcess process_;
  QString output_;
};

// Sets an environment variable for a test's duration.
class TScopedEnv {
 public:
  TScopedEnv(const char* name, const QByteArray& value);
  ~TScopedEnv();

 private:
  const char* name_;
  std::optional<QByteArray> previous_;
};

// Points the process's standard output at a file while it lives; programs
// started meanwhile keep writing there.
class TStdoutToFile {
 public:
  explicit TStdoutToFile(const QString& path);
  ~TStdoutToFile();

 private:
  int saved_ = -1;
};

// The pid owning `busName`, or 0.
quint32 BusNameOwnerPid(const QString& busName);
bool BusNameOwned(const QString& busName);
