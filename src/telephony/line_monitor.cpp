#include "telephony/line_monitor.h"

#include <QMetaObject>

#include "platform/serial_device.h"
#include "platform/serial_probe.h"
#include "platform/settings_store.h"
#include "platform/uucp_lock.h"
#include "telephony/caller_id_parser.h"
#include "telephony/line_list.h"
#include "telephony/modem_commands.h"
#include "telephony/modem_starter.h"

namespace {

constexpr const char* kSettingsKey = "Settings";
constexpr const char* kRingTimeoutValue = "RingTimeout";
// How often a line whose device vanished is tried again.
constexpr int kReopenIntervalMs = 5000;

int ConfiguredRingTimeoutMs() {
  return RingTimeoutMsFromSetting(
      platform::ReadSettingValue(QString::fromLatin1(kSettingsKey), QString::fromLatin1(kRingTimeoutValue)));
}

bool AnsweredInFull(const QByteArray& answer) {
  return ModemCommands::FinalReply(answer) != ModemCommands::TReply::kNone;
}

int CapabilityFromAnswer(const QByteArray& answer) {
  return ModemCommands::FinalReply(answer) == ModemCommands::TReply::kOk ? 1 : 0;
}

QByteArray ProbeRequest() { return QByteArray(ModemCommands::kProbe) + ModemCommands::kCommandEnd; }

}  // namespace

TLineMonitor::TLineMonitor(QObject* parent) : QObject(parent), lock_(std::make_unique<platform::TUucpLock>()) {
  ringTimer_.setSingleShot(true);
  ringTimer_.setInterval(TCallTracker::kDefaultRingTimeoutMs);
  connect(&ringTimer_, &QTimer::timeout, this, &TLineMonitor::HandleRingTimeout);
  retryTimer_.setInterval(kReopenIntervalMs);
  connect(&retryTimer_, &QTimer::timeout, this, &TLineMonitor::RetryOpen);
}

TLineMonitor::~TLineMonitor() { CloseDevice(); }

void TLineMonitor::EnsureLinesListed() const {
  if (listed_) return;
  listed_ = true;
  const QStringList names = LineList::CollectLineNames();
  // All devices are asked at once, so silent ones cost one timeout in all.
  const std::vector<QByteArray> answers = platform::QueryDevicesTogether(
      names, ProbeRequest(), ModemCommands::kProbeTimeoutMs, AnsweredInFull);
  lines_.clear();
  for (int i = 0; i < names.size(); ++i) {
    lines_.append({names.at(i), CapabilityFromAnswer(answers.at(static_cast<size_t>(i)))});
  }
}

int TLineMonitor::LineCount() const {
  EnsureLinesListed();
  return static_cast<int>(lines_.size());
}

QString TLineMonitor::GetLineName(int LineId) const {
  EnsureLinesListed();
  if (LineId < 0 || LineId >= lines_.size()) return QString();
  return lines_.at(LineId).name;
}

QString TLineMonitor::LineName() const { return lineName_; }

void TLineMonitor::SetLineName(const QString& name) {
  if (name.isEmpty()) throw ELineError(LineMessages::kNoLineSelected);
  if (open_ && name != lineName_) throw ELineError(LineMessages::kLineStillOpen);
  lineName_ = name;
}

quint32 TLineMonitor::MediaMode() const { return mediaMode_; }

void TLineMonitor::SetMediaMode(quint32 mode) {
  if (mode != kDataModemMediaMode) throw ELineError(LineMessages::kUnsupportedMediaMode);
  mediaMode_ = mode;
}

quint32 TLineMonitor::CallPrivilege() const { return callPrivilege_; }

void TLineMonitor::SetCallPrivilege(quint32 privilege) {
  if (privilege != kMonitorOwnerPrivilege) throw ELineError(LineMessages::kUnsupportedPrivilege);
  callPrivilege_ = privilege;
}

bool TLineMonitor::LineOpen() const { return open_; }

void TLineMonitor::SetLineOpen(bool open) {
  if (open == open_) return;
  if (!open) {
    open_ = false;
    retryTimer_.stop();
    ringTimer_.stop();
    tracker_.Reset();
    CloseDevice();
    return;
  }
  if (lineName_.isEmpty()) throw ELineError(LineMessages::kNoLineSelected);
  // Ready before the device: a call may already be under way in what the
  // modem sent along with its last reply.
  ringTimer_.setInterval(ConfiguredRingTimeoutMs());
  tracker_.Reset();
  OpenDevice();
  open_ = true;
}

