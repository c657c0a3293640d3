// The whole road of a call: fakemodem on a pseudo-terminal, the real line
// monitor, the call handler and the caller editing on real widgets.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QMessageBox>
#include <functional>
#include <gtest/gtest.h>

#include "calls/calls_constants.h"
#include "calls/line_monitor_wiring.h"
#include "calls_fixture.h"
#include "fake_modem_line.h"
#include "message_box_answerer.h"
#include "platform/settings_store.h"
#include "temp_dir.h"

namespace {

// Generous for a loaded machine; the waits end as soon as the condition holds.
constexpr int kEventTimeoutMs = 30000;

class CallLineTest : public CallsFixture {
 protected:
  void SetUp() override {
    // Long enough that the line never goes idle during the collection wait.
    platform::WriteSettingValue("Settings", "RingTimeout", "5");
    // The modem's lines of one call are merged by the real collection wait.
    handler.CollectionWaitMs = calls::kCollectionWaitMs;
    line = std::make_unique<FakeModemLine>(QStringLiteral(QUORVEL_FAKEMODEM), AppDirectory() + "modem");
    ASSERT_TRUE(line->Ok()) << line->Error().toStdString();
    ConnectLineMonitor(line->Monitor(), handler);
  }

  void TearDown() override {
    if (expectErrorReport) return;
    for (const MessageBoxAnswerer::Seen& box : answerer.seen()) ADD_FAILURE() << box.text.toStdString();
  }

  static bool WaitFor(const std::function<bool()>& condition) {
    const QDeadlineTimer deadline(kEventTimeoutMs);
    while (!condition()) {
      if (deadline.hasExpired()) return false;
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    return true;
  }

  bool WaitForDisplays(int count) {
    return WaitFor([&] { return view.shows >= count && !handler.CallerIDBusy(); });
  }

  TempConfigHome config;
  std::unique_ptr<FakeModemLine> line;
  // Answers any error report, so a failure shows up instead of hanging.
  MessageBoxAnswerer answerer;
  bool expectErrorReport = false;
};

TEST_F(CallLineTest, StoredCallerIsShownWithPicture) {
  AddCaller("Alice Brown", "555-123-4567", Qt::red);
  line->Send("call 5551234567 ALICE NET");
  ASSERT_TRUE(WaitForDisplays(1));
  EXPECT_EQ(handler.CurrentCallerID(), "555-123-4567");
  EXPECT_EQ(handler.CurrentCallerName(), "ALICE NET");
  EXPECT_EQ(callerName->currentText(), "Alice Brown");
  EXPECT_EQ(callerID->text(), "555-123-4567");
  EXPECT_EQ(ShownColor(), QColor(Qt::red));
  EXPECT_EQ(view.beeps, 1);
  EXPECT_TRUE(window.isVisible());
}

TEST_F(CallLineTest, NumberAndLaterNameMakeOneDisplay) {
  line->Send("raw NMBR = 5550103");
  line->Send("raw NAME = Carl Net");
  ASSERT_TRUE(WaitForDisplays(1));
  EXPECT_EQ(view.shows, 1);
  EXPECT_EQ(callerName->currentText(), "Carl Net");
  EXPECT_EQ(callerID->text(), "5550103");
  EXPECT_FALSE(saveButton->isHidden());
}

TEST_F(CallLineTest, WithheldNumberIsBlocked) {
  line->Send("call-private");
  ASSERT_TRUE(WaitForDisplays(1));
  EXPECT_EQ(handler.CurrentCallerID(), "BLOCKED");
  EXPECT_EQ(callerID->text(), "BLOCKED");
}

TEST_F(CallLineTest, IdleLineTurnsCallDataIntoNoData) {
  line->Send("raw NMBR = 5550101");
  ASSERT_TRUE(WaitForDisplays(1));
  EXPECT_EQ(handler.CurrentCallerID(), "5550101");
  ASSERT_TRUE(WaitFor([&] { return handler.CurrentCallerID() == "NO DATA"; }));
  EXPECT_EQ(handler.CurrentCallerName(), "NO DATA");
}

TEST_F(CallLineTest, MissingDefaultPictureIsReportedAndNextCallIsHandled) {
  AddCaller("Alice Brown", "555-123-4567", Qt::red);
  ASSERT_TRUE(QFile::remove(AppDirectory() + "Default.BMP"));
  expectErrorReport = true;
  line->Send("raw NMBR = 5550199");
  ASSERT_TRUE(WaitFor([&] { return !answerer.seen().empty() && !handler.CallerIDBusy(); }));
  EXPECT_EQ(answerer.seen()[0].caption, "Quorvel");
  EXPECT_EQ(answerer.seen()[0].text,
            "Cannot open file " + AppDirectory() + "Default.BMP.");
  EXPECT_EQ(answerer.seen()[0].icon, QMessageBox::Critical);

  // The next caller: a ring after the first call's caller ID, then its own.
  line->Send("raw RING");
  line->Send("raw NMBR = 5551234567");
  ASSERT_TRUE(WaitForDisplays(2));
  EXPECT_EQ(callerName->currentText(), "Alice Brown");
  EXPECT_EQ(answerer.seen().size(), 1u);
}

}  // namespace
