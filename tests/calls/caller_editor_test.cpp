#include <QCoreApplication>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "calls/caller_key.h"
#include "calls_fixture.h"
#include "message_box_answerer.h"

namespace {

class CallerEditorTest : public CallsFixture {
 protected:
  void ShowTexts(const QString& name, const QString& number) {
    callerName->setEditText(name);
    callerID->setText(number);
  }
};

TEST_F(CallerEditorTest, DisplayRecordShowsAStoredCallerAndIgnoresOtherNames) {
  AddCaller("Alice Brown", "555-0101", Qt::red);
  const QImage before = view.Picture();
  editor.DisplayRecord("Nobody");
  EXPECT_EQ(callerName->currentText(), "(Unknown)");
  EXPECT_EQ(callerID->text(), "(Not transmitted)");
  EXPECT_EQ(view.Picture(), before);
  editor.DisplayRecord("Alice Brown");
  EXPECT_EQ(callerName->currentText(), "Alice Brown");
  EXPECT_EQ(callerID->text(), "555-0101");
  EXPECT_EQ(ShownColor(), QColor(Qt::red));
}

// Whatever becomes of the picture, the window shows the chosen caller's own
// name and number: a save afterwards must not store another caller's number.
TEST_F(CallerEditorTest, PictureProblemsNeverLeaveAnotherCallersDataOnDisplay) {
  AddCaller("Alice Brown", "555-0101", Qt::red);
  AddCaller("Bob Green", "555-0102");  // no picture file: normal, nothing reported
  AddCaller("Carl White", "555-0103");
  WriteBytes(PictureFile("Carl White"), "not a bitmap");
  const auto reportOf = [this](const QString& name) {
    editor.DisplayRecord("Alice Brown");
    try {
      editor.DisplayRecord(name);
    } catch (const EPictureFile& e) {
      return std::string(e.what());
    }
    return std::string();
  };
  const std::string broken = ("Cannot open file " + PictureFile("Carl White")).toStdString();
  struct Step {
    QString name;
    std::string report;
  };
  // A broken file is reported the first time it is met, and again once it changed.
  for (const Step& step : {Step{"Bob Green", ""}, Step{"Carl White", broken}, Step{"Carl White", ""},
                           Step{"Bob Green", ""}}) {
    SCOPED_TRACE(step.name.toStdString());
    EXPECT_EQ(reportOf(step.name), step.report);
    EXPECT_EQ(callerName->currentText(), step.name);
    EXPECT_EQ(callerID->text(), QString::fromStdString(StoredNumber(step.name)));
    EXPECT_EQ(ShownColor(), DefaultPictureColor());
  }
  WriteBytes(PictureFile("Carl White"), "still not a bitmap, and longer");
  EXPECT_EQ(reportOf("Carl White"), broken);
  // Saving what is shown keeps each caller's own number.
  editor.AddCurrent1Click();
  EXPECT_EQ(StoredNumber("Carl White"), "555-0103");
  EXPECT_EQ(StoredNumber("Alice Brown"), "555-0101");
}


TEST_F(CallerEditorTest, NewWithoutDefaultPictureChangesNothing) {
  ASSERT_TRUE(QFile::remove(AppDirectory() + "Default.BMP"));
  EXPECT_THROW(editor.NewClick(), EPictureFile);
  EXPECT_EQ(callerName->currentText(), "(Unknown)");
  EXPECT_EQ(callerID->text(), "(Not transmitted)");
  EXPECT_EQ(view.pictureChanges, 0);
}

TEST_F(CallerEditorTest, NewThenAddStoresTheCallerWithTheDefaultPicture) {
  callerName->addItem("Someone");
  saveButton->show();
  editor.NewClick();
  EXPECT_EQ(callerName->currentText(), "(Name)");
  EXPECT_EQ(callerID->text(), "(CallerID)");
  EXPECT_EQ(ShownColor(), DefaultPictureColor());
  EXPECT_EQ(callerName->count(), 1);
  EXPECT_FALSE(saveButton->isHidden());
  ShowTexts("Carl", "555-0103");
  editor.AddCurrent1Click();
  EXPECT_EQ(StoredNumber("Carl"), "555-0103");
  EXPECT_EQ(QImage(PictureFile("Carl"), "BMP").pixelColor(0, 0), DefaultPictureColor());
  EXPECT_EQ(view.CallerNameEntries(), QStringList{"Carl"});
  EXPECT_EQ(callerName->currentText(), "Carl");  // reloading keeps the text
}

TEST_F(CallerEditorTest, AddWithoutNewStoresTheStartupPicture) {
  ShowTexts("Dora", "555-0104");
  editor.AddCurrent1Click();
  const QImage stored(PictureFile("Dora"), "BMP");
  EXPECT_EQ(stored.size(), QSize(100, 100));
  EXPECT_EQ(stored.pixel(50, 50), calls::StartupPicture().pixel(50, 50));
}

TEST_F(CallerEditorTest, SavingExistingCallerRewritesNumberAndKeepsPicture) {
  AddCaller("Alice Brown", "555-0101", Qt::red);
  editor.NewClick();  // default picture on display
  ShowTexts("alice brown", "555-9999");
  editor.AddCurrent1Click();
  EXPECT_EQ(StoredNumber("Alice Brown"), "555-9999");
  EXPECT_EQ(db.GetNumRecs(), 1);
  EXPECT_EQ(QImage(PictureFile("Alice Brown"), "BMP").pixelColor(0, 0), QColor(Qt::red));
  EXPECT_FALSE(QFile::exists(PictureFile("alice brown")));
}

TEST_F(CallerEditorTest, RefusedInputsWriteNothing) {
  struct Refusal {
    QString name;
    QString number;
    QString message;
  };
  // A few of each kind: every unstorable name and number is in the caller text tests.
  const std::vector<Refusal> refusals = {
      {"Eve", "", "Invalid Caller ID"},
      {"(Unknown)", "555", "Invalid Caller Name"},
      {"(Name)", "555", "Invalid Caller Name"},
      {"", "555", "Invalid Caller Name"},
      {"../escape", "555", "Invalid Caller Name"},
      {"a=b", "555", "Invalid Caller Name"},
      {"Bob\nGreen", "555", "Invalid Caller Name"},
      {"Frank", "555\r\n[Frank]", "Invalid Caller ID"},
      {" dEFAULT ", "555", "Invalid Caller Name"},
      {"Gus", "#", "Invalid Caller ID"},
      {"Gus", "   ", "Invalid Caller ID"},
  };
  ASSERT_EQ(db.GetRecordList().size(), 0u);  // creates the file
  const QByteArray before = DatabaseBytes();
  const QStringList filesBefore = QDir(AppDirectory()).entryList(QDir::Files);
  MessageBoxAnswerer answerer;
  for (const Refusal& r : refusals) {
    ShowTexts(r.name, r.number);
    editor.AddCurrent1Click();
    QCoreApplication::processEvents();  // the user closes the report before the next try
  }
  ASSERT_EQ(answerer.seen().size(), refusals.size());
  for (std::size_t i = 0; i < refusals.size(); ++i) {
    SCOPED_TRACE(refusals[i].name.toStdString());
    EXPECT_EQ(answerer.seen()[i].caption, "Error");
    EXPECT_EQ(answerer.seen()[i].text, refusals[i].message);
    EXPECT_EQ(answerer.seen()[i].icon, QMessageBox::Critical);
    EXPECT_EQ(answerer.seen()[i].buttons, QStringList{"OK"});
  }
  EXPECT_EQ(DatabaseBytes(), before);
  EXPECT_EQ(QDir(AppDirectory()).entryList(QDir::Files), filesBefore);
  EXPECT_EQ(callerName->count(), 0);
}

TEST_F(CallerEditorTest, OverlongNameIsCutOnceAndSavedAgainAsTheSameCaller) {
  const QString longName = "Bartholomew Fitzgerald-Smythe";  // 29 bytes
  const QString cut = "Bartholomew Fitzgera";
  ShowTexts(longName, "555-0105");
  editor.AddCurrent1Click();
  EXPECT_EQ(callerName->currentText(), cut);
  EXPECT_EQ(view.CallerNameEntries(), QStringList{cut});
  EXPECT_TRUE(QFile::exists(PictureFile(cut)));
  EXPECT_FALSE(QFile::exists(PictureFile(longName)));
  // Typed in full again: the same caller, updated.
  ShowTexts(longName, "555-0106");
  editor.AddCurrent1Click();
  EXPECT_EQ(db.GetNumRecs(), 1);
  EXPECT_EQ(StoredNumber(cut), "555-0106");
  // A call of that caller shows its own picture, with nothing to report.
  editor.DisplayRecord(cut);
  EXPECT_EQ(ShownColor(), QColor(QImage(PictureFile(cut), "BMP").pixelColor(0, 0)));
}

TEST_F(CallerEditorTest, UnwritablePictureKeepsRecordAndSkipsReload) {
  // A folder where the picture file should be: the record is added, the picture is not.
  ASSERT_TRUE(QDir(AppDirectory()).mkdir("Gina.BMP"));
  ShowTexts("Gina", "555-0107");
  EXPECT_THROW(editor.AddCurrent1Click(), EPictureFile);
  EXPECT_TRUE(db.KeyExists(calls::CallerKey("Gina")));
  EXPECT_EQ(callerName->count(), 0);
}

TEST_F(CallerEditorTest, DeleteAsksAndCancelKeepsEverything) {
  AddCaller("Alice Brown", "555-0101", Qt::red);
  editor.ReloadCallerNames();
  ShowTexts("Alice Brown", "555-0101");
  MessageBoxAnswerer answerer({"Cancel"});
  editor.Delete1Click();
  ASSERT_EQ(answerer.seen().size(), 1u);
  EXPECT_EQ(answerer.seen()[0].caption, "Confirm");
  EXPECT_EQ(answerer.seen()[0].text, "Delete entry for Alice Brown");
  EXPECT_EQ(answerer.seen()[0].icon, QMessageBox::Warning);
  EXPECT_EQ(answerer.seen()[0].buttons, (QStringList{"OK", "Cancel"}));
  EXPECT_TRUE(db.KeyExists(calls::CallerKey("Alice Brown")));
  EXPECT_TRUE(QFile::exists(PictureFile("Alice Brown")));
}

// Each deletion, of a missing name too, ends on the first entry; the last
// caller deleted stays on display.
TEST_F(CallerEditorTest, DeleteRemovesRecordAndPictureAndShowsFirstEntry) {
  AddCaller("Alice Brown", "555-0101", Qt::red);
  AddCaller("Bob Green", "555-0102", Qt::green);
  editor.ReloadCallerNames();
  ShowTexts("Nobody", "1");
  const QByteArray before = DatabaseBytes();
  MessageBoxAnswerer answerer({"OK", "OK", "OK"});
  editor.Delete1Click();
  EXPECT_EQ(answerer.seen().size(), 1u);
  EXPECT_EQ(DatabaseBytes(), before);
  EXPECT_EQ(callerName->currentText(), "Alice Brown");
  EXPECT_EQ(ShownColor(), QColor(Qt::red));

  editor.DisplayRecord("Bob Green");
  editor.Delete1Click();
  EXPECT_FALSE(db.KeyExists(calls::CallerKey("Bob Green")));
  EXPECT_FALSE(QFile::exists(PictureFile("Bob Green")));
  EXPECT_EQ(view.CallerNameEntries(), QStringList{"Alice Brown"});
  EXPECT_EQ(callerName->currentText(), "Alice Brown");
  EXPECT_EQ(callerID->text(), "555-0101");
  EXPECT_EQ(ShownColor(), QColor(Qt::red));

  editor.Delete1Click();
  EXPECT_EQ(db.GetNumRecs(), 0);
  EXPECT_EQ(callerName->count(), 0);
  EXPECT_EQ(callerName->currentText(), "Alice Brown");
  EXPECT_EQ(callerID->text(), "555-0101");
  EXPECT_EQ(ShownColor(), QColor(Qt::red));
}

TEST_F(CallerEditorTest, DeletingACallerNamedDefaultKeepsTheDefaultPicture) {
  // Written into the file by hand (or by an older program).
  WriteDatabaseFile("[Index]\r\nDEFAULT=#\r\n[Defaults]\r\n_Entries=1\r\n[DEFAULT]\r\nCallerID=1\r\n");
  editor.ReloadCallerNames();
  ShowTexts("DEFAULT", "1");
  MessageBoxAnswerer answerer({"OK"});
  editor.Delete1Click();
  EXPECT_EQ(db.GetNumRecs(), 0);
  EXPECT_TRUE(QFile::exists(AppDirectory() + "Default.BMP"));
}

TEST_F(CallerEditorTest, ChosenPicturesOfEveryKindAreStoredAsBitmapsAndShown) {
  AddCaller("Alice Brown", "555-0101", Qt::red);
  editor.ReloadCallerNames();
  QTemporaryDir chosen;
  QImage blue(12, 10, QImage::Format_RGB32);
  blue.fill(Qt::blue);
  for (const char* format : {"PNG", "JPEG", "BMP"}) {
    view.chosenFile = chosen.path() + "/picture." + QString::fromLatin1(format).toLower();
    ASSERT_TRUE(blue.save(view.chosenFile, format));
    ShowTexts("alice brown", "555-0101");
    editor.ChoosePicture1Click();
    SCOPED_TRACE(format);
    const QImage stored(PictureFile("Alice Brown"), "BMP");
    ASSERT_FALSE(stored.isNull());
    EXPECT_EQ(stored.size(), QSize(12, 10));
    EXPECT_LT(std::abs(stored.pixelColor(5, 5).blue() - 255) + stored.pixelColor(5, 5).red(), 30);
    EXPECT_EQ(view.Picture(), stored);
    EXPECT_FALSE(QFile::exists(PictureFile("alice brown")));
  }
  // A one-pixel red GIF, as a web page would have it.
  view.chosenFile = chosen.path() + "/dot.gif";
  WriteBytes(view.chosenFile, QByteArray::fromHex("474946383961010001008000" "00ff0000000000"
                                                  "2c00000000010001000002024401003b"));
  editor.ChoosePicture1Click();
  EXPECT_EQ(QImage(PictureFile("Alice Brown"), "BMP").pixelColor(0, 0), QColor(Qt::red));
}

TEST_F(CallerEditorTest, PictureIsChosenOnlyForAStoredCaller) {
  AddCaller("Alice Brown", "555-0101", Qt::red);
  editor.ReloadCallerNames();
  QTemporaryDir chosen;
  view.chosenFile = chosen.path() + "/broken.png";
  WriteBytes(view.chosenFile, "not a picture");
  ShowTexts("Nobody", "1");
  EXPECT_FALSE(editor.CanChoosePicture());
  editor.ChoosePicture1Click();  // nothing asked, nothing written
  EXPECT_FALSE(QFile::exists(PictureFile("Nobody")));
  ShowTexts("Alice Brown", "555-0101");
  EXPECT_TRUE(editor.CanChoosePicture());
  EXPECT_THROW(editor.ChoosePicture1Click(), EPictureFile);
  EXPECT_EQ(QImage(PictureFile("Alice Brown"), "BMP").pixelColor(0, 0), QColor(Qt::red));
  view.chosenFile.clear();  // the dialog was cancelled
  editor.ChoosePicture1Click();
  EXPECT_EQ(QImage(PictureFile("Alice Brown"), "BMP").pixelColor(0, 0), QColor(Qt::red));
}

TEST_F(CallerEditorTest, DeleteOfEscapingNameLeavesOutsideFilesAlone) {
  QTemporaryDir outside;
  WriteBitmap(outside.path() + "/Victim.BMP", Qt::blue);
  ShowTexts("../" + QDir(outside.path()).dirName() + "/Victim", "1");
  MessageBoxAnswerer answerer({"OK"});
  editor.Delete1Click();
  EXPECT_TRUE(QFile::exists(outside.path() + "/Victim.BMP"));
}

TEST_F(CallerEditorTest, NameBoxChangeToAListedNameDisplaysItAndHidesTheButton) {
  AddCaller("Alice Brown", "555-0101", Qt::red);
  editor.ReloadCallerNames();
  saveButton->show();
  callerName->setEditText("Alice Brow");
  editor.cbCallerNameChange();
  EXPECT_EQ(callerID->text(), "(Not transmitted)");
  EXPECT_FALSE(saveButton->isHidden());
  callerName->setEditText("ALICE BROWN");
  editor.cbCallerNameChange();
  EXPECT_EQ(callerID->text(), "555-0101");
  EXPECT_EQ(ShownColor(), QColor(Qt::red));
  EXPECT_TRUE(saveButton->isHidden());
}

TEST_F(CallerEditorTest, SaveButtonHidesAfterSaveAndRefusalButNotAfterAFailure) {
  saveButton->show();
  ShowTexts("Hank", "555-0108");
  editor.bSaveToDatabaseClick();
  EXPECT_TRUE(saveButton->isHidden());
  EXPECT_EQ(StoredNumber("Hank"), "555-0108");

  saveButton->show();
  ShowTexts("(Unknown)", "555-0109");
  MessageBoxAnswerer answerer;
  editor.bSaveToDatabaseClick();
  EXPECT_EQ(answerer.seen().size(), 1u);
  EXPECT_TRUE(saveButton->isHidden());

  // It stays when the save fails.
  ASSERT_TRUE(QDir(AppDirectory()).mkdir("Ida.BMP"));
  saveButton->show();
  ShowTexts("Ida", "555-0110");
  EXPECT_THROW(editor.bSaveToDatabaseClick(), EPictureFile);
  EXPECT_FALSE(saveButton->isHidden());
}

}  // namespace
