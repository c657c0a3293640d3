// Forwards calls to a DDE Link target while the session bus daemon is
// stopped (SIGSTOP), as a stalled bus, and reports the longest time the event
// loop went without running a 1 ms timer, and how long each forwarding took.
// The same with the bus running, for comparison. Real parts: a private
// dbus-daemon, dde-receiver owning the target's name, the forwarding action
// and its queue.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <csignal>
#include <cstdio>

#include "platform/dde_client_conv.h"
#include "remote/forwarding_queue.h"

namespace {

constexpr int kCalls = 10;
constexpr int kWaitLimitMs = 60000;

bool WaitUntil(const std::function<bool()>& condition) {
  QElapsedTimer clock;
  clock.start();
  while (!condition()) {
    if (clock.elapsed() > kWaitLimitMs) return false;
    QEventLoop loop;
    QTimer::singleShot(1, &loop, &QEventLoop::quit);
    loop.exec();
  }
  return true;
}

struct TRun {
  qint64 longestStallMs = 0;
  qint64 longestForwardingMs = 0;
};

// Forwards kCalls calls, one after another, and measures.
TRun Forward(TForwardingQueue& queue, std::size_t& outcomes, const QString& target) {
  remote::TRemoteProfile profile;
  profile.Application = target;
  profile.DdeLink = true;
  profile.Topic = QStringLiteral("bench");
  profile.Commands = QStringLiteral("show @CIN");

  TRun run;
  QElapsedTimer sinceTick;
  QTimer tick;
  QObject::connect(&tick, &QTimer::timeout, [&] {
    run.longestStallMs = std::max(run.longestStallMs, sinceTick.restart());
  });
  sinceTick.start();
  tick.start(1);
  for (int call = 0; call < kCalls; ++call) {
    const std::size_t before = outcomes;
    QElapsedTimer clock;
    clock.start();
    queue.Add(profile, {"555-000-" + std::to_string(1000 + call), "Caller", "bench"});
    if (!WaitUntil([&] { return outcomes > before; })) break;
    run.longestForwardingMs = std::max(run.longestForwardingMs, clock.elapsed());
  }
  return run;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QProcess daemon;
  daemon.setStandardErrorFile(QProcess::nullDevice());
  daemon.start(QStringLiteral("dbus-daemon"),
               {QStringLiteral("--session"), QStringLiteral("--nofork"),
                QStringLiteral("--print-address=1")});
  QString address;
  if (!WaitUntil([&] {
        address += QString::fromUtf8(daemon.readAllStandardOutput());
        return address.contains(QLatin1Char('\n'));
      })) {
    std::fprintf(stderr, "dbus-daemon did not start\n");
    return 1;
  }
  address = address.trimmed();
  const QDBusConnection bus = QDBusConnection::connectToBus(address, QStringLiteral("bench"));

  const QString target = QStringLiteral("org.varnock.QuorvelBench.Stalled");
  QProcess receiver;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
  receiver.setProcessEnvironment(env);
  receiver.setStandardOutputFile(QProcess::nullDevice());
  receiver.start(QStringLiteral(DDE_RECEIVER_PATH), {target});
  platform::TDdeClientConv conversation(bus);
  conversation.SetLink(target, QStringLiteral("bench"));
  if (!WaitUntil([&] { return conversation.OpenLink(); })) {
    std::fprintf(stderr, "dde-receiver did not take its name\n");
    return 1;
  }
  conversation.CloseLink();

  QTemporaryDir folder;
  TRemoteAction action(conversation, folder.path() + "/");
  std::size_t outcomes = 0;
  action.SetOutcomeHook([&](const TForwardingOutcome&) { ++outcomes; });
  TForwardingQueue queue([&](const remote::TRemoteProfile& p, const TCallData& c) {
    action.RunRemoteAction(p, c);
  });

  const TRun running = Forward(queue, outcomes, target);
  kill(static_cast<pid_t>(daemon.processId()), SIGSTOP);
  const TRun stalled = Forward(queue, outcomes, target);
  kill(static_cast<pid_t>(daemon.processId()), SIGCONT);

  std::printf("bus running: longest event-loop stall %lld ms, longest forwarding %lld ms "
              "(one command: a 300 ms wait)\n",
              static_cast<long long>(running.longestStallMs),
              static_cast<long long>(running.longestForwardingMs));
  std::printf("bus daemon stopped: longest event-loop stall %lld ms, longest forwarding %lld ms "
              "(counts as not open after %d ms)\n",
              static_cast<long long>(stalled.longestStallMs),
              static_cast<long long>(stalled.longestForwardingMs), platform::kBusQueryTimeoutMs);
  receiver.kill();
  receiver.waitForFinished();
  daemon.kill();
  daemon.waitForFinished();
  return 0;
}
