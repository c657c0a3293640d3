#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// fakemodem running as a child process, its link in a folder of the caller's
// choosing. Waits for the modem's own reports instead of sleeping.
class TFakeModemProcess {
 public:
  // Starts fakemodem with `--link linkPath` and `options`, and waits for its
  // readiness line. Check Started() afterwards.
  TFakeModemProcess(const QString& linkPath, const QStringList& options = {});
  ~TFakeModemProcess();

  bool Started() const { return started_; }
  const QString& LinkPath() const { return link_; }

  // Sends one command line to the modem's standard input.
  void Command(const QString& line);

  // Waits until the modem has printed a line starting with `prefix` that had
  // not been waited for yet; returns that line, or "" after the time bound.
  QString WaitForOutput(const QString& prefix, int timeoutMs = 30000);
  // Every line the modem has printed so far.
  QStringList Output();
  // True when the modem received `command` from the line ("got ...").
  bool Received(const QString& command);

 private:
  void ReadOutput();

  QString link_;
  QProcess process_;
  QStringList lines_;
  QByteArray partial_;
  int consumed_ = 0;  // lines_ before this index were matched by WaitForOutput
  bool started_ = false;
};
