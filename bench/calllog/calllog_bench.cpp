// Times the call log with 100,000 calls: writing one call (median of the
// last 1000 writes into a log that size), opening the Call Log window to its
// first paint, and one search keystroke (the filter applied and painted).
//
// usage: calllog_bench [--fill FILE [COUNT]]
//   --fill writes COUNT (100,000) calls into FILE and ends (for the memory
//   measurement); without it everything is timed in a temporary folder.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>
#include <cstdio>
#include <vector>

#include "calllog/call_log_window.h"
#include "calllog/call_store.h"

namespace {

constexpr int kCalls = 100000;
constexpr int kTimedWrites = 1000;
constexpr int kOpenings = 7;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double Max(const std::vector<double>& values) {
  return *std::max_element(values.begin(), values.end());
}

TLoggedCall MakeCall(int i) {
  static const char* const kNames[] = {"Alice Brown", "Bob Green", "Émile Zola", "ANN SMITH",
                                       "Müller, Jörg", "Dr. Chen", "O'Neil", "WIRELESS CALLER"};
  TLoggedCall call;
  call.startUtc = QDateTime::currentDateTimeUtc().addSecs(-600LL * (kCalls - i));
  call.utcOffsetSeconds = 3600;
  call.line = QStringLiteral("/dev/ttyACM0");
  call.numberReceived = QString::number(2000000000LL + (i * 7919LL) % 8000000000LL);
  call.numberDisplayed = call.numberReceived.left(3) + u'-' + call.numberReceived.mid(3, 3) +
                         u'-' + call.numberReceived.mid(6);
  call.networkName = QString::fromUtf8(kNames[i % 8]) + u' ' + QString::number(i % 977);
  if (i % 3 == 0) call.matchedName = QStringLiteral("Caller %1").arg(i % 999);
  call.ending = i % 5 == 0 ? TCallEnding::kMissed : TCallEnding::kUnknown;
  return call;
}

// Writes `count` calls; returns the times of the last kTimedWrites, in ms.
std::vector<double> Fill(TCallStore& store, int count) {
  std::vector<double> times;
  QElapsedTimer timer;
  for (int i = 0; i < count; ++i) {
    TLoggedCall call = MakeCall(i);
    timer.start();
    if (!store.Insert(call)) {
      std::fprintf(stderr, "write %d failed\n", i);
      std::exit(1);
    }
    if (i >= count - kTimedWrites) times.push_back(double(timer.nsecsElapsed()) / 1e6);
  }
  return times;
}

// Notes the first paint of a widget.
class PaintWatch : public QObject {
 public:
  bool painted = false;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted = true;
    return QObject::eventFilter(watched, event);
  }
};

void WaitForPaint(PaintWatch& watch) {
  while (!watch.painted) QApplication::processEvents(QEventLoop::AllEvents, 5);
}

// This process's resident set in kB.
long ResidentKb() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc >= 3 && QByteArray(argv[1]) == "--fill") {
    TCallStore store(QString::fromLocal8Bit(argv[2]));
    Fill(store, argc >= 4 ? atoi(argv[3]) : kCalls);
    return 0;
  }

  QTemporaryDir dir;
  TCallStore store(dir.filePath("calls.sqlite"));
  QElapsedTimer filling;
  filling.start();
  const std::vector<double> writes = Fill(store, kCalls);
  std::printf("filled %d calls in %.1f s\n", kCalls, double(filling.elapsed()) / 1000);
  std::printf("writing one call with %d in the log: median %.3f ms, max %.3f ms (last %d writes)\n",
              kCalls, Median(writes), Max(writes), kTimedWrites);

  std::vector<double> openings;
  for (int i = 0; i < kOpenings; ++i) {
    store.Close();  // each opening starts from a closed file, as after start-up
    QElapsedTimer timer;
    timer.start();
    TCallLogWindow window(store);
    PaintWatch watch;
    window.findChild<QTableView*>()->viewport()->installEventFilter(&watch);
    window.show();
    WaitForPaint(watch);
    openings.push_back(double(timer.nsecsElapsed()) / 1e6);
  }
  std::printf("opening the window to first paint: median %.1f ms, max %.1f ms (%d openings)\n",
              Median(openings), Max(openings), kOpenings);

  store.ReleaseMemory();
  const long closedKb = ResidentKb();
  auto window = std::make_unique<TCallLogWindow>(store);
  window->show();
  auto* table = window->findChild<QTableView*>();
  auto* search = window->findChild<QLineEdit*>("search");
  PaintWatch watch;
  table->viewport()->installEventFilter(&watch);
  std::vector<double> keystrokes;
  // Growing and shrinking searches: names, numbers, few and no matches, and
  // the two-letter text with no match that reads every call.
  const QStringList typed = {"a",   "an",  "ann",  "ann ", "ann s", "555",  "5551",
                             "55512", "zq", "zqx", "émile", "o'ne", "caller 99", ""};
  for (const QString& text : typed) {
    watch.painted = false;
    QElapsedTimer timer;
    timer.start();
    search->setText(text);
    WaitForPaint(watch);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    keystrokes.push_back(ms);
    std::printf("  search \"%s\": %.1f ms, %d rows shown\n", qPrintable(text), ms,
                table->model()->rowCount());
  }
  std::printf("search keystroke over %d calls: median %.1f ms, max %.1f ms\n", kCalls,
              Median(keystrokes), Max(keystrokes));

  // Scrolled through 5,000 calls, then closed.
  while (table->model()->rowCount() < 5000 && table->model()->canFetchMore({}))
    table->model()->fetchMore({});
  const long openKb = ResidentKb();
  window.reset();
  store.ReleaseMemory();
  std::printf("resident: %ld kB before opening the window, %ld kB with 5,000 calls shown, "
              "%ld kB after closing it\n",
              closedKb, openKb, ResidentKb());
  return 0;
}
