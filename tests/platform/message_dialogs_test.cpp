#include "platform/message_dialogs.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

#include "application_exit.h"
#include "message_box_answerer.h"

using namespace platform;

TEST(MessageDialogs, FullStopRule) {
  EXPECT_EQ(WithFullStop("Record already exists"), "Record already exists.");
  EXPECT_EQ(WithFullStop("Done."), "Done.");
  EXPECT_EQ(WithFullStop("Really?"), "Really?.");  // '?' sorts after '.'
  EXPECT_EQ(WithFullStop("Wait!"), "Wait!");        // '!' sorts before '.'
  EXPECT_EQ(WithFullStop("(x)"), "(x)");             // ')' sorts before '.'
  EXPECT_EQ(WithFullStop(""), "");
  EXPECT_EQ(WithFullStop(QString::fromUtf8("geöffnet")), QString::fromUtf8("geöffnet."));
}

TEST(MessageDialogs, ErrorDialogUsesFrameworkCaption) {
  MessageBoxAnswerer answerer;
  ShowErrorDialog("Invalid Caller ID");
  ASSERT_EQ(answerer.seen().size(), 1u);
  EXPECT_EQ(answerer.seen()[0].caption, "Error");
  EXPECT_EQ(answerer.seen()[0].text, "Invalid Caller ID");
  EXPECT_EQ(answerer.seen()[0].icon, QMessageBox::Critical);
  EXPECT_EQ(answerer.seen()[0].buttons, QStringList{"OK"});
}

TEST(MessageDialogs, ConfirmationAnswersYesAndNo) {
  MessageBoxAnswerer answerer({"&Yes", "&No"});
  EXPECT_TRUE(AskConfirmation("Create new settings for [x]"));
  EXPECT_FALSE(AskConfirmation("Create new settings for [x]"));
  ASSERT_EQ(answerer.seen().size(), 2u);
  EXPECT_EQ(answerer.seen()[0].caption, "Confirm");
  EXPECT_EQ(answerer.seen()[0].buttons, (QStringList{"&Yes", "&No"}));
  EXPECT_EQ(answerer.seen()[0].icon, QMessageBox::Question);
}

TEST(MessageDialogs, PlainBoxWithCancel) {
  MessageBoxAnswerer answerer({"Cancel", "OK"});
  EXPECT_FALSE(ShowMessageBox("Delete entry for Bob", "Confirm", MessageIcon::Warning, true));
  EXPECT_TRUE(ShowMessageBox("Delete entry for Bob", "Confirm", MessageIcon::Warning, true));
  EXPECT_EQ(answerer.seen()[0].caption, "Confirm");
  EXPECT_EQ(answerer.seen()[0].icon, QMessageBox::Warning);
  EXPECT_EQ(answerer.seen()[0].buttons, (QStringList{"OK", "Cancel"}));
}

TEST(MessageDialogs, GeneralErrorReport) {
  MessageBoxAnswerer answerer;
  ShowGeneralErrorReport("Record already exists");
  ASSERT_EQ(answerer.seen().size(), 1u);
  EXPECT_EQ(answerer.seen()[0].caption, "Quorvel");
  EXPECT_EQ(answerer.seen()[0].text, "Record already exists.");
  EXPECT_EQ(answerer.seen()[0].icon, QMessageBox::Critical);
}

TEST(MessageDialogs, ReportsDoNotWaitAndAreNotStacked) {
  MessageBoxAnswerer answerer;
  answerer.Hold();
  ShowGeneralErrorReport("Disk full");
  ShowGeneralErrorReport("Disk full");
  ShowErrorDialog("Disk full.");  // another caption: another report
  ShowMessageBox("Can not start sh", "Error", MessageIcon::None);
  ShowMessageBox("Can not start sh", "Error", MessageIcon::None);
  EXPECT_EQ(answerer.OpenCount(), 3);
  EXPECT_EQ(OpenReportCount(), 3);
  ASSERT_EQ(answerer.seen().size(), 3u);
  EXPECT_EQ(answerer.seen()[1].caption, "Error");

  answerer.AnswerHeld();
  EXPECT_EQ(OpenReportCount(), 0);
  ShowGeneralErrorReport("Disk full");  // closed, so shown again
  EXPECT_EQ(answerer.seen().size(), 4u);
}

TEST(MessageDialogs, WaitingForReportsEndsWithTheUserOrTheApplication) {
  MessageBoxAnswerer answerer;
  answerer.Hold();
  ShowGeneralErrorReport("First");
  ShowGeneralErrorReport("Second");
  QTimer::singleShot(0, &answerer, &MessageBoxAnswerer::AnswerHeld);
  WaitUntilReportsClosed();
  EXPECT_EQ(OpenReportCount(), 0);

  answerer.Hold();
  ShowGeneralErrorReport("Last words");
  QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
  WaitUntilReportsClosed();  // the application ends: the report stays unread
  EXPECT_EQ(OpenReportCount(), 1);
  RecoverFromApplicationExit();
}
