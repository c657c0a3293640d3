// Times the road of one call with 999 callers in Callers.DB: from fakemodem
// writing the NAME line to the caller being painted in the window, and the
// processor time the program spends on that call. Prints medians and maxima,
// for a number stored exactly as the call shows it and for one stored the
// same but written another way (found by the second pass).
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

#include "calls/call_handler.h"
#include "calls/caller_editor.h"
#include "calls/caller_key.h"
#include "calls/caller_view_widgets.h"
#include "calls/line_monitor_wiring.h"
#include "fake_modem_line.h"
#include "inidb/caller_database_config.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kCallers = 999;
constexpr int kCalls = 10;

double ProcessorSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Notes the moment the number box receives its final text.
class TimedView : public TCallerViewWidgets {
 public:
  using TCallerViewWidgets::TCallerViewWidgets;
  void SetCallerIDText(const QString& text) override {
    TCallerViewWidgets::SetCallerIDText(text);
    ++displays;
    if (onDisplay) onDisplay();
  }
  int displays = 0;
  std::function<void()> onDisplay;
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Waits until fakemodem reports its RING line sent (--trace), for up to 10 s.
bool WaitForRing(FakeModemLine& line) {
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  while (Clock::now() < deadline) {
    for (const QString& output : line.TakeOutput())
      if (output.startsWith("sent ") && output.endsWith(" RING")) return true;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir configHome;
  qputenv("XDG_CONFIG_HOME", configHome.path().toUtf8());
  QApplication app(argc, argv);

  QTemporaryDir dir;
  const QString appDirectory = dir.path() + "/";
  QFile::copy(QStringLiteral(QUORVEL_RESOURCES_DIR "/Default.BMP"), appDirectory + "Default.BMP");

  TIniDBase db;
  ApplyCallerDatabaseConfig(db);
  db.SetFileName((appDirectory + "Callers.DB").toStdString());
  for (int i = 1; i <= kCallers; ++i) {
    const std::string name = "Caller " + std::to_string(1000 + i);
    char number[16];
    std::snprintf(number, sizeof number, "555-%03d-0000", i);
    db.AddRecord(MakeCallerRecord(name, number));
  }
  // The caller that rings: in the middle of the list, with a picture.
  QFile::copy(appDirectory + "Default.BMP", appDirectory + "Caller 1500.BMP");

  QWidget window;
  auto* image = new QLabel(&window);
  image->setGeometry(0, 0, 197, 200);
  auto* callerName = new QComboBox(&window);
  callerName->setEditable(true);
  auto* callerID = new QLineEdit(&window);
  auto* save = new QPushButton("Save to database", &window);
  TimedView view({&window, image, callerName, callerID, save}, [] { return true; });
  TCallerPictures pictures(appDirectory);
  TCallerEditor editor(db, view, pictures);
  TCallHandler handler(db, view, editor, pictures);
  editor.ReloadCallerNames();

  // --trace reports when each line leaves the modem, on the monotonic clock.
  FakeModemLine line(QStringLiteral(QUORVEL_FAKEMODEM), appDirectory + "modem", {"--trace"});
  if (!line.Ok()) {
    std::fprintf(stderr, "%s\n", qPrintable(line.Error()));
    return 1;
  }
  ConnectLineMonitor(line.Monitor(), handler);
  window.show();

  handler.SetHomeRegion("US");
  handler.PrepareNumberLookup();
  std::printf("callers in Callers.DB: %d, calls: %d each\n", db.GetNumRecs(), kCalls);
  // As the line sends it: "555-500-0000" exactly, then the same number with
  // the country's trunk prefix, which no stored text equals.
  for (const char* number : {"5555000000", "15555000000"}) {
    std::vector<double> latenciesMs;
    std::vector<double> processorMs;
    for (int call = 0; call < kCalls; ++call) {
      QEventLoop loop;
      view.onDisplay = [&] { QTimer::singleShot(0, &loop, &QEventLoop::quit); };
      line.TakeOutput();
      // A ring, then number and name in one go, as a modem sends the
      // caller-ID block: the ring tells a new call from a repeated block,
      // so the block follows the ring once the modem has sent it.
      line.Send("ring");
      if (!WaitForRing(line)) {
        std::fprintf(stderr, "fakemodem did not ring\n");
        return 1;
      }
      const double cpuBefore = ProcessorSeconds();
      line.Send(QStringLiteral("raw NMBR = %1").arg(number));
      line.Send("raw NAME = CALLER NET");
      loop.exec();
      window.repaint();
      const auto shownNs = std::chrono::duration_cast<std::chrono::nanoseconds>(
                               Clock::now().time_since_epoch()).count();
      const double cpuAfter = ProcessorSeconds();
      long long nameSentNs = 0;
      for (const QString& output : line.TakeOutput()) {
        const QStringList parts = output.split(' ');
        if (parts.size() >= 3 && parts[0] == "sent" && parts[2] == "NAME") nameSentNs = parts[1].toLongLong();
      }
      if (nameSentNs == 0) {
        std::fprintf(stderr, "fakemodem did not report the NAME line\n");
        return 1;
      }
      if (callerName->currentText() != "Caller 1500") {
        std::fprintf(stderr, "wrong caller shown: %s\n", qPrintable(callerName->currentText()));
        return 1;
      }
      latenciesMs.push_back(static_cast<double>(shownNs - nameSentNs) / 1e6);
      processorMs.push_back((cpuAfter - cpuBefore) * 1000.0);
      // Let the handler return before the next call.
      while (handler.CallerIDBusy()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }

    std::printf("call from %s:\n", number);
    std::printf("  NAME line to caller shown: median %.1f ms, max %.1f ms (collection wait 1000 ms)\n",
                Median(latenciesMs), *std::max_element(latenciesMs.begin(), latenciesMs.end()));
    std::printf("  processor time per call: median %.2f ms, max %.2f ms\n", Median(processorMs),
                *std::max_element(processorMs.begin(), processorMs.end()));
  }
  return 0;
}
