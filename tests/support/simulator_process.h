#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// A line simulator (fakemodem, fakeserver) running as a child process.
// Waits for the simulator's own reports instead of sleeping.
class TSimulatorProcess {
 public:
  // Starts `program` with `arguments` and waits for its "ready" line.
  // Check Started() afterwards.
  TSimulatorProcess(const QString& program, const QStringList& arguments);
  ~TSimulatorProcess();

  bool Started() const { return !ready_.isEmpty(); }
  // The readiness line, "ready <detail>".
  const QString& ReadyLine() const { return ready_; }

  // Sends one command line to the simulator's standard input.
  void Command(const QString& line);

  // Waits until the simulator has printed a line starting with `prefix` that
  // had not been waited for yet; returns that line, or "" after the time bound.
  QString WaitForOutput(const QString& prefix, int timeoutMs = 30000);
  // Every line the simulator has printed so far.
  QStringList Output();
  // True when the simulator received `command` from the program ("got ...").
  bool Received(const QString& command);

 private:
  void ReadOutput();

  QProcess process_;
  QStringList lines_;
  QByteArray partial_;
  int consumed_ = 0;  // lines_ before this index were matched by WaitForOutput
  QString ready_;
};

// fakemodem, its link in a folder of the caller's choosing.
class TFakeModemProcess : public TSimulatorProcess {
 public:
  TFakeModemProcess(const QString& linkPath, const QStringList& options = {})
      : TSimulatorProcess(QStringLiteral(FAKEMODEM_PATH), QStringList{"--link", linkPath} + options), link_(linkPath) {}
  const QString& LinkPath() const { return link_; }

 private:
  QString link_;
};

// fakeserver as an NCID server ("ncid") or a FRITZ!Box ("fritzbox") on a
// free local port.
class TFakeServerProcess : public TSimulatorProcess {
 public:
  TFakeServerProcess(const QString& kind, const QStringList& options = {})
      : TSimulatorProcess(QStringLiteral(FAKESERVER_PATH), QStringList{"--" + kind} + options), kind_(kind) {}
  int Port() const { return ReadyLine().section(' ', 1).toInt(); }
  // The line's name: "ncid://127.0.0.1:<port>".
  QString Url(const QString& host = "127.0.0.1") const {
    return QString("%1://%2:%3").arg(kind_, host).arg(Port());
  }

 private:
  QString kind_;
};
