#include "platform/message_dialogs.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>
#include <vector>

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

TEST(MessageDialogs, EachKindHasItsCaptionIconButtonsAndAnswer) {
  MessageBoxAnswerer answerer({"&Yes", "&No", "OK", "Cancel"});
  EXPECT_TRUE(AskConfirmation("Create new settings for [x]"));
  EXPECT_FALSE(AskConfirmation("Create new settings for [x]"));
  EXPECT_TRUE(ShowMessageBox("Delete entry for Bob", "Confirm", MessageIcon::Warning, true));
  EXPECT_FALSE(ShowMessageBox("Delete entry for Bob", "Confirm", MessageIcon::Warning, true));
  ShowErrorDialog("Invalid Caller ID");
  ShowGeneralErrorReport("Record already exists");

  struct Box {
    const char* caption;
    const char* text;
    QMessageBox::Icon icon;
    QStringList buttons;
  };
  const std::vector<Box> expected = {
      {"Confirm", "Create new settings for [x]", QMessageBox::Question, {"&Yes", "&No"}},
      {"Confirm", "Create new settings for [x]", QMessageBox::Question, {"&Yes", "&No"}},
      {"Confirm", "Delete entry for Bob", QMessageBox::Warning, {"OK", "Cancel"}},
      {"Confirm", "Delete entry for Bob", QMessageBox::Warning, {"OK", "Cancel"}},
      {"Error", "Invalid Caller ID", QMessageBox::Critical, {"OK"}},
      {"Quorvel", "Record already exists.", QMessageBox::Critical, {"OK"}},
  };
  ASSERT_EQ(answerer.seen().size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    const auto& seen = answerer.seen()[i];
    EXPECT_EQ(seen.caption, expected[i].caption) << i;
    EXPECT_EQ(seen.text, expected[i].text) << i;
    EXPECT_EQ(seen.icon, expected[i].icon) << i;
    EXPECT_EQ(seen.buttons, expected[i].buttons) << i;
  }
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
