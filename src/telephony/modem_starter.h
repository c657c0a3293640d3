#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

#include "telephony/line_timings.h"
#include "telephony/modem_commands.h"

namespace platform {
class TSerialDevice;
}

// Runs the opening sequence on a freshly opened device through the event
// loop, each reply awaited with a timer, so opening a line never stalls the
// program however slow or silent the modem is.
class TModemStarter : public QObject {
  Q_OBJECT

 public:
  TModemStarter(std::unique_ptr<platform::TSerialDevice> device, const TLineTimings& timings);
  ~TModemStarter() override;

  // Sends the first command; Finished follows later, never from within.
  void Start();
  // Stops the sequence and closes the device now; nothing follows. Safe
  // from within the device's signals (delete the starter later).
  void Abandon();
  // After Finished(true): the device, watched, with caller ID on.
  std::unique_ptr<platform::TSerialDevice> TakeDevice();
  // After Finished: what the modem sent after its last reply.
  const QByteArray& Unread() const { return unread_; }
  // After Finished(false): the user's message.
  QString Failure() const;
  // After Finished(true): the command that switched caller ID on.
  QByteArray EnableCommand() const;

 signals:
  void Finished(bool callerIdOn);

 private:
  void SendCurrent();
  void HandleData(const QByteArray& data);
  void HandleReply(ModemCommands::TReply reply);

  std::unique_ptr<platform::TSerialDevice> device_;
  TLineTimings timings_;
  ModemCommands::TCallerIdSequence sequence_;
  QByteArray answer_;
  QByteArray unread_;
  QTimer replyTimer_;
};
