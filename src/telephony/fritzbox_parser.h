#pragma once

#include <QByteArray>
#include <optional>

#include "telephony/line_assembler.h"
#include "telephony/network_protocol.h"

// Reads a FRITZ!Box call monitor: one event a line, fields separated by
// ";". Only incoming calls matter: "RING" rings with the caller's number
// (an empty one is withheld; no name is ever sent), "CONNECT" means the
// call was answered (it rings no more: the call is over, answered), and
// "DISCONNECT" before that ends it as missed. "CALL" (outgoing) is
// ignored. Several calls can be under way at once: the connection id ties
// the lines of one call together, and the latest incoming call is the one
// followed, so the end of an earlier call never ends a later one.
class TFritzBoxParser : public TNetworkProtocol {
 public:
  TOutput Feed(const QByteArray& data) override;
  // The call followed stays known across a reconnection: its end may come
  // on the new connection.
  void Restart() override { assembler_.Reset(); }
  bool ReportsEveryCallEnd() const override { return true; }

 private:
  void ReadLine(const QByteArray& line, std::vector<TLineNotice>& notices);

  TLineAssembler assembler_{kMaxLineBytes};
  // The connection id of the incoming call followed, until its end.
  std::optional<QByteArray> current_;
};
