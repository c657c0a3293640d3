// The desk's connections: menu items, the name box and the button reach the
// caller editing exactly on the user's actions.
#include "calls/caller_desk.h"

#include <QAction>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

#include "calls_fixture.h"
#include "message_box_answerer.h"
#include "telephony/line_monitor.h"

namespace {

class CallerDeskTest : public CallsFixture {
 protected:
  CallerDeskTest()
      : desk(db, AppDirectory(),
             TCallerDesk::Parts{{&window, image, callerName, callerID, saveButton},
                                &newRecord,
                                &addCurrent,
                                &deleteCurrent,
                                &monitor,
                                [this] { return activeMode; }}) {}

  QAction newRecord{"&New"};
  QAction addCurrent{"&Add/Save Current"};
  QAction deleteCurrent{"&Delete Current"};
  TLineMonitor monitor;
  TCallerDesk desk;
};

TEST_F(CallerDeskTest, RecordMenuItemsRunTheEditing) {
  newRecord.trigger();
  EXPECT_EQ(callerName->currentText(), "(Name)");
  callerName->setEditText("Alice Brown");
  callerID->setText("555-0101");
  addCurrent.trigger();
  EXPECT_TRUE(QFile::exists(PictureFile("Alice Brown")));
  EXPECT_EQ(callerName->count(), 1);

  MessageBoxAnswerer answerer({"OK"});
  deleteCurrent.trigger();
  ASSERT_EQ(answerer.seen().size(), 1u);
  EXPECT_EQ(answerer.seen()[0].text, "Delete entry for Alice Brown");
  EXPECT_EQ(callerName->count(), 0);
  EXPECT_FALSE(QFile::exists(PictureFile("Alice Brown")));
}

TEST_F(CallerDeskTest, TypingOrChoosingAListedNameShowsIt) {
  AddCaller("Alice Brown", "555-0101", Qt::red);
  AddCaller("Bob Green", "555-0102", Qt::green);
  desk.Editor().ReloadCallerNames();
  saveButton->show();

  callerName->lineEdit()->clear();
  QTest::keyClicks(callerName->lineEdit(), "bob green");
  EXPECT_EQ(callerID->text(), "555-0102");
  EXPECT_EQ(ShownColor(), QColor(Qt::green));
  EXPECT_TRUE(saveButton->isHidden());

  saveButton->show();
  callerName->setCurrentIndex(0);
  emit callerName->textActivated(callerName->itemText(0));
  EXPECT_EQ(callerID->text(), "555-0101");
  EXPECT_TRUE(saveButton->isHidden());
}

TEST_F(CallerDeskTest, TextsSetByTheProgramAreNoChange) {
  AddCaller("Alice Brown", "555-0101", Qt::red);
  desk.Editor().ReloadCallerNames();
  saveButton->show();
  callerName->setEditText("Alice Brown");
  EXPECT_EQ(callerID->text(), "(Not transmitted)");
  EXPECT_FALSE(saveButton->isHidden());
}

TEST_F(CallerDeskTest, SaveButtonStoresTheShownCaller) {
  saveButton->show();
  callerName->setEditText("Carl");
  callerID->setText("555-0103");
  QTest::mouseClick(saveButton, Qt::LeftButton);
  EXPECT_TRUE(saveButton->isHidden());
  EXPECT_EQ(StoredNumber("Carl"), "555-0103");
}

}  // namespace