int TLineMonitor::LineCapability() const {
  if (lineName_.isEmpty()) return 0;
  if (device_) return 1;
  EnsureLinesListed();
  for (const TKnownLine& line : lines_) {
    if (line.name == lineName_) return line.capability;
  }
  const auto known = otherCapabilities_.constFind(lineName_);
  if (known != otherCapabilities_.constEnd()) return *known;
  const std::vector<QByteArray> answers = platform::QueryDevicesTogether(
      {lineName_}, ProbeRequest(), ModemCommands::kProbeTimeoutMs, AnsweredInFull);
  const int capability = CapabilityFromAnswer(answers.front());
  otherCapabilities_.insert(lineName_, capability);
  return capability;
}

void TLineMonitor::OpenDevice() {
  if (lock_->Acquire(lineName_) == platform::TUucpLock::TResult::kInUse) {
    throw ELineError(LineMessages::kLineInUse);
  }
  QString reason;
  std::unique_ptr<platform::TSerialDevice> device = platform::TSerialDevice::Open(lineName_, &reason);
  if (!device) {
    lock_->Release();
    throw ELineError(reason.toStdString());
  }
  QByteArray unread;
  try {
    ModemCommands::EnableCallerId(*device, &unread);
  } catch (...) {
    device.reset();
    lock_->Release();
    throw;
  }
  UseDevice(std::move(device), unread);
}

void TLineMonitor::UseDevice(std::unique_ptr<platform::TSerialDevice> device, const QByteArray& unread) {
  assembler_.Reset();
  device_ = std::move(device);
  connect(device_.get(), &platform::TSerialDevice::DataReceived, this, &TLineMonitor::HandleData);
  connect(device_.get(), &platform::TSerialDevice::Lost, this, &TLineMonitor::HandleDeviceLost);
  device_->StartWatching();
  HandleData(unread);
}

void TLineMonitor::CloseDevice() {
  retry_.reset();
  device_.reset();
  lock_->Release();
  assembler_.Reset();
}

void TLineMonitor::HandleData(const QByteArray& data) {
  for (const QByteArray& line : assembler_.Feed(data)) {
    TCallTracker::TResult result = tracker_.HandleLine(ParseModemLine(line));
    if (result.restartRingTimer) ringTimer_.start();
    Deliver(result.events);
  }
}

void TLineMonitor::HandleDeviceLost() {
  // Called from the device's own signal: it is destroyed once that returns.
  if (device_) device_.release()->deleteLater();
  lock_->Release();
  assembler_.Reset();
  // A call in progress still ends by its ring timeout.
  retryTimer_.start();
}

void TLineMonitor::RetryOpen() {
  if (!open_ || device_) {
    retryTimer_.stop();
    return;
  }
  // Still gone, in use or not ready: the next round tries again, without a
  // word. The modem's replies are awaited through the event loop.
  if (retry_) return;
  if (lock_->Acquire(lineName_) == platform::TUucpLock::TResult::kInUse) return;
  std::unique_ptr<platform::TSerialDevice> device = platform::TSerialDevice::Open(lineName_, nullptr);
  if (!device) {
    lock_->Release();
    return;
  }
  retry_ = std::make_unique<TModemStarter>(std::move(device));
  connect(retry_.get(), &TModemStarter::Finished, this, &TLineMonitor::HandleRetryFinished);
  retry_->Start();
}

void TLineMonitor::HandleRetryFinished(bool callerIdOn) {
  // Called from within the starter's (and its device's) signal handling.
  TModemStarter* starter = retry_.release();
  starter->deleteLater();
  if (!callerIdOn) {
    lock_->Release();
    return;
  }
  retryTimer_.stop();
  UseDevice(starter->TakeDevice(), starter->Unread());
}

void TLineMonitor::HandleRingTimeout() { Deliver(tracker_.RingTimeoutExpired()); }

void TLineMonitor::Deliver(const std::vector<TCallEvent>& events) {
  // Each event goes through the event loop on its own, so a listener that
  // waits with the loop running gets the following events nested, in order.
  for (const TCallEvent& event : events) {
    QMetaObject::invokeMethod(
        this,
        [this, event] {
          if (event.kind == TCallEvent::Kind::kCallState) {
            emit OnCallState(this, event.state);
          } else {
            emit OnCallerID(this, event.number, event.name, event.flags);
          }
        },
        Qt::QueuedConnection);
  }
}
