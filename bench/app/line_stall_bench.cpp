// Measures the longest stretch in which the event loop does not run, while
// the main window is created (line listing with this machine's own serial
// ports and an answering modem, opening the line), while the user switches
// to a modem that has gone silent and to one whose reset takes seconds,
// and while the watched modem is unplugged and plugged in again. A timer
// asks to run every millisecond; the longest gap between its runs is the
// stall (target: under 50 ms in every phase).
//
// usage: line_stall_bench   (runs on the offscreen platform, about 20 s)
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

#include "app/quorvel_form.h"
#include "platform/settings_store.h"

namespace {

constexpr int kWaitLimitMs = 60000;

// The longest gap between runs of a 1 ms timer, per phase.
class TStallMeter {
 public:
  TStallMeter() {
    ticker_.setTimerType(Qt::PreciseTimer);
    ticker_.setInterval(1);
    QObject::connect(&ticker_, &QTimer::timeout, [this] {
      worst_ = std::max(worst_, clock_.restart());
    });
  }
  void Begin() {
    worst_ = 0;
    clock_.start();
    ticker_.start();
  }
  qint64 End() {
    ticker_.stop();
    return std::max(worst_, clock_.elapsed());
  }

 private:
  QTimer ticker_;
  QElapsedTimer clock_;
  qint64 worst_ = 0;
};

// Runs the event loop until `condition` holds.
bool RunUntil(const std::function<bool()>& condition) {
  QElapsedTimer clock;
  clock.start();
  while (!condition()) {
    if (clock.elapsed() > kWaitLimitMs) return false;
    QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
  }
  return true;
}

void RunFor(int ms) {
  QElapsedTimer clock;
  clock.start();
  RunUntil([&] { return clock.elapsed() >= ms; });
}

// fakemodem as a child, its output collected.
class TModem {
 public:
  TModem(const QString& link, const QStringList& options) {
    QObject::connect(&process_, &QProcess::readyReadStandardOutput, [this] { output_ += process_.readAllStandardOutput(); });
    process_.start(QStringLiteral(FAKEMODEM_PATH), QStringList{"--link", link} + options);
    ok_ = RunUntil([this] { return output_.contains("ready"); });
  }
  ~TModem() {
    process_.write("quit\n");
    process_.waitForFinished(kWaitLimitMs);
  }
  bool Ok() const { return ok_; }
  void Command(const QByteArray& line) { process_.write(line + "\n"); }
  int Count(const QByteArray& text) const { return static_cast<int>(output_.count(text)); }

 private:
  QProcess process_;
  QByteArray output_;
  bool ok_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QTemporaryDir dir;
  qputenv("XDG_CONFIG_HOME", dir.filePath("config").toLocal8Bit());
  qputenv("QUORVEL_LOCK_DIR", dir.path().toLocal8Bit());
  TModem answering(dir.filePath("answering"), {});
  TModem goesSilent(dir.filePath("silent"), {});
  TModem slow(dir.filePath("slow"), {"--slow-reset", "3"});
  if (!answering.Ok() || !goesSilent.Ok() || !slow.Ok()) {
    std::fprintf(stderr, "fakemodem did not start\n");
    return 1;
  }
  platform::WriteSettingValue("Settings", "ExtraLines",
                              QStringList{dir.filePath("answering"), dir.filePath("silent"), dir.filePath("slow")}.join(';'));
  platform::WriteSettingValue("Settings", "Mode", "0");
  // Failure dialogs are answered at once: they wait in their own loop.
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [] {
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
  });
  closer.start(20);

  TStallMeter meter;
  std::unique_ptr<TQuorvelForm> form;
  meter.Begin();
  bool created = false;
  QTimer::singleShot(0, [&] {
    form = std::make_unique<TQuorvelForm>(dir.filePath("quorvel"));
    form->SetTrayHostWait(0);
    form->FormCreate();
    created = true;
  });
  RunUntil([&] { return created; });
  const qint64 startStall = meter.End();
  const QList<QAction*> lines = form->findChild<QMenu*>("Selectmodem1")->actions();
  if (lines.size() < 3 || !form->Line().LineOpen()) {
    std::fprintf(stderr, "the three modems were not offered and opened\n");
    return 1;
  }

  // Switching to a modem that stopped answering: its opening times out.
  goesSilent.Command("silent on");
  meter.Begin();
  lines.at(1)->trigger();
  const qint64 silentStall = meter.End();

  // Switching to a modem whose reset takes three seconds.
  meter.Begin();
  lines.at(2)->trigger();
  const qint64 slowStall = meter.End();
  const bool slowOpened = form->Line().LineOpen();

  // Unplugged while watched, tried again, plugged in and reopened.
  const int enables = slow.Count("got AT+VCID=1");
  meter.Begin();
  slow.Command("unplug");
  RunFor(6000);
  slow.Command("replug");
  const bool reopened = RunUntil([&] { return slow.Count("got AT+VCID=1") > enables; });
  RunFor(200);
  const qint64 unplugStall = meter.End();

  std::printf("Longest event-loop stall (target: under 50 ms):\n");
  std::printf("  start-up (listing %lld lines, opening the first): %lld ms\n",
              static_cast<long long>(form->Line().LineCount()), static_cast<long long>(startStall));
  std::printf("  switch to a modem that went silent (fails after its reply timeout): %lld ms\n",
              static_cast<long long>(silentStall));
  std::printf("  switch to a modem with a 3 s reset (%s): %lld ms\n", slowOpened ? "opened" : "NOT opened",
              static_cast<long long>(slowStall));
  std::printf("  unplug, 6 s away with retries, replug (%s): %lld ms\n", reopened ? "reopened" : "NOT reopened",
              static_cast<long long>(unplugStall));
  return slowOpened && reopened ? 0 : 1;
}
