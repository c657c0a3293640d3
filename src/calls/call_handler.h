#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>

#include "calls/caller_pictures.h"
#include "calls/caller_view.h"
#include "numbers/equivalent_callers.h"
#include "numbers/home_region.h"

class TIniDBase;
class TCallerEditor;

// One processed call as the call handling saw it, for the call log.
struct TCallFacts {
  std::string numberReceived;  // this call's number as sent ("" when none came)
  std::string callerID;        // CurrentCallerID as shown or forwarded
  std::string callerName;      // CurrentCallerName
  std::string matchedName;     // the stored caller displayed last; "" when none
  bool withheld = false;
  bool outOfArea = false;
  bool activeMode = false;
};

// What call handling tells about each call; set by the owner, each may be empty.
struct TCallObserver {
  // A caller-ID event starts a call's processing (before the collection wait).
  std::function<void()> callStarted;
  // The call has been shown or handed on, or its processing ended with an
  // error. Must not throw.
  std::function<void(const TCallFacts&)> callHandled;
};

// Turns the line monitor's caller-ID and call-state events into the current
// call's data, and each call into a display (Active mode) or a hand-off to
// the remote action (Passive mode).
//
// Events of one call arrive within a second of each other; the first starts
// a one-second collection wait during which the event loop keeps running, so
// later events of the same call only complete the data.
class TCallHandler {
 public:
  TCallHandler(TIniDBase& db, TCallerView& view, TCallerEditor& editor,
               TCallerPictures& pictures);

  // Handler of the monitor's OnCallerID. May run nested inside itself during
  // the collection wait. Errors (a database failure) end the processing and
  // are thrown to the caller; a picture that cannot be read is thrown once
  // this call's caller is on display. The busy flag is cleared on every way
  // out.
  void LineMonitorCallerID(QObject* Sender, const QString& Number, const QString& Name,
                           int Flags);
  // Handler of the monitor's OnCallState: "IDLE" turns the call data into "NO DATA".
  void LineMonitorCallState(QObject* Sender, const QString& State);

  // The current call's number as displayed and looked up ("BLOCKED" when
  // withheld, "NO DATA" after the line went idle, empty before the first call).
  const std::string& CurrentCallerID() const { return currentCallerID_; }
  // The caller's name as the network sent it ("NO DATA" after the line went idle).
  const std::string& CurrentCallerName() const { return currentCallerName_; }
  // True while one caller-ID event is being processed.
  bool CallerIDBusy() const { return callerIDBusy_; }

  // Numbers are read in this region when the call's text matches no stored
  // number exactly ("US" until set).
  void SetHomeRegion(const std::string& region) { equivalentCallers_.SetHomeRegion(region); }
  // Reads the stored numbers ahead of the first call that needs them.
  void PrepareNumberLookup() { equivalentCallers_.Prepare(db_); }

  // The Passive-mode hand-off, run once per processed event; its owner sets
  // it. Empty: nothing happens.
  std::function<void()> RunRemoteAction;
  TCallObserver Observer;

  // Shows a caller as an Active-mode call would (window, lookup, or the
  // network's data with "Save to database"), without the beep and without
  // touching the current call's data. Errors are thrown as for a call.
  void ShowLoggedCaller(const std::string& callerID, const std::string& callerName);

  // The collection wait (kCollectionWaitMs); tests shorten it.
  int CollectionWaitMs;

 private:
  void StoreCallData(const QString& number, const QString& name, int flags);
  // Shows the caller of `callerID` as a call does; `shown` (when given) gets
  // the stored caller left on screen, "" when none matched.
  void ShowCaller(const std::string& callerID, const std::string& callerName, std::string* shown);
  // Each adds to `report` what must be reported once the caller is shown.
  std::string DisplayMatchingRecords(const std::string& callerID, QString& report);
  std::string DisplayEquivalentRecords(const std::string& callerID, QString& report);
  void ShowUnknownCaller(const std::string& callerID, const std::string& callerName,
                         QString& report);
  void ReportCall() noexcept;

  TIniDBase& db_;
  TCallerView& view_;
  TCallerEditor& editor_;
  TCallerPictures& pictures_;
  std::string currentCallerID_;
  std::string currentCallerName_;
  bool callerIDBusy_ = false;
  // The call being processed, for the observer.
  TCallFacts facts_;
  numbers::TEquivalentCallers equivalentCallers_{numbers::kFallbackRegion};
};
