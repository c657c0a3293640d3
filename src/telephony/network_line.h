#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <memory>

#include "telephony/line_address.h"
#include "telephony/network_protocol.h"
#include "telephony/open_line.h"

class QTcpSocket;

// A line whose calls come from a server on the network (an NCID server, a
// FRITZ!Box call monitor), spoken to by its protocol. Opening never waits
// for the network: the line counts as open at once and connects in the
// background; until connected, and after every drop, it tries again every
// reopen interval (the first time after a drop at once), never faster,
// whatever the server does. A server silent for longer than the keep-alive
// interval and its margin is connected to anew. Nothing the server sends
// ends the connection.
class TNetworkLine : public TOpenLine {
  Q_OBJECT

 public:
  TNetworkLine(const TLineAddress& address, const TLineTimings& timings,
               std::unique_ptr<TNetworkProtocol> protocol);
  ~TNetworkLine() override;

  void Start() override;
  void Close() override;
  int CallTimeoutMs(int ringTimeoutMs) const override;

 private:
  void Connect();
  void HandleConnected();
  void HandleData();
  // The connection failed or ended: `reason` for the user; try again.
  void HandleDrop(const QString& reason);
  void Send(const QByteArray& bytes);
  void DropSocket();
  void SetState(const QString& state);

  TLineAddress address_;
  TLineTimings timings_;
  std::unique_ptr<TNetworkProtocol> protocol_;
  std::unique_ptr<QTcpSocket> socket_;
  QString state_;
  // Since the last connection attempt began: attempts are a reopen
  // interval apart at least.
  QElapsedTimer sinceAttempt_;
  QTimer retryTimer_;
  QTimer connectTimer_;
  QTimer keepAliveTimer_;
  QTimer silenceTimer_;
};
