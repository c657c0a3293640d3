#include "platform/session_end.h"

#include <QCoreApplication>
#include <QEvent>
#include <QSignalSpy>
#include <csignal>
#include <gtest/gtest.h>

using platform::SessionEndWatcher;

TEST(SessionEnd, SignalsBeforeStartAreKeptAndReportedOnce) {
  SessionEndWatcher watcher;
  QSignalSpy ending(&watcher, &SessionEndWatcher::SessionEnding);
  ::raise(SIGTERM);  // would end the test process without the handler
  ::raise(SIGHUP);
  QCoreApplication::processEvents();
  EXPECT_EQ(ending.count(), 0);
  watcher.Start();
  ASSERT_TRUE(ending.wait(30000));
  QCoreApplication::processEvents();
  EXPECT_EQ(ending.count(), 1);  // both signals were pending together
}

TEST(SessionEnd, EachLaterSignalIsReported) {
  SessionEndWatcher watcher;
  QSignalSpy ending(&watcher, &SessionEndWatcher::SessionEnding);
  watcher.Start();
  ::raise(SIGHUP);
  ASSERT_TRUE(ending.wait(30000));
  ::raise(SIGTERM);
  ASSERT_TRUE(ending.wait(30000));
  EXPECT_EQ(ending.count(), 2);
}

TEST(SessionEnd, QuitRequestBecomesSessionEnd) {
  SessionEndWatcher watcher;
  QSignalSpy ending(&watcher, &SessionEndWatcher::SessionEnding);
  watcher.Start();
  QEvent quit(QEvent::Quit);
  EXPECT_TRUE(QCoreApplication::sendEvent(QCoreApplication::instance(), &quit));
  EXPECT_EQ(ending.count(), 1);
}

TEST(SessionEnd, DefaultHandlersReturnWithTheWatcher) {
  { SessionEndWatcher watcher; }
  struct sigaction current {};
  ASSERT_EQ(::sigaction(SIGTERM, nullptr, &current), 0);
  EXPECT_EQ(current.sa_handler, SIG_DFL);
  // A new watcher can be made once the old one is gone, but never two at once.
  SessionEndWatcher again;
  EXPECT_THROW(SessionEndWatcher second, std::logic_error);
}
