#pragma once

#include <QByteArray>
#include <QObject>
#include <QTimer>
#include <memory>

#include "telephony/modem_commands.h"

namespace platform {
class TSerialDevice;
}

// Runs the opening sequence on a freshly opened device through the event
// loop instead of waiting for each reply, so that trying a line again in
// the background never stalls the program (a silent device would hold it
// up for seconds every time).
class TModemStarter : public QObject {
  Q_OBJECT

 public:
  explicit TModemStarter(std::unique_ptr<platform::TSerialDevice> device);
  ~TModemStarter() override;

  // Sends the first command; Finished follows later, never from within.
  void Start();
  // After Finished(true): the device, watched, with caller ID on.
  std::unique_ptr<platform::TSerialDevice> TakeDevice();
  // After Finished: what the modem sent after its last reply.
  const QByteArray& Unread() const { return unread_; }

 signals:
  void Finished(bool callerIdOn);

 private:
  void SendCurrent();
  void HandleData(const QByteArray& data);
  void HandleReply(ModemCommands::TReply reply);

  std::unique_ptr<platform::TSerialDevice> device_;
  ModemCommands::TCallerIdSequence sequence_;
  QByteArray answer_;
  QByteArray unread_;
  QTimer replyTimer_;
};
