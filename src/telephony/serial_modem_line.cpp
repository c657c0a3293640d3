#include "telephony/serial_modem_line.h"

#include "platform/device_holders.h"
#include "platform/serial_device.h"
#include "telephony/line_error.h"
#include "telephony/line_states.h"
#include "telephony/modem_starter.h"

TSerialModemLine::TSerialModemLine(const QString& path, const TLineTimings& timings)
    : path_(path), timings_(timings) {
  retryTimer_.setInterval(timings_.reopenIntervalMs);
  connect(&retryTimer_, &QTimer::timeout, this, &TSerialModemLine::Retry);
}

TSerialModemLine::~TSerialModemLine() { Close(); }

void TSerialModemLine::Start() {
  emit StateChanged(LineStates::Opening());
  const QString failure = Begin();
  if (failure.isEmpty()) return;
  QMetaObject::invokeMethod(this, [this, failure] { emit Failed(failure); }, Qt::QueuedConnection);
}

QString TSerialModemLine::Begin() {
  if (platform::HeldByOtherProcesses({path_}).front()) return LineMessages::Shown(LineMessages::kLineInUse);
  if (lock_.Acquire(path_) == platform::TUucpLock::TResult::kInUse) {
    return LineMessages::Shown(LineMessages::kLineInUse);
  }
  QString reason;
  platform::TSerialDevice::TProblem problem = platform::TSerialDevice::TProblem::kNone;
  std::unique_ptr<platform::TSerialDevice> device = platform::TSerialDevice::Open(path_, &reason, &problem);
  if (!device) {
    lock_.Release();
    return problem == platform::TSerialDevice::TProblem::kInUse ? LineMessages::Shown(LineMessages::kLineInUse)
                                                                : reason;
  }
  starter_ = std::make_unique<TModemStarter>(std::move(device), timings_);
  connect(starter_.get(), &TModemStarter::Finished, this, &TSerialModemLine::HandleStarted);
  starter_->Start();
  return QString();
}

void TSerialModemLine::HandleStarted(bool callerIdOn) {
  // Called from within the starter's (and its device's) signal handling.
  TModemStarter* starter = starter_.release();
  starter->deleteLater();
  if (!callerIdOn) {
    // Closed before the lock goes, so nobody else meets it half released.
    starter->Abandon();
    lock_.Release();
    // A first opening reports; a retry waits for the next round quietly.
    if (!opened_) emit Failed(starter->Failure());
    return;
  }
  retryTimer_.stop();
  enableCommand_ = starter->EnableCommand();
  device_ = starter->TakeDevice();
  connect(device_.get(), &platform::TSerialDevice::DataReceived, this, &TSerialModemLine::HandleData);
  connect(device_.get(), &platform::TSerialDevice::Lost, this, &TSerialModemLine::HandleLost);
  parser_.Reset();
  if (!opened_) {
    opened_ = true;
    emit Opened();
  }
  emit StateChanged(LineStates::Open());
  // What the modem sent after its last reply is already the start of
  // monitoring: a call may be coming in just then.
  HandleData(starter->Unread());
}

void TSerialModemLine::HandleData(const QByteArray& data) {
  const std::vector<TLineNotice> notices = parser_.Feed(data);
  if (!notices.empty()) emit Notices(notices);
}

void TSerialModemLine::HandleLost() {
  // Called from the device's own signal (already closed).
  Release();
  parser_.Reset();
  // A call in progress still ends by its ring timeout.
  retryTimer_.start();
  emit StateChanged(LineStates::Retrying(QCoreApplication::translate("LineStates", "Modem not available")));
}

void TSerialModemLine::Retry() {
  // Still gone, in use or not ready: the next round tries again, without a
  // word.
  if (device_ || starter_) return;
  Begin();
}

void TSerialModemLine::RestoreCallerId() {
  if (device_ && !enableCommand_.isEmpty()) device_->Write(enableCommand_ + ModemCommands::kCommandEnd);
}

void TSerialModemLine::Close() {
  retryTimer_.stop();
  Release();
}

void TSerialModemLine::Release() {
  if (starter_) {
    starter_->Abandon();
    starter_.release()->deleteLater();
  }
  if (device_) {
    disconnect(device_.get(), nullptr, this, nullptr);
    device_->Close();
    device_.release()->deleteLater();
  }
  lock_.Release();
}
