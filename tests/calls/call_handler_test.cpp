#include <QFile>
#include <QTimer>
#include <gtest/gtest.h>

#include <QDateTime>

#include "calls/caller_key.h"
#include "calls/calls_constants.h"
#include "calls_fixture.h"
#include "faulty_file_system.h"

namespace {

constexpr int kNumber = 0x8;
constexpr int kBlocked = 0x1;
constexpr int kName = 0x4;

// Runs `action` once, `ms` after the call, inside whatever wait is running then.
// The handler then waits the real collection wait.
void During(TCallHandler& handler, int ms, std::function<void()> action) {
  handler.CollectionWaitMs = calls::kCollectionWaitMs;
  QTimer::singleShot(ms, std::move(action));
}

using CallHandlerTest = CallsFixture;

TEST_F(CallHandlerTest, TenCharacterNumberIsFormattedLookedUpAndShown) {
  AddCaller("Alice Brown", "555-123-4567", Qt::red);
  EXPECT_EQ(handler.CurrentCallerID(), "");
  EXPECT_EQ(handler.CurrentCallerName(), "");
  EXPECT_FALSE(handler.CallerIDBusy());
  ASSERT_FALSE(window.isVisible());
  CallerID("5551234567", "", kNumber);
  EXPECT_EQ(handler.CurrentCallerID(), "555-123-4567");
  EXPECT_EQ(callerName->currentText(), "Alice Brown");
  EXPECT_EQ(ShownColor(), QColor(Qt::red));
  EXPECT_TRUE(saveButton->isHidden());
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(view.beeps, 1);
}

TEST_F(CallHandlerTest, FlagsSelectWhatIsTaken) {
  CallerID("5551234567", "Net Name", kNumber | kBlocked);
  EXPECT_EQ(handler.CurrentCallerID(), "BLOCKED");
  EXPECT_EQ(handler.CurrentCallerName(), "");

  CallerID("0123456789", "Alice", kName);
  EXPECT_EQ(handler.CurrentCallerID(), "BLOCKED");
  EXPECT_EQ(handler.CurrentCallerName(), "Alice");

  CallerID("777", "Bob", 0x2);  // out of area: nothing taken
  EXPECT_EQ(handler.CurrentCallerID(), "BLOCKED");
  EXPECT_EQ(handler.CurrentCallerName(), "Alice");

  CallerID("12345678901", "", kNumber);
  EXPECT_EQ(handler.CurrentCallerID(), "12345678901");
  EXPECT_EQ(handler.CurrentCallerName(), "Alice");
}

TEST_F(CallHandlerTest, NetworkControlCharactersAreNeverStored) {
  CallerID("555\r\n0101\x07", "Eve\r\n[Index]\x1b", kNumber | kName);
  EXPECT_EQ(handler.CurrentCallerID(), "5550101");
  EXPECT_EQ(handler.CurrentCallerName(), "Eve[Index]");
}

TEST_F(CallHandlerTest, EventsWithinTheWaitGiveOneDisplayWithBoth) {
  During(handler, 300, [this] {
    EXPECT_TRUE(handler.CallerIDBusy());
    CallerID("", "Carl Net", kName);
  });
  CallerID("5550103", "", kNumber);
  EXPECT_FALSE(handler.CallerIDBusy());
  EXPECT_EQ(view.shows, 1);
  EXPECT_EQ(view.beeps, 1);
  EXPECT_EQ(callerName->currentText(), "Carl Net");
  EXPECT_EQ(callerID->text(), "5550103");
}

TEST_F(CallHandlerTest, EventAfterTheProcessingRepeatsTheDisplay) {
  CallerID("5550103", "", kNumber);
  CallerID("", "Late Name", kName);
  EXPECT_EQ(view.shows, 2);
  EXPECT_EQ(view.beeps, 2);
  EXPECT_EQ(callerName->currentText(), "Late Name");
  EXPECT_EQ(callerID->text(), "5550103");
}

TEST_F(CallHandlerTest, IdleDuringTheWaitTurnsTheDataIntoNoData) {
  During(handler, 300, [this] { handler.LineMonitorCallState(nullptr, "IDLE"); });
  CallerID("5550103", "Carl", kNumber | kName);
  EXPECT_EQ(handler.CurrentCallerID(), "NO DATA");
  EXPECT_EQ(handler.CurrentCallerName(), "NO DATA");
  EXPECT_EQ(callerName->currentText(), "NO DATA");
  EXPECT_EQ(callerID->text(), "NO DATA");
}

TEST_F(CallHandlerTest, OnlyTheExactIdleStateResetsTheData) {
  CallerID("5550103", "Carl", kNumber | kName);
  for (const char* state : {"idle", "IDLE ", "OFFERING", "CONNECTED", ""}) {
    handler.LineMonitorCallState(nullptr, state);
    EXPECT_EQ(handler.CurrentCallerID(), "5550103") << state;
    EXPECT_EQ(handler.CurrentCallerName(), "Carl") << state;
  }
}

TEST_F(CallHandlerTest, PassiveModeHandsOffWithoutShowingOrBeeping) {
  activeMode = false;
  std::vector<std::pair<std::string, std::string>> handedOff;
  handler.RunRemoteAction = [this, &handedOff] {
    handedOff.emplace_back(handler.CurrentCallerID(), handler.CurrentCallerName());
  };
  During(handler, 300, [this] { CallerID("", "Dora", kName); });
  CallerID("5550104", "", kNumber);
  EXPECT_EQ(view.shows, 0);
  EXPECT_EQ(view.beeps, 0);
  EXPECT_FALSE(window.isVisible());
  ASSERT_EQ(handedOff.size(), 1u);
  EXPECT_EQ(handedOff[0], (std::pair<std::string, std::string>{"5550104", "Dora"}));
  EXPECT_EQ(callerName->currentText(), "(Unknown)");
}

TEST_F(CallHandlerTest, PassiveModeWithoutRemoteActionDoesNothing) {
  activeMode = false;
  CallerID("5550104", "", kNumber);
  EXPECT_EQ(view.shows, 0);
  EXPECT_FALSE(handler.CallerIDBusy());
}

TEST_F(CallHandlerTest, ModeIsTestedAfterTheWait) {
  int handOffs = 0;
  handler.RunRemoteAction = [&handOffs] { ++handOffs; };
  During(handler, 300, [this] { activeMode = false; });
  CallerID("5550104", "", kNumber);
  EXPECT_EQ(view.shows, 0);
  EXPECT_EQ(handOffs, 1);
}

TEST_F(CallHandlerTest, LaterCallerInSortedListStaysOnDisplay) {
  AddCaller("zoe", "555-0199", Qt::blue);
  AddCaller("Adam", "555-0199", Qt::green);
  AddCaller("Mia", "555-0100", Qt::red);
  CallerID("555-0199", "", kNumber);
  EXPECT_EQ(callerName->currentText(), "zoe");
  EXPECT_EQ(ShownColor(), QColor(Qt::blue));
  EXPECT_EQ(view.pictureChanges, 2);  // both matches, in list order
}

TEST_F(CallHandlerTest, UnknownCallerGetsDefaultPictureAndSaveButton) {
  AddCaller("Alice Brown", "555-0101", Qt::red);
  CallerID("555-0199", "NET NAME", kNumber | kName);
  EXPECT_EQ(callerName->currentText(), "NET NAME");
  EXPECT_EQ(callerID->text(), "555-0199");
  EXPECT_EQ(ShownColor(), DefaultPictureColor());
  EXPECT_FALSE(saveButton->isHidden());

  // One click stores the caller with the picture on display.
  editor.bSaveToDatabaseClick();
  EXPECT_EQ(StoredNumber("NET NAME"), "555-0199");
  EXPECT_EQ(QImage(PictureFile("NET NAME"), "BMP").pixelColor(0, 0), DefaultPictureColor());
  EXPECT_TRUE(saveButton->isHidden());
}

TEST_F(CallHandlerTest, AnotherNumberIsUnknown) {
  AddCaller("Alice Brown", "555-0101", Qt::red);
  CallerID("5550102", "", kNumber);
  EXPECT_FALSE(saveButton->isHidden());
  EXPECT_EQ(callerID->text(), "5550102");
}

TEST_F(CallHandlerTest, ExactTextWinsThenTheSameNumberWrittenAnotherWay) {
  AddCaller("Alice Brown", "212-555-0101", Qt::red);
  AddCaller("Bob Green", "+1 (212) 555-0101", Qt::blue);
  handler.SetHomeRegion("US");

  CallerID("2125550101", "", kNumber);
  EXPECT_EQ(callerName->currentText(), "Alice Brown");

  // No stored text equals "12125550101": both are that number, the later one stays.
  CallerID("12125550101", "", kNumber);
  EXPECT_EQ(callerName->currentText(), "Bob Green");
  EXPECT_EQ(ShownColor(), QColor(Qt::blue));
  EXPECT_EQ(callerID->text(), "+1 (212) 555-0101");
  EXPECT_TRUE(saveButton->isHidden());
}

TEST_F(CallHandlerTest, MissingDefaultPictureIsReportedAndNextCallIsHandled) {
  AddCaller("Alice Brown", "555-0101", Qt::red);
  CallerID("555-0101", "", kNumber);
  ASSERT_TRUE(QFile::remove(AppDirectory() + "Default.BMP"));
  try {
    CallerID("555-0199", "Stranger", kNumber | kName);
    FAIL() << "the missing default picture went unnoticed";
  } catch (const EPictureFile& e) {
    EXPECT_EQ(std::string(e.what()),
              ("Cannot open file " + AppDirectory() + "Default.BMP").toStdString());
  }
  EXPECT_FALSE(handler.CallerIDBusy());
  // This call's data, and not Alice's face beside it.
  EXPECT_EQ(callerName->currentText(), "Stranger");
  EXPECT_EQ(callerID->text(), "555-0199");
  EXPECT_EQ(view.Picture(), calls::StartupPicture());
  EXPECT_TRUE(window.isVisible());

  CallerID("555-0101", "", kNumber);
  EXPECT_EQ(callerName->currentText(), "Alice Brown");
  EXPECT_EQ(view.shows, 3);
}

// Unattended calls: a caller without a picture is normal, a broken picture
// is reported once and not at every call, and the caller on screen is
// always this call's.
TEST_F(CallHandlerTest, StoredCallersAreShownWhateverBecameOfTheirPictures) {
  AddCaller("Alice Brown", "555-0101", Qt::red);
  AddCaller("Bob Green", "555-0102");
  AddCaller("Carl White", "555-0103");
  WriteBytes(PictureFile("Carl White"), "not a bitmap");
  struct Call {
    const char* number;
    const char* name;
    bool reported;
  };
  for (const Call& call : {Call{"555-0103", "Carl White", true}, Call{"555-0101", "Alice Brown", false},
                           Call{"555-0103", "Carl White", false}, Call{"555-0102", "Bob Green", false}}) {
    SCOPED_TRACE(call.name);
    bool reported = false;
    try {
      CallerID(call.number, "", kNumber);
    } catch (const EPictureFile&) {
      reported = true;
    }
    EXPECT_EQ(reported, call.reported);
    EXPECT_EQ(callerName->currentText(), call.name);
    EXPECT_EQ(callerID->text(), call.number);
    EXPECT_EQ(ShownColor(), call.name == std::string("Alice Brown") ? QColor(Qt::red) : DefaultPictureColor());
  }
}

// Another program (quorveldb, an editor) adds a caller while we run.
TEST_F(CallHandlerTest, CallersAddedByOtherProgramsAreMatchedAndListed) {
  AddCaller("Alice Brown", "555-0101", Qt::red);
  editor.ReloadCallerNames();
  AddElsewhere("Dora", "555-0104");
  CallerID("555-0104", "", kNumber);
  EXPECT_EQ(callerName->currentText(), "Dora");
  EXPECT_TRUE(saveButton->isHidden());
  EXPECT_EQ(view.CallerNameEntries(), (QStringList{"Alice Brown", "Dora"}));
}

// A restored backup or a clock set back dates the file in the future.
TEST_F(CallHandlerTest, ACallReadsAFutureDatedDatabaseOnce) {
  QByteArray file = "[Index]\r\n";
  for (int i = 0; i < 300; ++i) file += "Caller " + QByteArray::number(i) + "=#\r\n";
  file += "[Defaults]\r\n_Entries=300\r\n[Caller 150]\r\nCallerID=555-0150\r\n";
  WriteDatabaseFile(file);
  QFile(DatabaseFile()).setFileTime(QDateTime::currentDateTime().addDays(1), QFileDevice::FileModificationTime);
  editor.ReloadCallerNames();
  TFaultyFileSystem fs;
  CallerID("555-0150", "", kNumber);
  EXPECT_EQ(callerName->currentText(), "Caller 150");
  EXPECT_LE(fs.Reads, 1);
}

TEST_F(CallHandlerTest, FailingRemoteActionClearsBusy) {
  activeMode = false;
  int runs = 0;
  handler.RunRemoteAction = [&runs] {
    ++runs;
    throw std::runtime_error("no conversation");
  };
  EXPECT_THROW(CallerID("1", "", kNumber), std::runtime_error);
  EXPECT_FALSE(handler.CallerIDBusy());
  EXPECT_THROW(CallerID("2", "", kNumber), std::runtime_error);
  EXPECT_EQ(runs, 2);
}

TEST_F(CallHandlerTest, ScanStopsAtTheEndOfAShorterKeyList) {
  // Two records whose keys differ only in case are listed once, while the
  // count says two: the scan must not read past the list.
  WriteDatabaseFile(
      "[Index]\r\nbob=#\r\nBOB=#\r\n[Defaults]\r\n_Entries=2\r\n"
      "[bob]\r\nCallerID=555-0102\r\n");
  WriteBitmap(PictureFile("bob"), Qt::green);
  ASSERT_EQ(db.GetNumRecs(), 2);
  ASSERT_EQ(db.GetRecordList().size(), 1u);
  CallerID("555-0102", "", kNumber);
  EXPECT_EQ(callerName->currentText(), "bob");
  EXPECT_EQ(ShownColor(), QColor(Qt::green));
  EXPECT_FALSE(handler.CallerIDBusy());
}

TEST_F(CallHandlerTest, TheObserverHearsEachCallWithWhatWasShownEvenWhenItFailed) {
  AddCaller("Alice Brown", "555-123-4567", Qt::red);
  int started = 0;
  std::vector<TCallFacts> handled;
  handler.Observer.callStarted = [&] { ++started; };
  handler.Observer.callHandled = [&](const TCallFacts& f) { handled.push_back(f); };
  During(handler, 300, [this] { CallerID("", "ALICE NET", kName); });
  CallerID("5551234567", "", kNumber);
  ASSERT_EQ(handled.size(), 1u);
  EXPECT_EQ(started, 1);  // the name within the wait is the same call
  EXPECT_EQ(handled[0].numberReceived, "5551234567");
  EXPECT_EQ(handled[0].callerID, "555-123-4567");
  EXPECT_EQ(handled[0].callerName, "ALICE NET");
  EXPECT_EQ(handled[0].matchedName, "Alice Brown");
  EXPECT_TRUE(handled[0].activeMode);

  ASSERT_TRUE(QFile::remove(AppDirectory() + "Default.BMP"));
  handler.CollectionWaitMs = 0;
  EXPECT_THROW(CallerID("", "", kBlocked | 0x2), EPictureFile);
  ASSERT_EQ(handled.size(), 2u);
  EXPECT_TRUE(handled[1].withheld);
  EXPECT_TRUE(handled[1].outOfArea);
  EXPECT_EQ(handled[1].callerID, "BLOCKED");
  EXPECT_EQ(handled[1].matchedName, "");
}

TEST_F(CallHandlerTest, ALoggedCallerIsShownAgainWithoutTouchingTheCurrentCall) {
  AddCaller("Alice Brown", "555-123-4567", Qt::red);
  handler.ShowLoggedCaller("555-123-4567", "ALICE NET");
  EXPECT_EQ(callerName->currentText(), "Alice Brown");
  EXPECT_EQ(ShownColor(), QColor(Qt::red));
  handler.ShowLoggedCaller("555-0000", "STRANGER");
  EXPECT_EQ(callerName->currentText(), "STRANGER");
  EXPECT_EQ(callerID->text(), "555-0000");
  EXPECT_FALSE(saveButton->isHidden());
  EXPECT_EQ(view.shows, 2);
  EXPECT_EQ(view.beeps, 0);
  EXPECT_EQ(handler.CurrentCallerID(), "");
}

}  // namespace
