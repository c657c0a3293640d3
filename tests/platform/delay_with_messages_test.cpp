#include "platform/delay_with_messages.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

TEST(DelayWithMessages, WaitsAtLeastTheTimeGiven) {
  QElapsedTimer clock;
  clock.start();
  DelayWithMessages(120);
  EXPECT_GE(clock.elapsed(), 120);
}

TEST(DelayWithMessages, DispatchesPendingEventsEvenForZero) {
  bool ran = false;
  QTimer::singleShot(0, [&] { ran = true; });
  DelayWithMessages(0);
  EXPECT_TRUE(ran);
}

TEST(DelayWithMessages, HandlersRunNestedDuringTheWait) {
  // A timer firing inside the wait runs its own nested wait; both finish,
  // the inner one first, and the outer wait still lasts its full time.
  std::vector<std::string> order;
  QTimer::singleShot(20, [&] {
    order.push_back("inner start");
    DelayWithMessages(50);
    order.push_back("inner end");
  });
  QElapsedTimer clock;
  clock.start();
  DelayWithMessages(150);
  order.push_back("outer end");
  EXPECT_GE(clock.elapsed(), 150);
  EXPECT_EQ(order, (std::vector<std::string>{"inner start", "inner end", "outer end"}));
}

TEST(DelayWithMessages, EventsPostedTogetherRunNestedInTheWait) {
  // Two events queued at once, as a device read delivers them: the handler
  // of the first waits, and the second must run inside that wait.
  QObject receiver;
  std::vector<std::string> order;
  QMetaObject::invokeMethod(
      &receiver,
      [&] {
        order.push_back("first start");
        DelayWithMessages(100);
        order.push_back("first end");
      },
      Qt::QueuedConnection);
  QMetaObject::invokeMethod(&receiver, [&] { order.push_back("second"); }, Qt::QueuedConnection);
  QTimer::singleShot(500, [&] { order.push_back("done"); });
  while (order.empty() || order.back() != "done") {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  EXPECT_EQ(order, (std::vector<std::string>{"first start", "second", "first end", "done"}));
}

TEST(DelayWithMessages, DoesNotSpinTheProcessor) {
  std::clock_t before = std::clock();
  DelayWithMessages(400);
  const double cpuSeconds = double(std::clock() - before) / CLOCKS_PER_SEC;
  EXPECT_LT(cpuSeconds, 0.2);  // a busy loop would use the whole 0.4 s
}
