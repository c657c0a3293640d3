// The call log in the program: the menus that open it, a call on the line
// that lands in it, a logged caller shown again or saved, the tooltip text.
#include <QAction>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include "app/call_log_link.h"
#include "calls/caller_desk.h"
#include "remote/forwarding_outcome.h"
#include "calllog/call_log_recorder.h"
#include "calllog/call_log_window.h"
#include "calllog/call_store.h"
#include "form_fixture.h"
#include "inidb/caller_record.h"

namespace {

class CallLogLinkTest : public FormTest {
 protected:
  // `forward` stands in for the forwarding of Passive mode.
  void Create(const char* mode, std::function<void()> forward = nullptr) {
    SaveDefaultPicture();
    CreateOnOneModem(mode);
    form_->Desk()->Handler().RunRemoteAction = std::move(forward);
    link_ = std::make_unique<TCallLogLink>(*form_);
  }

  // Double-clicks the newest call in the open log.
  void DoubleClickNewest() {
    auto* table = link_->Window()->findChild<QTableView*>("calls");
    ASSERT_TRUE(table);
    ASSERT_GT(table->model()->rowCount(), 0);
    const QPoint at = table->visualRect(table->model()->index(0, 1)).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, at);
  }

  std::unique_ptr<TCallLogLink> link_;
};

TEST_F(CallLogLinkTest, TheTrayMenuOpensTheLog) {
  Create("0");
  Ui().CallLog2->trigger();
  ASSERT_TRUE(link_->Window());
  EXPECT_TRUE(link_->Window()->isVisible());
  EXPECT_EQ(link_->Window()->windowTitle(), "Call Log");
}

TEST_F(CallLogLinkTest, ACallIsLoggedAndShownAgainFromTheLogAsACallWould) {
  Create("0");
  QSignalSpy logged(&link_->Recorder(), &TCallLogRecorder::CallLogged);
  modems_.back()->Command("call 5551234567 NEW CALLER");
  ASSERT_TRUE(logged.wait(30000));
  const auto calls = link_->Store().Page({}, std::numeric_limits<qint64>::max(), 10);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].numberReceived, "5551234567");
  EXPECT_EQ(calls[0].numberDisplayed, "555-123-4567");
  EXPECT_EQ(calls[0].networkName, "NEW CALLER");
  EXPECT_EQ(calls[0].line, modem_);
  EXPECT_EQ(calls[0].mode, TCallMode::kActive);
  EXPECT_TRUE(calls[0].matchedName.isEmpty());

  form_->close();  // hides it
  Ui().tbCallerID->setText("(other)");
  link_->Open();
  DoubleClickNewest();
  EXPECT_TRUE(form_->isVisible());
  EXPECT_EQ(Ui().tbCallerID->text(), "555-123-4567");
  EXPECT_EQ(Ui().cbCallerName->currentText(), "NEW CALLER");
  EXPECT_TRUE(Ui().bSaveToDatabase->isVisible());
}

TEST_F(CallLogLinkTest, InPassiveModeAnUnknownCallerIsSavedFromTheLog) {
  Create("1");
  TLoggedCall call;
  call.startUtc = QDateTime::currentDateTimeUtc();
  call.numberReceived = "5551234567";
  call.numberDisplayed = "555-123-4567";
  call.networkName = "NET NAME";
  ASSERT_TRUE(link_->Store().Insert(call));
  TCallerDraft asked;
  link_->AskCaller = [&asked](const TCallerDraft& draft) {
    asked = draft;
    return TCallerDraft{"Ann Other", draft.number};
  };
  link_->Open();
  DoubleClickNewest();
  EXPECT_EQ(asked, (TCallerDraft{"NET NAME", "555-123-4567"}));
  ASSERT_TRUE(form_->Database().KeyExists("Ann Other"));
  TCallerRecord record{};
  form_->Database().GetRecord("Ann Other", record);
  EXPECT_EQ(record.CallerID.Get(), "555-123-4567");
  EXPECT_FALSE(QFile::exists(appDir_.filePath("Ann Other.BMP")));  // shown with the default picture
  EXPECT_EQ(Ui().tbCallerID->text(), "(Not transmitted)");  // Passive mode shows no caller
}

TEST_F(CallLogLinkTest, MissedCallsCountUntilTheLogIsOpened) {
  Create("1");
  EXPECT_EQ(TCallLogLink::MissedCallsNote(0), "");
  EXPECT_EQ(TCallLogLink::MissedCallsNote(1), "1 missed call");
  EXPECT_EQ(TCallLogLink::MissedCallsNote(3), "3 missed calls");
  TLoggedCall missed;
  missed.startUtc = QDateTime::currentDateTimeUtc();
  missed.ending = TCallEnding::kMissed;
  ASSERT_TRUE(link_->Store().Insert(missed));
  EXPECT_EQ(link_->Store().UnseenMissedCount(), 1);
  link_->Open();
  EXPECT_EQ(link_->Store().UnseenMissedCount(), 0);
}

TEST_F(CallLogLinkTest, AForwardedCallGetsItsOutcomeAndItsEndingWhenTheyArrive) {
  int forwarded = 0;
  Create("1", [this, &forwarded] { link_->HandedOff(++forwarded); });
  QSignalSpy logged(&link_->Recorder(), &TCallLogRecorder::CallLogged);
  modems_.back()->Command("call 5550100 PASSIVE CALLER");
  ASSERT_TRUE(logged.wait(30000));
  EXPECT_EQ(forwarded, 1);
  TForwardingOutcome outcome;
  outcome.What = TForwardingOutcome::Kind::ScriptEnded;
  outcome.Status = 3;
  outcome.Detail = "oops";
  outcome.Forwarding = 1;
  link_->Forwarded(outcome);
  ASSERT_TRUE(logged.wait(30000));
  // A line that tells how the call ended.
  emit form_->Line().CallEnded(&form_->Line(), TCallOutcome::kMissed);
  ASSERT_TRUE(logged.wait(30000));
  const auto calls = link_->Store().Page({}, std::numeric_limits<qint64>::max(), 10);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].mode, TCallMode::kPassive);
  EXPECT_EQ(calls[0].ending, TCallEnding::kMissed);
  EXPECT_EQ(link_->Store().UnseenMissedCount(), 1);
  EXPECT_EQ(calls[0].forwarding, (TCallForwarding{TForwardingKind::kScriptExit, "exit status 3: oops"}));
}

TEST_F(CallLogLinkTest, ACallHandledJustBeforeExitIsStillWritten) {
  Create("1");
  TLoggedCall call;
  call.networkName = "LAST CALLER";
  link_->Recorder().CallStarted(QDateTime::currentDateTimeUtc());
  link_->Recorder().CallHandled(call);
  link_.reset();  // as at exit: the event loop runs no more
  TCallStore reader(config_.CallLogFile());
  const auto calls = reader.Page({}, std::numeric_limits<qint64>::max(), 10);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].networkName, "LAST CALLER");
}

}  // namespace
