#include "app/call_log_link.h"

#include <QAction>
#include <QDateTime>
#include <QTimer>
#include <exception>

#include "app/quorvel_form.h"
#include "app/reg_setting.h"
#include "calllog/call_log_recorder.h"
#include "calllog/call_log_reports.h"
#include "calllog/call_log_retention.h"
#include "calllog/call_log_window.h"
#include "calllog/call_store.h"
#include "calls/caller_desk.h"
#include "calls/caller_text.h"
#include "platform/message_dialogs.h"
#include "platform/user_data.h"
#include "remote/forwarding_outcome.h"

namespace {

constexpr char kCallLogFile[] = "/calls.sqlite";

// The user has not been waiting for these: they never interrupt what is
// under way (a call's display, a write to the log).
void TellLater(const QString& text) {
  QTimer::singleShot(0, [text] {
    platform::ShowMessageBox(text, QString::fromLatin1(platform::kApplicationTitle),
                             platform::MessageIcon::Warning);
  });
}

TCallEnding LoggedEnding(TCallOutcome outcome) {
  switch (outcome) {
    case TCallOutcome::kAnswered: return TCallEnding::kAnswered;
    case TCallOutcome::kMissed: return TCallEnding::kMissed;
    case TCallOutcome::kUnknown: break;
  }
  return TCallEnding::kUnknown;
}

int CallLogDays() {
  const int days = RegSetting(QString::fromLatin1(kCallLogDaysSetting), false).trimmed().toInt();
  return days > 0 ? days : 0;
}

// Runs `action` of a user's request; an error is shown by the general error report.
template <typename F>
void Reported(F&& action) {
  try {
    action();
  } catch (const std::exception& error) {
    platform::ShowGeneralErrorReport(error);
  }
}

}  // namespace

TCallLogLink::TCallLogLink(TQuorvelForm& form, const QString& path)
    : form_(form),
      store_(std::make_unique<TCallStore>(
          path.isEmpty() ? platform::UserDataFolder() + QLatin1String(kCallLogFile) : path)),
      reports_(std::make_unique<TCallLogReports>(&TellLater)),
      recorder_(std::make_unique<TCallLogRecorder>(*store_)),
      retention_(std::make_unique<TCallLogRetention>(*store_, &CallLogDays)),
      context_(std::make_unique<QObject>()) {
  store_->SetProblemHandler([reports = reports_.get()](const TStoreProblem& problem) {
    reports->Problem(problem);
  });
  QObject* context = context_.get();
  QObject::connect(recorder_.get(), &TCallLogRecorder::WritingResumed, context,
                   [reports = reports_.get()] { reports->WritingWorks(); });
  QObject::connect(recorder_.get(), &TCallLogRecorder::CallLogged, context, [this](qint64 id) {
    if (window_) window_->CallChanged(id);
    UpdateToolTip();
  });
  QObject::connect(retention_.get(), &TCallLogRetention::Pruned, context, [this] {
    if (window_) window_->Reload();
  });
  QObject::connect(&form_, &TQuorvelForm::CallLogRequested, context, [this] { Open(); });

  TCallObserver& observer = form_.Desk()->Handler().Observer;
  observer.callStarted = [recorder = recorder_.get()] {
    recorder->CallStarted(QDateTime::currentDateTimeUtc());
  };
  observer.callHandled = [this](const TCallFacts& facts) { CallHandled(facts); };
  // The line's word on how a call ended comes right after it went idle.
  QObject::connect(&form_.Line(), &TLineMonitor::CallEnded, context,
                   [recorder = recorder_.get()](QObject*, TCallOutcome outcome) {
                     recorder->LineIdle(LoggedEnding(outcome));
                   });

  // The log is opened once the program is up: it never delays the start.
  QTimer::singleShot(0, context, [this] { Start(); });
}

TCallLogLink::~TCallLogLink() {
  if (form_.Desk()) {
    TCallObserver& observer = form_.Desk()->Handler().Observer;
    observer.callStarted = nullptr;
    observer.callHandled = nullptr;
  }
  delete window_.data();
  // The program is ending: what waits for the next turn of the loop is written now.
  recorder_->Flush();
}

TCallLogWindow* TCallLogLink::Window() const { return window_; }

void TCallLogLink::Start() {
  retention_->Start();
  UpdateToolTip();
}

