#pragma once

#include <QByteArray>

namespace platform {
class TSerialDevice;
}

// The AT command dialogue with a caller-ID modem.
namespace ModemCommands {

constexpr const char* kProbe = "AT";
constexpr const char* kReset = "ATZ";
constexpr const char* kEnableCallerId = "AT+VCID=1";
constexpr const char* kEnableCallerIdAlternative = "AT#CID=1";
constexpr char kCommandEnd = '\r';

// How long a probed device has to answer "AT", and how long each command
// of the opening sequence may take.
constexpr int kProbeTimeoutMs = 500;
constexpr int kCommandTimeoutMs = 2000;

enum class TReply { kNone, kOk, kError };

// The final result code within `answer` (all bytes received so far),
// kNone while there is none. Command echoes and other lines are skipped.
TReply FinalReply(const QByteArray& answer);

// Sends `command` and waits up to `timeoutMs` for OK or ERROR; kNone when
// the modem stays silent or goes away.
TReply Send(platform::TSerialDevice& device, const char* command, int timeoutMs);

// Resets the modem and switches caller ID on ("AT+VCID=1", else
// "AT#CID=1"). Throws ELineError with the user's message on failure.
void EnableCallerId(platform::TSerialDevice& device);

}  // namespace ModemCommands
