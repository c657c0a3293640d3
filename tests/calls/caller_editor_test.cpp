#include <QCoreApplication>
#include <QFile>
#include <QMessageBox>
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

TEST_F(CallerEditorTest, DisplayRecordShowsPictureNameAndNumber) {
  AddCaller("Alice Brown", "555-0101", Qt::red);
  editor.DisplayRecord("Alice Brown");
  EXPECT_EQ(callerName->currentText(), "Alice Brown");
  EXPECT_EQ(callerID->text(), "555-0101");
  EXPECT_EQ(ShownColor(), QColor(Qt::red));
}

TEST_F(CallerEditorTest, DisplayRecordOfUnknownNameChangesNothing) {
  const QImage before = view.Picture();
  editor.DisplayRecord("Nobody");
  EXPECT_EQ(callerName->currentText(), "(Unknown)");
  EXPECT_EQ(callerID->text(), "(Not transmitted)");
  EXPECT_EQ(view.Picture(), before);
}

TEST_F(CallerEditorTest, MissingPictureLeavesPreviousCallerOnDisplay) {
  AddCaller("Alice Brown", "555-0101", Qt::red);
  AddCaller("Bob Green", "555-0102");  // no picture file
  editor.DisplayRecord("Alice Brown");
  try {
    editor.DisplayRecord("Bob Green");
    FAIL() << "a caller without picture was displayed";
  } catch (const EPictureFile& e) {
    EXPECT_EQ(std::string(e.what()),
              ("Datei " + PictureFile("Bob Green") + " kann nicht geöffnet werden").toStdString());
  }
  EXPECT_EQ(callerName->currentText(), "Alice Brown");
  EXPECT_EQ(callerID->text(), "555-0101");
  EXPECT_EQ(ShownColor(), QColor(Qt::red));
}

TEST_F(CallerEditorTest, NewShowsDefaultPictureAndPlaceholders) {
  callerName->addItem("Someone");
  saveButton->show();
  editor.NewClick();
  EXPECT_EQ(callerName->currentText(), "(Name)");
  EXPECT_EQ(callerID->text(), "(CallerID)");
  EXPECT_EQ(ShownColor(), DefaultPictureColor());
  EXPECT_EQ(callerName->count(), 1);
  EXPECT_FALSE(saveButton->isHidden());
}

TEST_F(CallerEditorTest, NewWithoutDefaultPictureChangesNothing) {
  ASSERT_TRUE(QFile::remove(AppDirectory() + "Default.BMP"));
  EXPECT_THROW(editor.NewClick(), EPictureFile);
  EXPECT_EQ(callerName->currentText(), "(Unknown)");
  EXPECT_EQ(callerID->text(), "(Not transmitted)");
  EXPECT_EQ(view.pictureChanges, 0);
}

TEST_F(CallerEditorTest, AddStoresNewCallerWithPictureOnDisplay) {
  editor.NewClick();
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
  const std::vector<Refusal> refusals = {
      {"Eve", "", "Invalid Caller ID"},
      {"(Unknown)", "555", "Invalid Caller Name"},
      {"(Name)", "555", "Invalid Caller Name"},
      {"", "555", "Invalid Caller Name"},
      {"../escape", "555", "Invalid Caller Name"},
      {"..", "555", "Invalid Caller Name"},
      {".", "555", "Invalid Caller Name"},
      {"a=b", "555", "Invalid Caller Name"},
      {"Bob]", "555", "Invalid Caller Name"},
      {"[Index", "555", "Invalid Caller Name"},
      {";Bob", "555", "Invalid Caller Name"},
      {"Bob\nGreen", "555", "Invalid Caller Name"},
      {"Frank", "555\r\n[Frank]", "Invalid Caller ID"},
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
    EXPECT_EQ(answerer.seen()[i].caption, QString::fromUtf8("Fehler"));
    EXPECT_EQ(answerer.seen()[i].text, refusals[i].message);
    EXPECT_EQ(answerer.seen()[i].icon, QMessageBox::Critical);
    EXPECT_EQ(answerer.seen()[i].buttons, QStringList{"OK"});
  }
  EXPECT_EQ(DatabaseBytes(), before);
  EXPECT_EQ(QDir(AppDirectory()).entryList(QDir::Files), filesBefore);
  EXPECT_EQ(callerName->count(), 0);
}

