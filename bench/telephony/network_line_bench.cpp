// Network lines against fakeserver on a local port, with the program's own
// timings:
// - the time from the server writing a call's caller-ID line (NCID "CID:",
//   FRITZ!Box "RING") to the line monitor delivering its OnCallerID, over
//   100 calls each, median (target: under 5 ms); fakeserver stamps each
//   line with the monotonic clock, the one std::chrono::steady_clock reads;
// - the time from the server coming back to the line being connected again,
//   for servers returning at several points of the retry interval (target:
//   within 5.5 s);
// - the CPU time the program spends while the server is down, over a
//   minute (target: under 0.01 s).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "bench_support.h"
#include "telephony/line_monitor.h"

namespace {

using bench::CpuSeconds;
using bench::kWaitLimitMs;
using bench::NowNs;
using bench::WaitUntil;

constexpr int kCalls = 100;
constexpr int kDownMinuteMs = 60000;
// When the server returns, in ms after it first refused a connection.
constexpr int kReturnPhasesMs[] = {300, 1300, 2300, 3300, 4300};

void Idle(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

// fakeserver with its trace: when each caller-ID line went out.
class TServer {
 public:
  explicit TServer(const char* kind) {
    QObject::connect(&process_, &QProcess::readyReadStandardOutput, [this] {
      output_ += process_.readAllStandardOutput();
      qsizetype end;
      while ((end = output_.indexOf('\n')) >= 0) {
        const QByteArray line = output_.left(end);
        output_.remove(0, end + 1);
        const QList<QByteArray> words = line.split(' ');
        if (words.value(0) == "ready") port_ = words.value(1).toInt();
        if (words.value(0) == "sent") sentAt_.push_back(words.value(1).toLongLong());
      }
    });
    process_.start(QStringLiteral(FAKESERVER_PATH),
                   {QStringLiteral("--") + kind, "--trace", "--rings", "1", "--cadence", "0.01"});
    WaitUntil([this] { return port_ > 0; });
    url_ = QStringLiteral("%1://127.0.0.1:%2").arg(kind).arg(port_);
  }
  ~TServer() {
    Command("quit");
    process_.waitForFinished(kWaitLimitMs);
  }

  void Command(const QByteArray& line) {
    process_.write(line + '\n');
    process_.waitForBytesWritten(kWaitLimitMs);
  }
  const QString& Url() const { return url_; }
  const std::vector<long long>& SentAt() const { return sentAt_; }

 private:
  QProcess process_;
  QByteArray output_;
  int port_ = 0;
  QString url_;
  std::vector<long long> sentAt_;
};

bool Open(TLineMonitor& monitor, const QString& url) {
  try {
    monitor.SetLineName(url);
    monitor.SetMediaMode(TLineMonitor::kDataModemMediaMode);
    monitor.SetCallPrivilege(TLineMonitor::kMonitorOwnerPrivilege);
    monitor.SetLineOpen(true);
  } catch (const ELineError& e) {
    std::fprintf(stderr, "cannot open %s: %s\n", qPrintable(url), e.what());
    return false;
  }
  return WaitUntil([&] { return monitor.LineState() == QLatin1String("connected"); });
}

// Median latency in ms of kCalls calls on a `kind` server, or -1.
double CallerIdLatencyMs(const char* kind) {
  TServer server(kind);
  TLineMonitor monitor;
  std::vector<long long> deliveredAt;
  int idle = 0;
  QObject::connect(&monitor, &TLineMonitor::OnCallerID, [&](QObject*, const QString&, const QString&, int flags) {
    if (flags & 0x9) deliveredAt.push_back(NowNs());
  });
  QObject::connect(&monitor, &TLineMonitor::OnCallState, [&](QObject*, const QString& state) {
    if (state == QLatin1String("IDLE")) ++idle;
  });
  if (!Open(monitor, server.Url())) return -1;
  std::vector<double> latenciesMs;
  for (int call = 0; call < kCalls; ++call) {
    server.Command(QStringLiteral("call 555%1 CALLER %1").arg(call, 4, 10, QChar('0')).toUtf8());
    if (!WaitUntil(
            [&] { return deliveredAt.size() > std::size_t(call) && server.SentAt().size() > std::size_t(call); })) {
      std::fprintf(stderr, "call %d was not delivered\n", call);
      return -1;
    }
    latenciesMs.push_back(static_cast<double>(deliveredAt[std::size_t(call)] - server.SentAt()[std::size_t(call)]) /
                          1e6);
    // The next call once this one is over.
    if (!WaitUntil([&] { return idle > call; })) return -1;
  }
  std::sort(latenciesMs.begin(), latenciesMs.end());
  std::printf("  %s: median %.3f ms, min %.3f ms, 90th percentile %.3f ms, max %.3f ms\n", kind,
              (latenciesMs[kCalls / 2 - 1] + latenciesMs[kCalls / 2]) / 2, latenciesMs.front(),
              latenciesMs[kCalls * 9 / 10], latenciesMs.back());
  return latenciesMs[kCalls / 2];
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QTemporaryDir dir;
  qputenv("XDG_CONFIG_HOME", dir.filePath("config").toLocal8Bit());

  std::printf("Caller-ID line written by the server -> OnCallerID delivered, %d calls (target: median under 5 ms):\n",
              kCalls);
  if (CallerIdLatencyMs("ncid") < 0 || CallerIdLatencyMs("fritzbox") < 0) return 1;

  TServer server("ncid");
  TLineMonitor monitor;
  if (!Open(monitor, server.Url())) return 1;
  const QString refused = QStringLiteral("Connection refused, retrying");
  std::printf("Server back -> connected again, with the program's retry interval (target: within 5.5 s):\n");
  for (const int phaseMs : kReturnPhasesMs) {
    server.Command("stop");
    if (!WaitUntil([&] { return monitor.LineState() == refused; })) return 1;
    Idle(phaseMs);
    QElapsedTimer back;
    back.start();
    server.Command("start");
    if (!WaitUntil([&] { return monitor.LineState() == QLatin1String("connected"); })) return 1;
    std::printf("  back %d ms after the first refusal: connected after %.3f s\n", phaseMs,
                static_cast<double>(back.nsecsElapsed()) / 1e9);
  }

  server.Command("stop");
  if (!WaitUntil([&] { return monitor.LineState() == refused; })) return 1;
  const double cpuBefore = CpuSeconds();
  Idle(kDownMinuteMs);
  std::printf("CPU while the server is down: %.4f s in %d s (target: under 0.01 s per minute)\n",
              CpuSeconds() - cpuBefore, kDownMinuteMs / 1000);
  return 0;
}
