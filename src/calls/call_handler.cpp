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
  StoreCallData(Number, Name, Flags);
  if (callerIDBusy_) return;  // the processing under way uses the data just stored

  TBusyGuard busy(callerIDBusy_);
  DelayWithMessages(CollectionWaitMs);
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
  if (LineIdle) LineIdle();
}

void TCallHandler::StoreCallData(const QString& number, const QString& name, int flags) {
  if (flags & kFlagNumber) currentCallerID_ = FormatCallerNumber(number);
  if (flags & kFlagBlocked) currentCallerID_ = kBlockedNumber;
  if (flags & kFlagName) currentCallerName_ = ToEightBit(StripControlCharacters(name));
}

void TCallHandler::ShowCaller() {
  view_.ShowAndRaise();
  view_.Beep();
  // One view of the database for the whole lookup: the file is checked and
  // parsed at most once, however many records there are.
  const TIniDBSnapshot snapshot(db_);
  editor_.RefreshCallerNames();
  QString report;
  const bool known = DisplayMatchingRecords(report);
  if (!known) ShowUnknownCaller(report);
  if (CallShown) {
    CallShown(TShownCall{view_.CallerNameText(), view_.CallerIDText(), QString(),
                         pictures_.LastShownFile(), known});
  }
  if (!report.isEmpty()) throw EPictureFile(ToEightBit(report));
}

bool TCallHandler::DisplayMatchingRecords(QString& report) {
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
      // A picture problem is reported once the caller is on display.
      const QString problem = editor_.ShowRecord(FromEightBit(record.CallerName.Get()));
      if (report.isEmpty()) report = problem;
      found = true;
    }
  }
  return found;
}

void TCallHandler::ShowUnknownCaller(QString& report) {
  const QString problem =
      editor_.ShowUnknownCaller(FromEightBit(currentCallerName_), FromEightBit(currentCallerID_));
  if (report.isEmpty()) report = problem;
}
