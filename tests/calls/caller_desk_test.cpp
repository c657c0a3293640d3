// The desk's connections: menu items, the name box and the button reach the
// caller editing exactly on the user's actions.
#include "calls/caller_desk.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QTest>
#include <functional>
#include <utility>
#include <vector>
#include <gtest/gtest.h>

#include "calls_fixture.h"
#include "message_box_answerer.h"
#include "telephony/line_monitor.h"

namespace {

class CallerDeskTest : public CallsFixture {
 protected:
  CallerDeskTest()
      : desk(db, {AppDirectory(), AppDirectory()},
             TCallerDesk::Parts{{&window, image, callerName, callerID, saveButton},
                                &newRecord,
                                &addCurrent,
                                &deleteCurrent,
                                &monitor,
                                [this] { return activeMode; },
                                &choosePicture}) {}

  // The window as the user has it: shown, active, keyboard focus in it.
  void ShowActiveWindow() {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  }
  // Record > New, then "Al" typed into the name box.
  void NewAndTypeAl() {
    newRecord.trigger();
    callerName->lineEdit()->setFocus();
    callerName->lineEdit()->selectAll();
    QTest::keyClicks(callerName->lineEdit(), "Al");
  }

  QAction newRecord{"&New"};
  QAction addCurrent{"&Add/Save Current"};
  QAction deleteCurrent{"&Delete Current"};
  QAction choosePicture{"Choose &Picture..."};
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

// Record > New, "Al" typed (the box completes it to "Alice Brown"), a number
// typed: only Tab, Enter or the list make the completion the name.
TEST_F(CallerDeskTest, CompletionCountsOnlyOnceAccepted) {
  AddCaller("Alice Brown", "555-0101", Qt::red);
  desk.Editor().ReloadCallerNames();
  ShowActiveWindow();
  struct Leaving {
    const char* how;
    std::function<void()> leave;
    QString name;    // the name the box then holds
    QString number;  // and the number shown
  };
  const std::vector<Leaving> ways = {
      {"click into the number box", [this] { QTest::mouseClick(callerID, Qt::LeftButton); }, "Al",
       "(CallerID)"},
      {"Tab", [this] { QTest::keyClick(callerName->lineEdit(), Qt::Key_Tab); }, "Alice Brown",
       "555-0101"},
      {"Enter", [this] { QTest::keyClick(callerName->lineEdit(), Qt::Key_Return); }, "Alice Brown",
       "555-0101"}};
  for (const Leaving& way : ways) {
    SCOPED_TRACE(way.how);
    NewAndTypeAl();
    ASSERT_EQ(callerName->lineEdit()->text(), "Alice Brown");  // offered, not yet taken
    EXPECT_FALSE(choosePicture.isEnabled());
    way.leave();
    EXPECT_EQ(callerName->currentText(), way.name);
    EXPECT_EQ(callerID->text(), way.number);
    EXPECT_EQ(choosePicture.isEnabled(), way.name == "Alice Brown");
  }
  // The exact sequence: a click into the number box, a number, save.
  NewAndTypeAl();
  QTest::mouseClick(callerID, Qt::LeftButton);
  callerID->selectAll();
  QTest::keyClicks(callerID, "555-0199");
  addCurrent.trigger();
  EXPECT_EQ(StoredNumber("Alice Brown"), "555-0101");
  EXPECT_EQ(StoredNumber("Al"), "555-0199");
}

TEST_F(CallerDeskTest, ListFollowsOtherProgramsWhenItOpens) {
  AddCaller("Alice Brown", "555-0101", Qt::red);
  desk.Editor().ReloadCallerNames();
  ShowActiveWindow();
  const QPoint arrow(callerName->width() - 4, callerName->height() / 2);
  const std::vector<std::pair<std::string, std::function<void()>>> openings = {
      {"Bob", [&] { QTest::mouseClick(callerName, Qt::LeftButton, {}, arrow); }},
      {"Carl", [this] { QTest::keyClick(callerName->lineEdit(), Qt::Key_F4); }}};
  QStringList expected{"Alice Brown"};
  for (const auto& [name, open] : openings) {
    AddElsewhere(name, "1");
    expected << QString::fromStdString(name);
    callerName->lineEdit()->setFocus();
    open();
    callerName->hidePopup();
    EXPECT_EQ(view.CallerNameEntries(), expected);
  }
}

TEST_F(CallerDeskTest, ChoosingACallerWithABrokenPictureShowsThatCallerAndReportsOnce) {
  AddCaller("Alice Brown", "555-0101", Qt::red);
  AddCaller("Carl White", "555-0103");
  WriteBytes(PictureFile("Carl White"), "not a bitmap");
  desk.Editor().ReloadCallerNames();
  MessageBoxAnswerer answerer;
  for (int round = 0; round < 2; ++round) {
    desk.Editor().DisplayRecord("Alice Brown");
    callerName->setCurrentIndex(1);
    emit callerName->textActivated(callerName->itemText(1));
    EXPECT_EQ(callerName->currentText(), "Carl White");
    EXPECT_EQ(callerID->text(), "555-0103");
    EXPECT_EQ(ShownColor(), DefaultPictureColor());
    QCoreApplication::processEvents();  // the report is closed before the next choice
    EXPECT_EQ(answerer.OpenCount(), 0);
  }
  ASSERT_EQ(answerer.seen().size(), 1u);
  EXPECT_EQ(answerer.seen()[0].caption, "Quorvel");
  EXPECT_EQ(answerer.seen()[0].text,
            "Cannot open file " + PictureFile("Carl White") + ".");
  addCurrent.trigger();
  EXPECT_EQ(StoredNumber("Carl White"), "555-0103");
  EXPECT_EQ(StoredNumber("Alice Brown"), "555-0101");
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
