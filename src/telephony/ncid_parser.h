#pragma once

#include <QByteArray>
#include <optional>

#include "telephony/line_assembler.h"
#include "telephony/network_protocol.h"

// The client side of the NCID protocol: reads what an NCID server sends
// and answers its start-up. Accepts servers old and new: a "200" banner
// with or without the "210" API line, and the start-up ended by "300"
// after or instead of "250 End of call log". Right after the "210" line it
// introduces itself and asks the server to leave out its call log; call-log
// lines that come anyway, options and unknown line types are skipped.
//
// "CID:" lines (also relayed ones, "+CID:") are read by label, in any order
// and with any extra labels, and make a call: a ring, then the number and
// the name. "CIDINFO:" ring counts keep the call ringing; ring 0 or -2
// (answered), -1 (missed) and the other end codes, and "END:" lines of
// incoming calls, end it. A server may watch several telephone lines: the
// call followed is the latest one to ring, and the end of a call on
// another line does not end it. "MSG:" and "NOT:" texts are passed on as
// messages.
class TNcidParser : public TNetworkProtocol {
 public:
  // `clientVersion` goes into the client's introduction.
  explicit TNcidParser(const QByteArray& clientVersion);

  TOutput Feed(const QByteArray& data) override;
  void Restart() override;
  // A bare line feed: the server does not answer it.
  QByteArray KeepAlive() const override { return QByteArrayLiteral("\n"); }

  // The server has finished its start-up ("300").
  bool StartupDone() const { return startupDone_; }

 private:
  void ReadLine(const QByteArray& line, TOutput& output);
  // Whether an end told for telephone line `line` is the followed call's.
  bool Followed(const std::optional<QByteArray>& line) const;

  QByteArray hello_;
  TLineAssembler assembler_{kMaxLineBytes};
  bool helloSent_ = false;
  bool startupDone_ = false;
  // The telephony line (the "LINE" label) of the call followed, once known.
  std::optional<QByteArray> callLine_;
};
