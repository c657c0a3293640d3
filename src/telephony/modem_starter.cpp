#include "telephony/modem_starter.h"

#include "platform/serial_device.h"
#include "telephony/line_error.h"

TModemStarter::TModemStarter(std::unique_ptr<platform::TSerialDevice> device, const TLineTimings& timings)
    : device_(std::move(device)), timings_(timings) {
  replyTimer_.setSingleShot(true);
  connect(&replyTimer_, &QTimer::timeout, this, [this] { HandleReply(ModemCommands::TReply::kNone); });
  connect(device_.get(), &platform::TSerialDevice::DataReceived, this, &TModemStarter::HandleData);
  connect(device_.get(), &platform::TSerialDevice::Lost, this,
          [this] { HandleReply(ModemCommands::TReply::kNone); });
}

TModemStarter::~TModemStarter() = default;

void TModemStarter::Start() {
  device_->DiscardInput();
  device_->StartWatching();
  SendCurrent();
}

void TModemStarter::Abandon() {
  replyTimer_.stop();
  if (!device_) return;
  disconnect(device_.get(), nullptr, this, nullptr);
  device_->Close();
  device_.release()->deleteLater();
}

std::unique_ptr<platform::TSerialDevice> TModemStarter::TakeDevice() {
  disconnect(device_.get(), nullptr, this, nullptr);
  return std::move(device_);
}

QString TModemStarter::Failure() const { return LineMessages::Shown(sequence_.Failure()); }

QByteArray TModemStarter::EnableCommand() const { return QByteArray(sequence_.EnableCommand()); }

void TModemStarter::SendCurrent() {
  answer_.clear();
  unread_.clear();
  const bool sent = device_->Write(QByteArray(sequence_.Command()) + ModemCommands::kCommandEnd);
  // A refused write counts as silence, reported through the loop as well.
  replyTimer_.start(sent ? sequence_.TimeoutMs(timings_) : 0);
}

void TModemStarter::HandleData(const QByteArray& data) {
  if (sequence_.Finished()) return;
  answer_ += data;
  qsizetype replyEnd = 0;
  const ModemCommands::TReply reply = ModemCommands::FinalReply(answer_, &replyEnd);
  if (reply == ModemCommands::TReply::kNone) return;
  unread_ = answer_.mid(replyEnd);
  HandleReply(reply);
}

void TModemStarter::HandleReply(ModemCommands::TReply reply) {
  if (sequence_.Finished()) return;
  replyTimer_.stop();
  sequence_.HandleReply(reply);
  if (!sequence_.Finished()) {
    SendCurrent();
    return;
  }
  emit Finished(sequence_.Failure() == nullptr);
}
