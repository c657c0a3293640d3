#pragma once

#include <QCoreApplication>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>

#include "calllog/logged_call.h"
#include "calllog/save_caller_dialog.h"

class TCallLogRecorder;
class TCallLogReports;
class TCallLogRetention;
class TCallLogWindow;
class TCallStore;
class TQuorvelForm;
struct TCallFacts;
struct TForwardingOutcome;

// The call log in the program: every call the main window's call handling
// processes is logged; File > "Call Log..." and the tray's "Call Log" open
// the Call Log window; the tray's tooltip counts the missed calls since the
// log was last opened. A caller chosen in the log is shown on the main
// window as a call would show it, or saved to the caller database.
// Lives no longer than the form; the form's call handling stops reporting
// to it when it ends.
class TCallLogLink {
  Q_DECLARE_TR_FUNCTIONS(TCallLogLink)

 public:
  // The log file is calls.sqlite in the user data folder unless `path` is given.
  explicit TCallLogLink(TQuorvelForm& form, const QString& path = QString());
  ~TCallLogLink();
  TCallLogLink(const TCallLogLink&) = delete;
  TCallLogLink& operator=(const TCallLogLink&) = delete;

  // The call now being handled was handed on as forwarding number `forwarding`.
  void HandedOff(quint64 forwarding);
  // The outcome of a forwarding, which carries the number of its hand-off.
  void Forwarded(const TForwardingOutcome& outcome);
  // The log's record of a forwarding's outcome.
  static TCallForwarding LoggedForwarding(const TForwardingOutcome& outcome);

  // Opens the Call Log window (or brings it to the front); its calls count as seen.
  void Open();
  // The window while it is open.
  TCallLogWindow* Window() const;
  TCallStore& Store() { return *store_; }
  TCallLogRecorder& Recorder() { return *recorder_; }

  // Asks for the caller to save ("Save caller..."); the dialog unless set.
  std::function<std::optional<TCallerDraft>(const TCallerDraft&)> AskCaller;

  // The tray tooltip's note for `missed` missed calls; "" for none.
  static QString MissedCallsNote(int missed);

 private:
  void Start();
  void UpdateToolTip();
  void CallHandled(const TCallFacts& facts);
  void ShowCaller(const TLoggedCall& call);
  void SaveCaller(const TLoggedCall& call);

  TQuorvelForm& form_;
  std::unique_ptr<TCallStore> store_;
  std::unique_ptr<TCallLogReports> reports_;
  std::unique_ptr<TCallLogRecorder> recorder_;
  std::unique_ptr<TCallLogRetention> retention_;
  QPointer<TCallLogWindow> window_;
  std::unique_ptr<QObject> context_;  // owns the connections
  // The hand-off this link counts before passing the call on.
};
