#include "calls/call_handler.h"

#include "calls/caller_editor.h"
#include "calls/caller_key.h"
#include "calls/caller_text.h"
#include "calls/calls_constants.h"
#include "inidb/ini_dbase.h"
#include "platform/delay_with_messages.h"

using namespace calls;

namespace {

// Sets the busy flag for its lifetime, so every way out clears it.
class TBusyGuard {
 public:
  explicit TBusyGuard(bool& flag) : flag_(flag) { flag_ = true; }
  ~TBusyGuard() { flag_ = false; }
  TBusyGuard(const TBusyGuard&) = delete;
  TBusyGuard& operator=(const TBusyGuard&) = delete;

 private:
  bool& flag_;
};

}  // namespace

TCallHandler::TCallHandler(TIniDBase& db, TCallerView& view, TCallerEditor& editor,
                           TCallerPictures& pictures)
    : CollectionWaitMs(kCollectionWaitMs),
      db_(db),
      view_(view),
      editor_(editor),
      pictures_(pictures) {}

void TCallHandler::LineMonitorCallerID(QObject* /*Sender*/, const QString& Number,
                                       const QString& Name, int Flags) {
  if (!callerIDBusy_) {
    facts_ = TCallFacts{};
    if (Observer.callStarted) Observer.callStarted();
  }
  StoreCallData(Number, Name, Flags);
  if (callerIDBusy_) return;  // the processing under way uses the data just stored

  TBusyGuard busy(callerIDBusy_);
  DelayWithMessages(CollectionWaitMs);
  // Told on every way out below, errors included: the call did come in.
  struct TReport {
    TCallHandler& handler;
    ~TReport() { handler.ReportCall(); }
  } report{*this};
  // The mode is tested only now: the user may have switched it during the wait.
  facts_.activeMode = view_.IsActiveMode();
  if (facts_.activeMode) {
    view_.ShowAndRaise();
    view_.Beep();
    ShowCaller(currentCallerID_, currentCallerName_, &facts_.matchedName);
  } else if (RunRemoteAction) {
    RunRemoteAction();
  }
}

void TCallHandler::LineMonitorCallState(QObject* /*Sender*/, const QString& State) {
  if (ToEightBit(State) != kIdleState) return;
  currentCallerID_ = kNoData;
  currentCallerName_ = kNoData;
}

void TCallHandler::ShowLoggedCaller(const std::string& callerID, const std::string& callerName) {
  view_.ShowAndRaise();
  ShowCaller(callerID, callerName, nullptr);
}

void TCallHandler::StoreCallData(const QString& number, const QString& name, int flags) {
  if (flags & kFlagNumber) {
    currentCallerID_ = FormatCallerNumber(number);
    facts_.numberReceived = ToEightBit(StripControlCharacters(number));
  }
  if (flags & kFlagBlocked) {
    currentCallerID_ = kBlockedNumber;
    facts_.withheld = true;
  }
  if (flags & kFlagOutOfArea) facts_.outOfArea = true;
  if (flags & kFlagName) currentCallerName_ = ToEightBit(StripControlCharacters(name));
}

void TCallHandler::ReportCall() noexcept {
  if (!Observer.callHandled) return;
  facts_.callerID = currentCallerID_;
  facts_.callerName = currentCallerName_;
  Observer.callHandled(facts_);
}

void TCallHandler::ShowCaller(const std::string& callerID, const std::string& callerName,
                              std::string* shown) {
  // One view of the database for the whole lookup: the file is checked and
  // parsed at most once, however many records there are.
  const TIniDBSnapshot snapshot(db_);
  editor_.RefreshCallerNames();
  QString report;
  std::string matched = DisplayMatchingRecords(callerID, report);
  if (matched.empty()) matched = DisplayEquivalentRecords(callerID, report);
  if (matched.empty()) ShowUnknownCaller(callerID, callerName, report);
  if (shown) *shown = std::move(matched);
  if (!report.isEmpty()) throw EPictureFile(ToEightBit(report));
}

std::string TCallHandler::DisplayMatchingRecords(const std::string& callerID, QString& report) {
  // Every match is displayed in turn, so the last one in the sorted list
  // stays on screen. The count and the list are asked again on every pass;
  // the list may hold fewer keys than the count (keys differing only in
  // case are listed once), so the walk also stops at the list's end.
  std::string shown;
  for (int i = 0; i < db_.GetNumRecs(); ++i) {
    const auto& keys = db_.GetRecordList();
    if (static_cast<std::size_t>(i) >= keys.size()) break;
    const std::string key = keys[static_cast<std::size_t>(i)];
    TCallerRecord record{};
    db_.GetRecord(TDBKeyStr(key), record);
    if (record.CallerID.Get() == callerID) {
      // A picture problem is reported once the caller is on display.
      const QString problem = editor_.ShowRecord(FromEightBit(record.CallerName.Get()));
      if (report.isEmpty()) report = problem;
      shown = record.CallerName.Get();
    }
  }
  return shown;
}

std::string TCallHandler::DisplayEquivalentRecords(const std::string& callerID,
                                                   QString& report) {
  // Only when no stored number equals the call's text: the callers stored
  // with the same number written another way, the last in the list staying.
  std::string shown;
  for (const TCallerRecord& caller : equivalentCallers_.Find(db_, callerID)) {
    const QString problem = editor_.ShowRecord(FromEightBit(caller.CallerName.Get()));
    if (report.isEmpty()) report = problem;
    shown = caller.CallerName.Get();
  }
  return shown;
}

void TCallHandler::ShowUnknownCaller(const std::string& callerID, const std::string& callerName,
                                     QString& report) {
  view_.SetPicture(pictures_.ShownDefault(report));
  view_.SetCallerNameText(FromEightBit(callerName));
  view_.SetCallerIDText(FromEightBit(callerID));
  view_.SetSaveButtonVisible(true);
}
