#pragma once

#include <QByteArray>
#include <QString>
#include <QTimer>
#include <memory>

#include "platform/uucp_lock.h"
#include "telephony/caller_id_parser.h"
#include "telephony/open_line.h"

namespace platform {
class TSerialDevice;
}
class TModemStarter;

// A caller-ID modem on a serial device, named by its path. Opening takes
// the UUCP lock, refuses a device another process holds open, and runs the
// opening sequence with caller ID enable. A device that goes away (a USB
// modem pulled out) is tried again every reopen interval until it answers.
class TSerialModemLine : public TOpenLine {
  Q_OBJECT

 public:
  TSerialModemLine(const QString& path, const TLineTimings& timings);
  ~TSerialModemLine() override;

  void Start() override;
  void Close() override;
  void RestoreCallerId() override;

 private:
  // Opens the device and starts the opening sequence; the user's message
  // when that cannot even begin.
  QString Begin();
  void HandleStarted(bool callerIdOn);
  void HandleData(const QByteArray& data);
  void HandleLost();
  void Retry();
  // Closes the device (and the sequence on it) now, then lets the lock go.
  void Release();

  QString path_;
  TLineTimings timings_;
  bool opened_ = false;  // Opened was reported
  platform::TUucpLock lock_;
  std::unique_ptr<platform::TSerialDevice> device_;
  // The opening sequence, while it runs.
  std::unique_ptr<TModemStarter> starter_;
  TModemParser parser_;
  QByteArray enableCommand_;
  QTimer retryTimer_;
};
