#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>

#include "calls/caller_pictures.h"
#include "calls/caller_view.h"
#include "calls/shown_call.h"

class TIniDBase;
class TCallerEditor;

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

  // The Passive-mode hand-off, run once per processed event; its owner sets
  // it. Empty: nothing happens.
  std::function<void()> RunRemoteAction;

  // Told of each call once the window shows it (Active mode; the line is
  // left empty), and of each time the line goes idle. Their owner sets them;
  // empty: nothing happens. They must not throw.
  std::function<void(const TShownCall&)> CallShown;
  std::function<void()> LineIdle;

  // The collection wait (kCollectionWaitMs); tests shorten it.
  int CollectionWaitMs;

 private:
  void StoreCallData(const QString& number, const QString& name, int flags);
  void ShowCaller();
  // Each adds to `report` what must be reported once the caller is shown.
  bool DisplayMatchingRecords(QString& report);
  void ShowUnknownCaller(QString& report);

  TIniDBase& db_;
  TCallerView& view_;
  TCallerEditor& editor_;
  TCallerPictures& pictures_;
  std::string currentCallerID_;
  std::string currentCallerName_;
  bool callerIDBusy_ = false;
};
