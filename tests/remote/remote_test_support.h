#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "remote/remote_profile_fields.h"

// Profile fields held as plain values, standing in for the Remote Setup
// dialog that the actions read.
class TProfileValues : public TRemoteProfileFields {
 public:
  bool ddeLink = false;
  QString application, topic, exePath, dbPath, pokeData, pokeLocation;
  bool startExe = false;
  QStringList commands;

  bool DdeLinkSelected() const override { return ddeLink; }
  QString Application() const override { return application; }
  QString Topic() const override { return topic; }
  bool StartExe() const override { return startExe; }
  QString ExePath() const override { return exePath; }
  QString DBPath() const override { return dbPath; }
  QString PokeData() const override { return pokeData; }
  QString PokeLocation() const override { return pokeLocation; }
  int CommandLineCount() const override { return static_cast<int>(commands.size()); }
  QString CommandLine(int index) const override { return commands.at(index); }
  QString CommandsText() const override { return commands.join(QStringLiteral("\r\n")); }
};

// Keeps the event loop running until `done` holds or `timeoutMs` passes.
// Returns whether `done` came true.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 30000);

// A bus name no other test (or test run) uses.
QString UniqueBusName(const QString& tag);

QString DdeReceiverPath();
QString ReadFileText(const QString& path);

// One call as dde-receiver prints it: the method and its arguments.
struct TReceivedCall {
  QString method;
  QStringList arguments;
  bool operator==(const TReceivedCall&) const = default;
};
// The calls in dde-receiver's output; the "ready" line is not one.
std::vector<TReceivedCall> ParseReceiverOutput(const QString& output);
std::ostream& operator<<(std::ostream& out, const TReceivedCall& call);

// A dde-receiver owning a bus name, run for one test.
class TReceiverProcess {
 public:
  explicit TReceiverProcess(const QString& busName);
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
