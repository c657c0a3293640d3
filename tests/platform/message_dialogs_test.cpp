#include "platform/message_dialogs.h"

#include <QMessageBox>
#include <gtest/gtest.h>

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
  EXPECT_EQ(answerer.seen()[0].caption, QString::fromUtf8("Fehler"));
  EXPECT_EQ(answerer.seen()[0].text, "Invalid Caller ID");
  EXPECT_EQ(answerer.seen()[0].icon, QMessageBox::Critical);
  EXPECT_EQ(answerer.seen()[0].buttons, QStringList{"OK"});
}

TEST(MessageDialogs, ConfirmationAnswersYesAndNo) {
  MessageBoxAnswerer answerer({"&Ja", "&Nein"});
  EXPECT_TRUE(AskConfirmation("Create new settings for [x]"));
  EXPECT_FALSE(AskConfirmation("Create new settings for [x]"));
  ASSERT_EQ(answerer.seen().size(), 2u);
  EXPECT_EQ(answerer.seen()[0].caption, QString::fromUtf8("Bestätigung"));
  EXPECT_EQ(answerer.seen()[0].buttons, (QStringList{"&Ja", "&Nein"}));
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
