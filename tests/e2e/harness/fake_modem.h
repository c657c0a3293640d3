#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// tools/fakemodem as a child process: a caller-ID modem on a pseudo-terminal
// reached through `linkPath`. The constructor waits for the modem's
// readiness line; check Started().
class FakeModem {
 public:
  explicit FakeModem(const QString& linkPath, const QStringList& options = {});
  ~FakeModem();
  FakeModem(const FakeModem&) = delete;
  FakeModem& operator=(const FakeModem&) = delete;

  bool Started() const { return started_; }
  const QString& LinkPath() const { return link_; }

  // Sends one command ("call 5551234 Ann", "unplug", ...) to the modem.
  void Command(const QString& line);
  // Waits for the modem to print a line starting with `prefix` ("got ATZ"),
  // skipping others; returns it, or "" after `timeoutMs`.
  QString WaitForOutput(const QString& prefix, int timeoutMs = 60000);
  // Sends "unplug" and waits until the link is gone.
  bool Unplug(int timeoutMs = 30000);

 private:
  QString link_;
  QProcess process_;
  bool started_ = false;
};

// The fakemodem program built with the project.
QString FakeModemProgram();