void TCallLogLink::CallHandled(const TCallFacts& facts) {
  TLoggedCall call;
  call.line = form_.Line().LineName();
  call.numberReceived = calls::FromEightBit(facts.numberReceived);
  call.numberDisplayed = calls::FromEightBit(facts.callerID);
  call.networkName = calls::FromEightBit(facts.callerName);
  call.matchedName = calls::FromEightBit(facts.matchedName);
  call.withheld = facts.withheld;
  call.outOfArea = facts.outOfArea;
  call.mode = facts.activeMode ? TCallMode::kActive : TCallMode::kPassive;
  recorder_->CallHandled(call);
}

void TCallLogLink::HandedOff(quint64 forwarding) { recorder_->ForwardingStarted(forwarding); }

void TCallLogLink::Forwarded(const TForwardingOutcome& outcome) {
  recorder_->Forwarded(LoggedForwarding(outcome), outcome.Forwarding);
}

TCallForwarding TCallLogLink::LoggedForwarding(const TForwardingOutcome& outcome) {
  using Kind = TForwardingOutcome::Kind;
  const QString detail = QString::fromStdString(outcome.Detail);
  const QString status = QString::number(outcome.Status);
  const auto withDetail = [&detail](QString text) {
    return detail.isEmpty() ? text : text + QStringLiteral(": ") + detail;
  };
  switch (outcome.What) {
    case Kind::DBusSent: return {TForwardingKind::kDBusSent, detail};
    case Kind::DBusNotOpen: return {TForwardingKind::kNotOpen, detail};
    case Kind::ProgramStarted: return {TForwardingKind::kProgramStarted, detail};
    case Kind::ProgramNotStarted:
    case Kind::ScriptNotWritten:
    case Kind::ScriptNotStarted: return {TForwardingKind::kStartError, detail};
    case Kind::ScriptEnded:
      return {TForwardingKind::kScriptExit, withDetail(QStringLiteral("exit status ") + status)};
    case Kind::ScriptKilled:
      return {TForwardingKind::kScriptExit, withDetail(QStringLiteral("signal ") + status)};
  }
  return {};
}

QString TCallLogLink::MissedCallsNote(int missed) {
  if (missed == 1) return tr("1 missed call");
  if (missed > 1) return tr("%1 missed calls").arg(missed);
  return QString();
}

void TCallLogLink::UpdateToolTip() {
  // With the window open every call is seen as it comes.
  if (window_) store_->MarkAllSeen();
  const int missed = store_->UnseenMissedCount();
  form_.SetTrayToolTipNote(MissedCallsNote(missed));
}

void TCallLogLink::Open() {
  if (!window_) {
    window_ = new TCallLogWindow(*store_);
    window_->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(window_, &TCallLogWindow::ShowCallerRequested, context_.get(),
                     [this](const TLoggedCall& call) { ShowCaller(call); });
    QObject::connect(window_, &TCallLogWindow::SaveCallerRequested, context_.get(),
                     [this](const TLoggedCall& call) { SaveCaller(call); });
    QObject::connect(window_, &TCallLogWindow::Cleared, context_.get(), [this] { UpdateToolTip(); });
    // Closed, the window leaves nothing behind: no rows, no read cache.
    QObject::connect(window_, &QObject::destroyed, context_.get(),
                     [store = store_.get()] { store->ReleaseMemory(); });
  }
  window_->show();
  window_->raise();
  window_->activateWindow();
  UpdateToolTip();
}

void TCallLogLink::ShowCaller(const TLoggedCall& call) {
  // The main window shows callers in Active mode only; in Passive mode an
  // unknown caller can still be saved.
  if (!form_.IsActiveMode()) {
    if (TCallLogWindow::CanSaveCaller(call)) SaveCaller(call);
    return;
  }
  Reported([&] {
    form_.Desk()->Handler().ShowLoggedCaller(calls::ToEightBit(call.numberDisplayed),
                                            calls::ToEightBit(call.networkName));
  });
}

void TCallLogLink::SaveCaller(const TLoggedCall& call) {
  const TCallerDraft proposal{call.networkName, call.numberDisplayed};
  std::optional<TCallerDraft> draft;
  if (AskCaller) {
    draft = AskCaller(proposal);
  } else {
    TSaveCallerDialog dialog(proposal, window_);
    if (dialog.exec() == QDialog::Accepted) draft = dialog.Draft();
  }
  if (!draft) return;
  Reported([&] { form_.Desk()->Editor().SaveCaller(draft->name, draft->number); });
}
