// Nobody at the screen: reports wait there while the line is watched and
// calls are handled, and the end of the session ends the program whatever
// is open.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <functional>
#include <utility>

#include "app/remote_action_link.h"
#include "app/session_end_link.h"
#include "application_exit.h"
#include "calls/caller_desk.h"
#include "form_fixture.h"
#include "message_box_answerer.h"
#include "platform/message_dialogs.h"
#include "platform/session_end.h"
#include "remote/setup_dialog.h"

namespace {

// Generous for a loaded machine; the waits end as soon as the condition holds.
constexpr int kEventTimeoutMs = 30000;

// Runs `step` every few milliseconds while the code under test waits.
class Watch {
 public:
  explicit Watch(std::function<void()> step) {
    QObject::connect(&timer_, &QTimer::timeout, std::move(step));
    timer_.start(20);
  }

 private:
  QTimer timer_;
};

class UnattendedTest : public FormTest {
 protected:
  // A line whose calls never end by the ring timeout during a test.
  TQuorvelForm& CreateWatching(const char* mode) {
    Store("RingTimeout", "60");
    SaveDefaultPicture();
    return CreateOnOneModem(mode);
  }
  // Each call rings before its caller ID, so the next one is a call of its own.
  void Call(const QString& number) {
    modems_.front()->Command(R"(send \r\nRING\r\n\r\nNMBR = )" + number + R"(\r\n)");
  }
};

}  // namespace

TEST_F(UnattendedTest, CallsAreForwardedWhileAForwardingErrorWaits) {
  TQuorvelForm& form = CreateWatching("1");
  TfDDESetup setup(&form);
  setup.findChild<QRadioButton*>("rbDDELink")->setChecked(true);
  setup.findChild<QComboBox*>("cbApplication")->setEditText("org.example.Absent");
  setup.findChild<QCheckBox*>("cbStartExe")->setChecked(true);
  setup.findChild<QLineEdit*>("tbEXEPath")->setText(appDir_.filePath("first-missing"));
  TRemoteActionLink remote(form, setup);
  TCallHandler& handler = form.Desk()->Handler();
  int forwarded = 0;
  const std::function<void()> forward = handler.RunRemoteAction;
  handler.RunRemoteAction = [&] {
    ++forwarded;
    forward();
  };
  const auto forwardedCall = [&](int count) {
    return QTest::qWaitFor([&] { return forwarded == count && !handler.CallerIDBusy(); }, kEventTimeoutMs);
  };

  MessageBoxAnswerer answerer;
  answerer.Hold();
  Call("5550101");
  ASSERT_TRUE(forwardedCall(1));
  setup.findChild<QLineEdit*>("tbEXEPath")->setText(appDir_.filePath("second-missing"));
  Call("5550102");
  ASSERT_TRUE(forwardedCall(2));
  Call("5550103");  // the same failure again
  ASSERT_TRUE(forwardedCall(3));

  ASSERT_EQ(answerer.seen().size(), 2u);  // not stacked
  EXPECT_EQ(answerer.OpenCount(), 2);
  EXPECT_TRUE(answerer.seen()[0].text.startsWith("Can not start " + appDir_.filePath("first-missing")));
  EXPECT_TRUE(answerer.seen()[1].text.startsWith("Can not start " + appDir_.filePath("second-missing")));
}

TEST_F(UnattendedTest, CallsAreShownWhileAQuestionWaits) {
  TQuorvelForm& form = CreateWatching("0");
  const FormParts ui(form);
  MessageBoxAnswerer answerer({"Cancel"});
  answerer.Hold();
  // Once the question is up a call comes in, collected and shown within the
  // question's own wait; only then does the user answer.
  bool called = false;
  Watch watch([&] {
    if (answerer.OpenCount() == 0) return;
    if (!std::exchange(called, true)) Call("5550104");
    if (ui.tbCallerID->text() == "5550104" && !form.Desk()->Handler().CallerIDBusy())
      answerer.AnswerHeld();
  });
  ui.Delete1->trigger();

  ASSERT_EQ(answerer.seen().size(), 1u);
  EXPECT_EQ(answerer.seen()[0].caption, "Confirm");
  EXPECT_EQ(ui.tbCallerID->text(), "5550104");
  EXPECT_TRUE(form.isVisible());
}

TEST_F(UnattendedTest, SessionManagerQuitWithAQuestionOpenRunsExit) {
  TQuorvelForm& form = CreateWatching("0");
  const FormParts ui(form);
  platform::SessionEndWatcher watcher;
  TSessionEndLink ending(watcher);
  ending.SetReadyForm(form);
  MessageBoxAnswerer answerer;
  answerer.Hold();
  Watch watch([&] {
    if (answerer.OpenCount() == 0 || ending.Ended()) return;
    QEvent quit(QEvent::Quit);
    QCoreApplication::sendEvent(QCoreApplication::instance(), &quit);
  });
  QTimer::singleShot(0, ui.Delete1, &QAction::trigger);
  QTimer::singleShot(kEventTimeoutMs, [] { QCoreApplication::exit(1); });

  EXPECT_EQ(QCoreApplication::exec(), 0);
  EXPECT_TRUE(ending.Ended());
  EXPECT_EQ(answerer.OpenCount(), 0);  // the question ended with the program
  EXPECT_EQ(Stored("Mode"), "0");
  EXPECT_EQ(Stored("Modem"), form.Line().LineName());
}

TEST(SessionEndLink, BeforeTheWindowIsReadyTheStartIsCutShort) {
  TempConfigHome config;
  platform::SessionEndWatcher watcher;
  TSessionEndLink ending(watcher);
  MessageBoxAnswerer answerer;
  answerer.Hold();
  platform::ShowErrorDialog("The application will quit!");
  QTimer::singleShot(0, [] { ::raise(SIGTERM); });
  platform::WaitUntilReportsClosed();  // the last words of a start, not yet read

  EXPECT_TRUE(ending.Ended());
  EXPECT_EQ(answerer.OpenCount(), 1);
  EXPECT_FALSE(QFileInfo::exists(config.SettingsFile()));  // nothing stored
  RecoverFromApplicationExit();
}