TEST_F(CallerEditorTest, OverlongNameIsCutAndNotFoundAgain) {
  const QString longName = "Bartholomew Fitzgerald-Smythe";  // 29 bytes
  ShowTexts(longName, "555-0105");
  editor.AddCurrent1Click();
  EXPECT_EQ(view.CallerNameEntries(), QStringList{"Bartholomew Fitzgera"});
  EXPECT_TRUE(QFile::exists(PictureFile(longName)));
  // The full name is looked up by its 29 bytes and not found: a second add
  // meets the database's refusal, and the list is not reloaded.
  callerName->clear();
  ShowTexts(longName, "555-0105");
  try {
    editor.AddCurrent1Click();
    FAIL() << "the cut name was added twice";
  } catch (const ECodedException& e) {
    EXPECT_EQ(e.ErrorCode, -7007);
    EXPECT_STREQ(e.what(), "Record already exists");
  }
  EXPECT_EQ(callerName->count(), 0);
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

TEST_F(CallerEditorTest, DeleteRemovesRecordAndPictureAndShowsFirstEntry) {
  AddCaller("Alice Brown", "555-0101", Qt::red);
  AddCaller("Bob Green", "555-0102", Qt::green);
  editor.ReloadCallerNames();
  editor.DisplayRecord("Bob Green");
  MessageBoxAnswerer answerer({"OK"});
  editor.Delete1Click();
  EXPECT_FALSE(db.KeyExists(calls::CallerKey("Bob Green")));
  EXPECT_FALSE(QFile::exists(PictureFile("Bob Green")));
  EXPECT_EQ(view.CallerNameEntries(), QStringList{"Alice Brown"});
  EXPECT_EQ(callerName->currentText(), "Alice Brown");
  EXPECT_EQ(callerID->text(), "555-0101");
  EXPECT_EQ(ShownColor(), QColor(Qt::red));
}

TEST_F(CallerEditorTest, DeleteOfMissingNameDeletesNothingAndShowsFirstEntry) {
  AddCaller("Alice Brown", "555-0101", Qt::red);
  AddCaller("Bob Green", "555-0102", Qt::green);
  editor.ReloadCallerNames();
  ShowTexts("Nobody", "1");
  const QByteArray before = DatabaseBytes();
  MessageBoxAnswerer answerer({"OK"});
  editor.Delete1Click();
  EXPECT_EQ(answerer.seen().size(), 1u);
  EXPECT_EQ(DatabaseBytes(), before);
  EXPECT_EQ(callerName->currentText(), "Alice Brown");
  EXPECT_EQ(ShownColor(), QColor(Qt::red));
}

TEST_F(CallerEditorTest, DeletingLastRecordLeavesItOnDisplay) {
  AddCaller("Alice Brown", "555-0101", Qt::red);
  editor.ReloadCallerNames();
  editor.DisplayRecord("Alice Brown");
  MessageBoxAnswerer answerer({"OK"});
  editor.Delete1Click();
  EXPECT_EQ(db.GetNumRecs(), 0);
  EXPECT_EQ(callerName->count(), 0);
  EXPECT_EQ(callerName->currentText(), "Alice Brown");
  EXPECT_EQ(callerID->text(), "555-0101");
  EXPECT_EQ(ShownColor(), QColor(Qt::red));
}

TEST_F(CallerEditorTest, DeleteOfEscapingNameLeavesOutsideFilesAlone) {
  QTemporaryDir outside;
  WriteBitmap(outside.path() + "/Victim.BMP", Qt::blue);
  ShowTexts("../" + QDir(outside.path()).dirName() + "/Victim", "1");
  MessageBoxAnswerer answerer({"OK"});
  editor.Delete1Click();
  EXPECT_TRUE(QFile::exists(outside.path() + "/Victim.BMP"));
}

TEST_F(CallerEditorTest, NameBoxChangeToListedNameDisplaysAndHidesButton) {
  AddCaller("Alice Brown", "555-0101", Qt::red);
  editor.ReloadCallerNames();
  saveButton->show();
  callerName->setEditText("ALICE BROWN");
  editor.cbCallerNameChange();
  EXPECT_EQ(callerID->text(), "555-0101");
  EXPECT_EQ(ShownColor(), QColor(Qt::red));
  EXPECT_TRUE(saveButton->isHidden());
}

TEST_F(CallerEditorTest, NameBoxChangeToUnlistedNameDoesNothing) {
  AddCaller("Alice Brown", "555-0101", Qt::red);
  editor.ReloadCallerNames();
  saveButton->show();
  callerName->setEditText("Alice Brow");
  editor.cbCallerNameChange();
  EXPECT_EQ(callerID->text(), "(Not transmitted)");
  EXPECT_FALSE(saveButton->isHidden());
}

TEST_F(CallerEditorTest, SaveButtonHidesAfterSaveAndAfterRefusal) {
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
}

TEST_F(CallerEditorTest, SaveButtonStaysWhenSaveFails) {
  ASSERT_TRUE(QDir(AppDirectory()).mkdir("Ida.BMP"));
  saveButton->show();
  ShowTexts("Ida", "555-0110");
  EXPECT_THROW(editor.bSaveToDatabaseClick(), EPictureFile);
  EXPECT_FALSE(saveButton->isHidden());
}

}  // namespace
