#pragma once

#include <QByteArray>
#include <QStringList>
#include <vector>

#include "telephony/line_notice.h"

// The protocol side of a line on the network: a pure parser of what one
// server sends (bytes in; call notices, replies and messages out), with no
// I/O and no clock, so it can be fed any bytes. The transport that owns it
// connects, reads, writes and reconnects.
class TNetworkProtocol {
 public:
  // Servers send text lines; one longer than this is dropped whole.
  static constexpr int kMaxLineBytes = 4096;

  struct TOutput {
    std::vector<TLineNotice> notices;
    QByteArray reply;      // to be sent to the server now
    QStringList messages;  // free text the server sent for display
  };

  virtual ~TNetworkProtocol() = default;

  virtual TOutput Feed(const QByteArray& data) = 0;
  // A new connection to the server begins.
  virtual void Restart() = 0;
  // What to send after a quiet keep-alive interval; empty: nothing.
  virtual QByteArray KeepAlive() const { return QByteArray(); }
  // True when the server says how every call ends, but nothing while the
  // phone rings: a call then waits for that word longer than for a ring.
  virtual bool ReportsEveryCallEnd() const { return false; }
};
