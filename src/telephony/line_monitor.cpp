#include "telephony/line_monitor.h"

#include <QMetaObject>
#include <QThread>

#include "platform/device_holders.h"
#include "platform/settings_store.h"
#include "telephony/event_wait.h"
#include "telephony/line_address.h"
#include "telephony/line_list.h"
#include "telephony/line_prober.h"
#include "telephony/line_states.h"
#include "telephony/open_line.h"

namespace {

constexpr const char* kSettingsKey = "Settings";
constexpr const char* kRingTimeoutValue = "RingTimeout";
constexpr const char* kStateIdle = "IDLE";

int ConfiguredRingTimeoutMs() {
  return RingTimeoutMsFromSetting(
      platform::ReadSettingValue(QString::fromLatin1(kSettingsKey), QString::fromLatin1(kRingTimeoutValue)));
}

// Which lines there are, which of them are devices to probe, and which of
// those other programs hold open. This takes milliseconds of system calls
// (sysfs, every process's open files), so it runs on a thread of its own
// while the event loop runs.
struct TSurvey {
  QStringList lines;
  QStringList devices;
  std::vector<bool> held;
};

TSurvey SurveyLines() {
  TSurvey survey;
  std::unique_ptr<QThread> worker(QThread::create([&survey] {
    survey.lines = LineList::CollectLineNames();
    for (const QString& name : survey.lines) {
      if (!LineAddress::IsNetworkName(name)) survey.devices << name;
    }
    survey.held = platform::HeldByOtherProcesses(survey.devices);
  }));
  TEventWait wait;
  QObject context;
  QObject::connect(worker.get(), &QThread::finished, &context, [&wait] { wait.Finish(); });
  worker->start();
  wait.Run();
  // Also when the wait ended early because the program is quitting.
  worker->wait();
  return survey;
}

// Runs the event loop until `prober` has settled.
void WaitUntilSettled(TLineProber& prober) {
  if (prober.Settled()) return;
  TEventWait wait;
  const QMetaObject::Connection done = QObject::connect(&prober, &TLineProber::SettledNow, [&wait] { wait.Finish(); });
  wait.Run();
  QObject::disconnect(done);
}

}  // namespace

TLineMonitor::TLineMonitor(QObject* parent) : QObject(parent), state_(LineStates::Closed()) {
  ringTimer_.setSingleShot(true);
  ringTimer_.setInterval(TCallTracker::kDefaultRingTimeoutMs);
  connect(&ringTimer_, &QTimer::timeout, this, &TLineMonitor::HandleRingTimeout);
}

TLineMonitor::~TLineMonitor() { DropLine(); }

void TLineMonitor::EnsureLinesListed() const {
  if (prober_) return;
  TSurvey survey = SurveyLines();
  if (prober_) return;  // listed meanwhile, by a call nested in the survey's wait
  lines_ = survey.lines;
  prober_ = std::make_unique<TLineProber>(timings_);
  connect(prober_.get(), &TLineProber::Answered, this, [this](const QString& name) {
    if (prober_->Settled()) emit const_cast<TLineMonitor*>(this)->LineFound(name);
  });
  prober_->Probe(survey.devices, std::move(survey.held));
  WaitUntilSettled(*prober_);
}

int TLineMonitor::LineCount() const {
  EnsureLinesListed();
  return static_cast<int>(lines_.size());
}

QString TLineMonitor::GetLineName(int LineId) const {
  EnsureLinesListed();
  return lines_.value(LineId);
}

QString TLineMonitor::LineName() const { return lineName_; }

void TLineMonitor::SetLineName(const QString& name) {
  if (name.isEmpty()) throw ELineError(LineMessages::kNoLineSelected);
  if ((open_ || line_) && name != lineName_) throw ELineError(LineMessages::kLineStillOpen);
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
  if (!open) {
    DropLine();
    return;
  }
  if (open_ || line_) return;
  if (lineName_.isEmpty()) throw ELineError(LineMessages::kNoLineSelected);
  // A probe still asking the device would keep it from opening.
  if (prober_) prober_->Cancel(lineName_);
  line_ = MakeOpenLine(lineName_, timings_);
  // Ready before the line starts: a call may already be under way in what
  // the modem sends along with its last reply.
  ringTimer_.setInterval(
      line_->CallTimeoutMs(timings_.ringTimeoutMs > 0 ? timings_.ringTimeoutMs : ConfiguredRingTimeoutMs()));
  tracker_.Reset();

  const quint64 generation = ++generation_;
  TEventWait wait;
  QString failure;
  const QMetaObject::Connection opened = connect(line_.get(), &TOpenLine::Opened, this, [this, &wait] {
    open_ = true;
    wait.Finish();
  });
  const QMetaObject::Connection failed =
      connect(line_.get(), &TOpenLine::Failed, this, [&wait, &failure](const QString& reason) {
        failure = reason;
        wait.Finish();
      });
  connect(line_.get(), &TOpenLine::Notices, this, &TLineMonitor::HandleNotices);
  connect(line_.get(), &TOpenLine::StateChanged, this, &TLineMonitor::SetState);
  openingWait_ = &wait;
  line_->Start();
  wait.Run();
  disconnect(opened);
  disconnect(failed);
  if (openingWait_ == &wait) openingWait_ = nullptr;
  if (generation != generation_) return;  // a nested close or opening took over
  if (!wait.Finished()) {
    DropLine();  // the program is quitting
    return;
  }
  if (!open_) {
    DropLine();
    throw ELineError(failure.toStdString());
  }
}

