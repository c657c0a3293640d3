#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <vector>

#include "telephony/line_notice.h"
#include "telephony/line_timings.h"

// A line being watched, of whatever kind: a serial caller-ID modem, an
// NCID server or a FRITZ!Box call monitor. Each kind is a transport
// (opening, reading, reconnecting, all through the event loop) around a
// pure parser that turns its bytes into TLineNotices; the line monitor in
// front of it follows the calls the same way for every kind.
//
// Created closed. Start() opens it in the background: Opened or Failed
// follows through the event loop, never from within Start(). Once opened
// the line keeps itself open until it is destroyed (a vanished device or a
// dropped connection is tried again quietly) and reports what it hears as
// Notices, until Close() or its destruction.
class TOpenLine : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;

  virtual void Start() = 0;
  // Closes whatever the line holds, at once; nothing is reported after it.
  // Safe from within the line's own signals (the object is deleted later).
  virtual void Close() = 0;
  // A call rang without any caller ID: the device may have lost its
  // caller-ID mode (reset, power loss). Kinds that can switch it on again.
  virtual void RestoreCallerId() {}
  // How long a call may go on without a word from the line before it is
  // over, given the ring timeout.
  virtual int CallTimeoutMs(int ringTimeoutMs) const { return ringTimeoutMs; }

 signals:
  void Opened();
  // The first opening failed; `reason` is a message for the user. Nothing
  // more follows.
  void Failed(const QString& reason);
  void Notices(const std::vector<TLineNotice>& notices);
  // What the line is doing now, for the user (see LineStates).
  void StateChanged(const QString& state);
};

// The line of the kind its name says: a device path is a serial modem, a
// URL a server on the network. Throws ELineError for a URL that is not
// valid.
std::unique_ptr<TOpenLine> MakeOpenLine(const QString& name, const TLineTimings& timings);
