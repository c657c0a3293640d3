#include "telephony/network_line.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QTcpSocket>
#include <algorithm>

#include "telephony/line_states.h"

namespace {

// What servers send for display is of no use to the program; it is there
// for whoever debugs a setup (QT_LOGGING_RULES="quorvel.line.debug=true").
Q_LOGGING_CATEGORY(lcLine, "quorvel.line", QtInfoMsg)

}  // namespace

TNetworkLine::TNetworkLine(const TLineAddress& address, const TLineTimings& timings,
                           std::unique_ptr<TNetworkProtocol> protocol)
    : address_(address), timings_(timings), protocol_(std::move(protocol)) {
  for (QTimer* timer : {&retryTimer_, &connectTimer_, &keepAliveTimer_, &silenceTimer_}) timer->setSingleShot(true);
  connect(&retryTimer_, &QTimer::timeout, this, &TNetworkLine::Connect);
  // A server that does not answer at all (its packets dropped) would keep a
  // connection attempt waiting for minutes.
  connect(&connectTimer_, &QTimer::timeout, this,
          [this] { HandleDrop(QCoreApplication::translate("LineStates", "Connection timed out")); });
  connect(&keepAliveTimer_, &QTimer::timeout, this, [this] { Send(protocol_->KeepAlive()); });
  connect(&silenceTimer_, &QTimer::timeout, this,
          [this] { HandleDrop(QCoreApplication::translate("LineStates", "No word from the server")); });
}

TNetworkLine::~TNetworkLine() { Close(); }

void TNetworkLine::Start() {
  SetState(LineStates::Connecting());
  QMetaObject::invokeMethod(
      this, [this] { emit Opened(); }, Qt::QueuedConnection);
  Connect();
}

void TNetworkLine::Close() {
  for (QTimer* timer : {&retryTimer_, &connectTimer_, &keepAliveTimer_, &silenceTimer_}) timer->stop();
  DropSocket();
}

int TNetworkLine::CallTimeoutMs(int ringTimeoutMs) const {
  return protocol_->ReportsEveryCallEnd() ? std::max(ringTimeoutMs, timings_.callEndWaitMs) : ringTimeoutMs;
}

void TNetworkLine::Connect() {
  DropSocket();
  sinceAttempt_.start();
  socket_ = std::make_unique<QTcpSocket>();
  QTcpSocket* socket = socket_.get();
  connect(socket, &QTcpSocket::connected, this, &TNetworkLine::HandleConnected);
  connect(socket, &QTcpSocket::readyRead, this, &TNetworkLine::HandleData);
  connect(socket, &QAbstractSocket::errorOccurred, this, [this, socket] { HandleDrop(socket->errorString()); });
  connect(socket, &QAbstractSocket::disconnected, this,
          [this] { HandleDrop(QCoreApplication::translate("LineStates", "The server closed the connection")); });
  connectTimer_.start(timings_.reopenIntervalMs);
  // Host names are looked up in the background; the socket may report a
  // failure from within (it is dropped then): nothing touches it after.
  socket->connectToHost(address_.host, address_.port);
}

void TNetworkLine::HandleConnected() {
  connectTimer_.stop();
  // The system's own probes find a peer that vanished without a word.
  socket_->setSocketOption(QAbstractSocket::KeepAliveOption, 1);
  protocol_->Restart();
  SetState(LineStates::Connected());
  keepAliveTimer_.start(timings_.keepAliveMs);
  silenceTimer_.start(timings_.keepAliveMs + timings_.keepAliveMarginMs);
}

void TNetworkLine::HandleData() {
  if (!socket_) return;
  const QByteArray data = socket_->readAll();
  keepAliveTimer_.start(timings_.keepAliveMs);
  silenceTimer_.start(timings_.keepAliveMs + timings_.keepAliveMarginMs);
  const TNetworkProtocol::TOutput output = protocol_->Feed(data);
  Send(output.reply);
  for (const QString& message : output.messages) {
    qCDebug(lcLine).noquote() << address_.Url() << "says:" << message;
  }
  if (!output.notices.empty()) emit Notices(output.notices);
}

void TNetworkLine::Send(const QByteArray& bytes) {
  if (!socket_ || bytes.isEmpty() || socket_->state() != QAbstractSocket::ConnectedState) return;
  socket_->write(bytes);
  keepAliveTimer_.start(timings_.keepAliveMs);
}

void TNetworkLine::HandleDrop(const QString& reason) {
  // A connection ends with more than one signal; the first one counts.
  if (!socket_) return;
  DropSocket();
  for (QTimer* timer : {&connectTimer_, &keepAliveTimer_, &silenceTimer_}) timer->stop();
  SetState(LineStates::Retrying(reason));
  // At once after a connection that lasted, a whole interval after the
  // attempt that failed: a server that refuses or hangs up at once is
  // never asked in a busy loop.
  const qint64 wait = std::max<qint64>(0, timings_.reopenIntervalMs - sinceAttempt_.elapsed());
  retryTimer_.start(static_cast<int>(wait));
}

void TNetworkLine::DropSocket() {
  if (!socket_) return;
  // Possibly within one of the socket's own signals.
  disconnect(socket_.get(), nullptr, this, nullptr);
  socket_->abort();
  socket_.release()->deleteLater();
}

void TNetworkLine::SetState(const QString& state) {
  if (state == state_) return;
  state_ = state;
  emit StateChanged(state);
}