void TLineMonitor::DropLine() {
  ++generation_;
  if (openingWait_) openingWait_->Finish();
  openingWait_ = nullptr;
  open_ = false;
  ringTimer_.stop();
  tracker_.Reset();
  if (line_) {
    // Possibly within one of the line's own signals.
    disconnect(line_.get(), nullptr, this, nullptr);
    line_->Close();
    line_.release()->deleteLater();
  }
  SetState(LineStates::Closed());
}

void TLineMonitor::SetState(const QString& state) {
  if (state == state_) return;
  state_ = state;
  emit LineStateChanged(state);
}

int TLineMonitor::LineCapability() const {
  if (lineName_.isEmpty()) return 0;
  if (open_) return 1;
  // A server is offered as it is named: asking it would wait on the network.
  if (LineAddress::IsNetworkName(lineName_)) return LineAddress::Parse(lineName_) ? 1 : 0;
  EnsureLinesListed();
  if (lines_.contains(lineName_)) return Answers(lineName_) ? 1 : 0;
  const auto known = otherCapabilities_.constFind(lineName_);
  if (known != otherCapabilities_.constEnd()) return *known;
  TLineProber single(timings_);
  single.Probe({lineName_});
  WaitUntilSettled(single);
  const int capability = single.Verdict(lineName_).state == TPortVerdict::State::kAnswered ? 1 : 0;
  otherCapabilities_.insert(lineName_, capability);
  return capability;
}

bool TLineMonitor::Answers(const QString& name) const {
  if (LineAddress::IsNetworkName(name)) return LineAddress::Parse(name).has_value();
  return prober_->Verdict(name).state == TPortVerdict::State::kAnswered;
}

QStringList TLineMonitor::UnofferedLines() const {
  EnsureLinesListed();
  QStringList reasons;
  for (const QString& name : lines_) {
    if (LineAddress::IsNetworkName(name)) {
      QString problem;
      if (!LineAddress::Parse(name, &problem)) reasons << name + QStringLiteral(": ") + problem;
      continue;
    }
    const TPortVerdict verdict = prober_->Verdict(name);
    if (verdict.state == TPortVerdict::State::kAnswered || verdict.state == TPortVerdict::State::kNoDevice) continue;
    // Still asking when the listing ended: nothing heard so far.
    const QString reason = verdict.state == TPortVerdict::State::kAsking ? LineMessages::Shown(LineMessages::kNoAnswer)
                                                                         : verdict.reason;
    reasons << name + QStringLiteral(": ") + reason;
  }
  return reasons;
}

void TLineMonitor::HandleNotices(const std::vector<TLineNotice>& notices) {
  for (const TLineNotice& notice : notices) Apply(tracker_.Handle(notice));
}

void TLineMonitor::HandleRingTimeout() { Apply(tracker_.RingTimeoutExpired()); }

void TLineMonitor::Apply(const TCallTracker::TResult& result) {
  if (result.restartRingTimer) ringTimer_.start();
  if (result.stopRingTimer) ringTimer_.stop();
  Deliver(result.events);
  if (result.callerIdMissing && line_) line_->RestoreCallerId();
}

void TLineMonitor::Deliver(const std::vector<TCallEvent>& events) {
  // Each event goes through the event loop on its own, so a listener that
  // waits with the loop running gets the following events nested, in order.
  for (const TCallEvent& event : events) {
    QMetaObject::invokeMethod(
        this,
        [this, event] {
          if (event.kind == TCallEvent::Kind::kCallerId) {
            emit OnCallerID(this, event.number, event.name, event.flags);
            return;
          }
          emit OnCallState(this, event.state);
          if (event.state == QLatin1String(kStateIdle)) emit CallEnded(this, event.outcome);
        },
        Qt::QueuedConnection);
  }
}
