// Measures the time from fakemodem writing the "NAME" line of a call to the
// line monitor delivering the matching OnCallerID, over 100 calls, and prints
// the median (target: under 5 ms). fakemodem stamps each line it sends with
// the monotonic clock, the same clock std::chrono::steady_clock reads here.
// Also measures probing 8 ports of which 7 stay silent: when the listing can
// go on (first answer plus the grace), when every port has its verdict (the
// probe timeout), the CPU time it takes, and the longest event-loop stall
// meanwhile (target: under 50 ms).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "telephony/line_monitor.h"
#include "telephony/line_prober.h"

#include "bench_support.h"

namespace {

using bench::CpuSeconds;
using bench::kWaitLimitMs;
using bench::NowNs;
using bench::WaitUntil;

constexpr int kCalls = 100;
constexpr int kSilentModems = 7;
constexpr const char* kCadenceSeconds = "0.01";

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QTemporaryDir dir;
  qputenv("XDG_CONFIG_HOME", dir.filePath("config").toLocal8Bit());
  qputenv("QUORVEL_LOCK_DIR", dir.path().toLocal8Bit());
  const QString link = dir.filePath("modem");

  QProcess modem;
  QByteArray output;
  QHash<QString, long long> sentAt;  // name -> when the modem wrote its line
  QObject::connect(&modem, &QProcess::readyReadStandardOutput, [&] {
    output += modem.readAllStandardOutput();
    qsizetype end;
    while ((end = output.indexOf('\n')) >= 0) {
      const QList<QByteArray> words = output.left(end).split(' ');
      output.remove(0, end + 1);
      // "sent <ns> NAME = <name>"
      if (words.size() == 5 && words[0] == "sent" && words[2] == "NAME") {
        sentAt.insert(QString::fromUtf8(words[4]), words[1].toLongLong());
      }
    }
  });
  bool ready = false;
  QObject::connect(&modem, &QProcess::readyReadStandardOutput, [&] { ready = true; });
  modem.start(QStringLiteral(FAKEMODEM_PATH), {"--link", link, "--cadence", kCadenceSeconds, "--trace"});
  if (!WaitUntil([&] { return ready; })) {
    std::fprintf(stderr, "fakemodem did not start\n");
    return 1;
  }

  // Listing: the answering modem plus silent ones, all probed at once.
  std::vector<std::unique_ptr<QProcess>> silentModems;
  QStringList lines{link};
  for (int i = 0; i < kSilentModems; ++i) {
    auto silent = std::make_unique<QProcess>();
    const QString silentLink = dir.filePath(QStringLiteral("silent%1").arg(i));
    silent->start(QStringLiteral(FAKEMODEM_PATH), {"--link", silentLink, "--silent"});
    if (!silent->waitForReadyRead(kWaitLimitMs)) {
      std::fprintf(stderr, "fakemodem did not start\n");
      return 1;
    }
    lines << silentLink;
    silentModems.push_back(std::move(silent));
  }

  // Probing: the ports asked at once, the listing waiting through the
  // event loop while a 1 ms timer measures how long the loop ever stands.
  QTimer ticker;
  ticker.setTimerType(Qt::PreciseTimer);
  QElapsedTimer sinceTick;
  qint64 worstStallMs = 0;
  QObject::connect(&ticker, &QTimer::timeout, [&] { worstStallMs = std::max(worstStallMs, sinceTick.restart()); });
  const double cpuBefore = CpuSeconds();
  sinceTick.start();
  ticker.start(1);
  QElapsedTimer probing;
  probing.start();
  TLineProber prober{TLineTimings()};
  prober.Probe(lines);
  if (!WaitUntil([&] { return prober.Settled(); })) return 1;
  const qint64 settledMs = probing.elapsed();
  WaitUntil([&] {
    for (const QString& line : lines) {
      if (prober.Verdict(line).state == TPortVerdict::State::kAsking) return false;
    }
    return true;
  });
  const qint64 allVerdictsMs = probing.elapsed();
  ticker.stop();
  const double cpuMs = (CpuSeconds() - cpuBefore) * 1000.0;
  const bool answered = prober.Verdict(link).state == TPortVerdict::State::kAnswered;
  for (auto& silent : silentModems) {
    silent->write("quit\n");
    silent->waitForFinished(kWaitLimitMs);
  }

  TLineMonitor monitor;
  QHash<QString, long long> deliveredAt;
  QObject::connect(&monitor, &TLineMonitor::OnCallerID, [&](QObject*, const QString&, const QString& name, int flags) {
    if (flags & 0x4) deliveredAt.insert(name, NowNs());
  });
  try {
    monitor.SetLineName(link);
    monitor.SetMediaMode(TLineMonitor::kDataModemMediaMode);
    monitor.SetCallPrivilege(TLineMonitor::kMonitorOwnerPrivilege);
    monitor.SetLineOpen(true);
  } catch (const ELineError& e) {
    std::fprintf(stderr, "cannot open the line: %s\n", e.what());
    return 1;
  }

  std::vector<double> latenciesMs;
  for (int call = 0; call < kCalls; ++call) {
    const QString name = QStringLiteral("CALLER%1").arg(call);
    modem.write(QStringLiteral("call 555%1 %2\n").arg(call, 4, 10, QChar('0')).arg(name).toUtf8());
    if (!WaitUntil([&] { return deliveredAt.contains(name) && sentAt.contains(name); })) {
      std::fprintf(stderr, "call %d was not delivered\n", call);
      return 1;
    }
    latenciesMs.push_back(static_cast<double>(deliveredAt.value(name) - sentAt.value(name)) / 1e6);
  }
  modem.write("quit\n");
  modem.waitForFinished(kWaitLimitMs);

  std::printf("Probing %lld ports, %d of them silent modems (modem %s):\n", static_cast<long long>(lines.size()),
              kSilentModems, answered ? "found" : "NOT found");
  std::printf("  listing goes on after %lld ms; every verdict after %lld ms; CPU %.1f ms; "
              "longest event-loop stall %lld ms\n",
              static_cast<long long>(settledMs), static_cast<long long>(allVerdictsMs), cpuMs,
              static_cast<long long>(worstStallMs));
  std::sort(latenciesMs.begin(), latenciesMs.end());
  const double median = (latenciesMs[kCalls / 2 - 1] + latenciesMs[kCalls / 2]) / 2;
  std::printf("NAME line written -> OnCallerID delivered, %d calls:\n", kCalls);
  std::printf("  median %.3f ms, min %.3f ms, 90th percentile %.3f ms, max %.3f ms (target: median under 5 ms)\n",
              median, latenciesMs.front(), latenciesMs[kCalls * 9 / 10], latenciesMs.back());
  return 0;
}
