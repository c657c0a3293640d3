// Logs calls into the call log named on the command line as fast as it
// can, printing "logged <id>" after each one is committed. Tests kill it
// at any moment and check what was committed.
#include <QCoreApplication>
#include <cstdio>

#include "calllog/call_store.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: call_log_writer FILE\n");
    return 2;
  }
  TCallStore store(QString::fromLocal8Bit(argv[1]));
  store.SetProblemHandler([](const TStoreProblem& problem) {
    std::fprintf(stderr, "problem: %s\n", qPrintable(problem.detail));
  });
  for (int i = 0;; ++i) {
    TLoggedCall call;
    call.startUtc = QDateTime::currentDateTimeUtc();
    call.line = QStringLiteral("/dev/ttyS%1").arg(i % 4);
    call.numberReceived = QString::number(5550000 + i);
    call.numberDisplayed = call.numberReceived;
    call.networkName = QStringLiteral("CALLER %1").arg(i);
    if (!store.Insert(call)) return 1;
    std::printf("logged %lld\n", static_cast<long long>(call.id));
    std::fflush(stdout);
  }
}
