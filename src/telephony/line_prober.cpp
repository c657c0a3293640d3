#include "telephony/line_prober.h"

#include <functional>

#include "platform/device_holders.h"
#include "platform/serial_device.h"
#include "platform/uucp_lock.h"
#include "telephony/line_error.h"
#include "telephony/modem_commands.h"

using State = TPortVerdict::State;

// One port being asked.
class TPortProbe : public QObject {
 public:
  TPortProbe(const QString& path, const std::function<void(TPortProbe&)>& decided)
      : path_(path), decided_(decided) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] { Decide(State::kRefused, LineMessages::kNoAnswer); });
  }
  ~TPortProbe() override { Finish(); }

  const QString& Path() const { return path_; }
  const TPortVerdict& Verdict() const { return verdict_; }

  // Opens the port and sends the probe; a port that cannot be asked is
  // decided at once (reported through the event loop).
  void Start(bool heldElsewhere, int timeoutMs) {
    const QString refusal = Open(heldElsewhere);
    if (verdict_.state != State::kAsking || !refusal.isEmpty()) {
      if (verdict_.state == State::kAsking) verdict_ = {State::kRefused, refusal};
      QMetaObject::invokeMethod(this, [this] { decided_(*this); }, Qt::QueuedConnection);
      return;
    }
    timer_.start(timeoutMs);
  }

  void Cancel() { Decide(State::kRefused, LineMessages::kNoAnswer); }

 private:
  QString Open(bool heldElsewhere) {
    if (heldElsewhere || lock_.Acquire(path_) == platform::TUucpLock::TResult::kInUse) {
      return LineMessages::Shown(LineMessages::kLineInUse);
    }
    QString reason;
    platform::TSerialDevice::TProblem problem = platform::TSerialDevice::TProblem::kNone;
    device_ = platform::TSerialDevice::Open(path_, &reason, &problem);
    if (!device_) {
      lock_.Release();
      if (problem == platform::TSerialDevice::TProblem::kNoHardware) verdict_.state = State::kNoDevice;
      return problem == platform::TSerialDevice::TProblem::kInUse ? LineMessages::Shown(LineMessages::kLineInUse)
                                                                  : reason;
    }
    connect(device_.get(), &platform::TSerialDevice::DataReceived, this, &TPortProbe::HandleData);
    connect(device_.get(), &platform::TSerialDevice::Lost, this,
            [this] { Decide(State::kRefused, LineMessages::kNoAnswer); });
    device_->DiscardInput();
    device_->StartWatching();
    if (!device_->Write(QByteArray(ModemCommands::kProbe) + ModemCommands::kCommandEnd)) {
      Finish();
      return LineMessages::Shown(LineMessages::kNoAnswer);
    }
    return QString();
  }

  void HandleData(const QByteArray& data) {
    answer_ += data;
    const ModemCommands::TReply reply = ModemCommands::FinalReply(answer_);
    if (reply == ModemCommands::TReply::kOk) Decide(State::kAnswered, nullptr);
    if (reply == ModemCommands::TReply::kError) Decide(State::kRefused, LineMessages::kNoAnswer);
  }

  void Decide(State state, const char* reason) {
    if (verdict_.state != State::kAsking) return;
    verdict_ = {state, LineMessages::Shown(reason)};
    Finish();
    decided_(*this);
  }

  // Gives the port back as it was: settings restored, closed, unlocked.
  void Finish() {
    timer_.stop();
    if (device_) {
      // Possibly within the device's own signal: closed now, deleted later.
      device_->Close();
      device_.release()->deleteLater();
    }
    lock_.Release();
  }

  QString path_;
  std::function<void(TPortProbe&)> decided_;
  TPortVerdict verdict_;
  platform::TUucpLock lock_;
  std::unique_ptr<platform::TSerialDevice> device_;
  QByteArray answer_;
  QTimer timer_;
};

TLineProber::TLineProber(const TLineTimings& timings, QObject* parent) : QObject(parent), timings_(timings) {
  timeout_.setSingleShot(true);
  grace_.setSingleShot(true);
  connect(&timeout_, &QTimer::timeout, this, &TLineProber::Settle);
  connect(&grace_, &QTimer::timeout, this, &TLineProber::Settle);
}

TLineProber::~TLineProber() = default;

void TLineProber::Probe(const QStringList& paths, std::vector<bool> held) {
  // One look at every process's open files serves all ports.
  if (held.size() != static_cast<size_t>(paths.size())) held = platform::HeldByOtherProcesses(paths);
  for (qsizetype i = 0; i < paths.size(); ++i) {
    probes_.push_back(std::make_unique<TPortProbe>(paths.at(i), [this](TPortProbe& probe) { HandleVerdict(probe); }));
  }
  const size_t first = probes_.size() - static_cast<size_t>(paths.size());
  for (size_t i = first; i < probes_.size(); ++i) probes_[i]->Start(held[i - first], timings_.probeTimeoutMs);
  if (paths.isEmpty()) {
    QMetaObject::invokeMethod(this, &TLineProber::Settle, Qt::QueuedConnection);
  } else {
    timeout_.start(timings_.probeTimeoutMs);
  }
}

TPortVerdict TLineProber::Verdict(const QString& path) const {
  for (const auto& probe : probes_) {
    if (probe->Path() == path) return probe->Verdict();
  }
  return {State::kRefused, LineMessages::Shown(LineMessages::kNoAnswer)};
}

void TLineProber::Cancel(const QString& path) {
  for (const auto& probe : probes_) {
    if (probe->Path() == path) probe->Cancel();
  }
}

void TLineProber::HandleVerdict(TPortProbe& probe) {
  if (probe.Verdict().state == State::kAnswered) {
    emit Answered(probe.Path());
    if (!grace_.isActive()) grace_.start(timings_.probeGraceMs);
  }
  bool allDecided = true;
  for (const auto& other : probes_) allDecided = allDecided && other->Verdict().state != State::kAsking;
  if (allDecided) Settle();
}

void TLineProber::Settle() {
  timeout_.stop();
  grace_.stop();
  if (settled_) return;
  settled_ = true;
  emit SettledNow();
}
