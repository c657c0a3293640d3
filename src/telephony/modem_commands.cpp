#include "telephony/modem_commands.h"

#include <QElapsedTimer>

#include "platform/serial_device.h"
#include "telephony/line_assembler.h"
#include "telephony/line_error.h"

namespace ModemCommands {

TReply FinalReply(const QByteArray& answer) {
  TLineAssembler assembler;
  // A final line end completes a reply that arrived without one so far.
  for (const QByteArray& line : assembler.Feed(answer + '\n')) {
    const QByteArray code = line.trimmed();
    if (code == "OK") return TReply::kOk;
    if (code == "ERROR") return TReply::kError;
  }
  return TReply::kNone;
}

TReply Send(platform::TSerialDevice& device, const char* command, int timeoutMs) {
  device.DiscardInput();
  if (!device.Write(QByteArray(command) + kCommandEnd)) return TReply::kNone;
  QByteArray answer;
  QElapsedTimer clock;
  clock.start();
  for (;;) {
    const qint64 left = timeoutMs - clock.elapsed();
    if (left <= 0) return TReply::kNone;
    bool lost = false;
    answer += device.ReadFor(static_cast<int>(left), &lost);
    const TReply reply = FinalReply(answer);
    if (reply != TReply::kNone || lost) return reply;
  }
}

void EnableCallerId(platform::TSerialDevice& device) {
  // A refused reset is no reason to give up: caller ID may work anyway.
  if (Send(device, kReset, kCommandTimeoutMs) == TReply::kNone) {
    throw ELineError(LineMessages::kNoAnswer);
  }
  switch (Send(device, kEnableCallerId, kCommandTimeoutMs)) {
    case TReply::kOk: return;
    case TReply::kNone: throw ELineError(LineMessages::kNoAnswer);
    case TReply::kError: break;
  }
  switch (Send(device, kEnableCallerIdAlternative, kCommandTimeoutMs)) {
    case TReply::kOk: return;
    case TReply::kNone: throw ELineError(LineMessages::kNoAnswer);
    case TReply::kError: throw ELineError(LineMessages::kCallerIdUnsupported);
  }
}

}  // namespace ModemCommands
