#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include "telephony/line_monitor.h"

// A fakemodem process on a pseudo-terminal and a line monitor watching it.
class FakeModemLine {
 public:
  // Starts `fakemodemPath --link linkPath`, waits for it to be ready and opens
  // the line. Check Ok() afterwards; Error() says what went wrong.
  FakeModemLine(const QString& fakemodemPath, const QString& linkPath,
                const QStringList& options = {});
  ~FakeModemLine();

  bool Ok() const { return error_.isEmpty(); }
  const QString& Error() const { return error_; }
  TLineMonitor& Monitor() { return monitor_; }

  // Sends one command line to fakemodem ("call 555 Alice", "raw NAME = x").
  void Send(const QString& command);
  // The lines fakemodem printed since the last call (e.g. its --trace lines).
  QStringList TakeOutput();

 private:
  QProcess process_;
  TLineMonitor monitor_;
  QString error_;
  QByteArray output_;
};
