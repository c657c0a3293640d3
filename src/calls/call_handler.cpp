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
                           const TCallerPictures& pictures)
    : db_(db), view_(view), editor_(editor), pictures_(pictures) {}

void TCallHandler::LineMonitorCallerID(QObject* /*Sender*/, const QString& Number,
                                       const QString& Name, int Flags) {
  StoreCallData(Number, Name, Flags);
  if (callerIDBusy_) return;  // the processing under way uses the data just stored

  TBusyGuard busy(callerIDBusy_);
  DelayWithMessages(kCollectionWaitMs);
  // The mode is tested only now: the user may have switched it during the wait.
  if (view_.IsActiveMode()) {
    ShowCaller();
  } else if (RunRemoteAction) {
    RunRemoteAction();
  }
}

void TCallHandler::LineMonitorCallState(QObject* /*Sender*/, const QString& State) {
  if (ToEightBit(State) != kIdleState) return;
  currentCallerID_ = kNoData;
  currentCallerName_ = kNoData;
}

void TCallHandler::StoreCallData(const QString& number, const QString& name, int flags) {
  if (flags & kFlagNumber) currentCallerID_ = FormatCallerNumber(number);
  if (flags & kFlagBlocked) currentCallerID_ = kBlockedNumber;
  if (flags & kFlagName) currentCallerName_ = ToEightBit(StripControlCharacters(name));
}

void TCallHandler::ShowCaller() {
  view_.ShowAndRaise();
  view_.Beep();
  if (!DisplayMatchingRecords() && !DisplayEquivalentRecords()) ShowUnknownCaller();
}

bool TCallHandler::DisplayMatchingRecords() {
  // Every match is displayed in turn, so the last one in the sorted list
  // stays on screen. The count and the list are asked again on every pass;
  // the list may hold fewer keys than the count (keys differing only in
  // case are listed once), so the walk also stops at the list's end.
  bool found = false;
  for (int i = 0; i < db_.GetNumRecs(); ++i) {
    const auto& keys = db_.GetRecordList();
    if (static_cast<std::size_t>(i) >= keys.size()) break;
    const std::string key = keys[static_cast<std::size_t>(i)];
    TCallerRecord record{};
    db_.GetRecord(TDBKeyStr(key), record);
    if (record.CallerID.Get() == currentCallerID_) {
      editor_.DisplayRecord(FromEightBit(record.CallerName.Get()));
      found = true;
    }
  }
  return found;
}

bool TCallHandler::DisplayEquivalentRecords() {
  // Only when no stored number equals the call's text: the callers stored
  // with the same number written another way, the last in the list staying.
  const std::vector<TCallerRecord> callers = equivalentCallers_.Find(db_, currentCallerID_);
  for (const TCallerRecord& caller : callers)
    editor_.DisplayRecord(FromEightBit(caller.CallerName.Get()));
  return !callers.empty();
}

void TCallHandler::ShowUnknownCaller() {
  const QImage picture = pictures_.LoadDefault();
  view_.SetPicture(picture);
  view_.SetCallerNameText(FromEightBit(currentCallerName_));
  view_.SetCallerIDText(FromEightBit(currentCallerID_));
  view_.SetSaveButtonVisible(true);
}
