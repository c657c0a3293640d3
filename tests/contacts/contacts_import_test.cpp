#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include "contacts_fixture.h"

namespace {

using ContactsImportTest = ContactsFixture;

TEST_F(ContactsImportTest, ImportsTheThreeExportsWithTheirPictures) {
  contacts::TImportSummary summary = Import("android-2.1.vcf");
  EXPECT_EQ(summary.Added, 6);
  summary = Import("apple-3.0.vcf");
  EXPECT_EQ(summary.Added, 4);
  EXPECT_EQ(summary.Skipped, QStringList{"Dentist: no telephone number"});
  summary = Import("server-4.0.vcf");
  EXPECT_EQ(summary.Added, 4);
  EXPECT_TRUE(summary.Skipped.isEmpty());
  EXPECT_TRUE(summary.Notes.isEmpty());

  const std::vector<std::pair<std::string, std::string>> expected = {
      {"Alice Brown", "212-555-0101"},          {"Alice Brown 2", "646-555-0199"},
      {"Jürgen Müller", "+49 30 1234567"},       {"Jürgen Müller 2", "0171 2345678"},
      {"René Lefèvre de la", "+33 1 23 45 67 89"}, {"Pizza Napoli", "555-0188"},
      {"Bob Green", "212-555-0102"},            {"Bob Green 2", "212-555-0103"},
      {"Carl Smith, Jr.", "212-555-0104"},      {"Dr. Dora Hughes", "+44 20 7946 0958"},
      {"Zoë Keller", "+41-44-668-18-00"},       {"Zoë Keller 2", "+44-20-7946-0958 ext"},
      {"Bartholomew Fitzgera", "718-555-0142"}, {"Bartholomew Fitzge 2", "718-555-0143"}};
  for (const auto& [name, number] : expected) EXPECT_EQ(Stored(name), number) << name;
  EXPECT_EQ(db.GetNumRecs(), static_cast<int>(expected.size()));

  // A photo becomes the caller's picture; without one the default picture serves.
  EXPECT_TRUE(NearColor(PictureColor("Alice Brown"), QColor(0xd0, 0x10, 0x10)));
  EXPECT_TRUE(NearColor(PictureColor("Alice Brown 2"), QColor(0xd0, 0x10, 0x10)));
  EXPECT_TRUE(NearColor(PictureColor("Bob Green"), QColor(0xd0, 0x10, 0x10)));
  EXPECT_EQ(PictureColor("Zoë Keller", 0.1), QColor(0x10, 0x40, 0xe0));
  EXPECT_EQ(PictureColor("Zoë Keller", 0.9), QColor(Qt::white));  // transparent part
  EXPECT_EQ(PictureColor("Bartholomew Fitzge 2"), QColor(0x10, 0xb0, 0x20));
  EXPECT_FALSE(QFileInfo::exists(pictures.FileOf("Pizza Napoli")));
  EXPECT_EQ(QImage(pictures.FileOf("Alice Brown"), "BMP").size(), QSize(40, 30));
}

TEST_F(ContactsImportTest, LargePhotosAreKeptAsAPictureChosenByHand) {
  QImage wide(800, 400, QImage::Format_RGB32);
  wide.fill(Qt::red);
  QByteArray jpeg;
  QBuffer buffer(&jpeg);
  buffer.open(QIODevice::WriteOnly);
  ASSERT_TRUE(wide.save(&buffer, "JPEG"));
  const QByteArray card = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Wide Photo\r\nTEL:555-0101\r\n"
                          "PHOTO;ENCODING=b;TYPE=JPEG:" + jpeg.toBase64() + "\r\nEND:VCARD\r\n";
  EXPECT_EQ(ImportText(card).Added, 1);
  const QImage stored(pictures.FileOf("Wide Photo"), "BMP");
  EXPECT_EQ(stored.size(), QSize(400, 200));
  EXPECT_TRUE(NearColor(stored.pixelColor(200, 100), Qt::red));
  EXPECT_TRUE(TCallerPictures::ReadImageData("not a picture").isNull());
}

TEST_F(ContactsImportTest, NamesNoCallerMayHaveAreSkipped) {
  EXPECT_EQ(ImportText("BEGIN:VCARD\nFN:default\nTEL:555-0101\nEND:VCARD\n").Skipped,
            QStringList{"default: Invalid Caller Name"});
  EXPECT_EQ(db.GetNumRecs(), 0);
}

TEST_F(ContactsImportTest, StoredNamesAreSkippedUnlessReplaced) {
  db.AddRecord(MakeCallerRecord("Alice Brown", "555-0000"));
  pictures.Save("Alice Brown", pictures.LoadDefault());
  contacts::TImportSummary summary = Import("android-2.1.vcf");
  EXPECT_EQ(summary.Added, 5);
  EXPECT_EQ(summary.Skipped, QStringList{"Alice Brown: already stored"});
  EXPECT_EQ(Stored("Alice Brown"), "555-0000");
  EXPECT_EQ(PictureColor("Alice Brown"), DefaultPictureColor());

  summary = Import("android-2.1.vcf");
  EXPECT_FALSE(summary.AnythingImported());
  EXPECT_EQ(summary.Skipped.size(), 6);

  summary = Import("android-2.1.vcf", true);
  EXPECT_EQ(summary.Added, 0);
  EXPECT_EQ(summary.Replaced, 6);
  EXPECT_EQ(Stored("Alice Brown"), "212-555-0101");
  EXPECT_TRUE(NearColor(PictureColor("Alice Brown"), QColor(0xd0, 0x10, 0x10)));
  // Without a photo the picture stays as it was: none.
  EXPECT_FALSE(QFileInfo::exists(pictures.FileOf("Pizza Napoli")));
  EXPECT_EQ(db.GetNumRecs(), 6);
}

TEST_F(ContactsImportTest, FullDatabaseEndsTheImportWithItsOwnMessage) {
  WriteFillerCallers(997);
  const contacts::TImportSummary summary = Import("android-2.1.vcf");
  EXPECT_EQ(summary.Added, 2);
  EXPECT_EQ(summary.StopMessage, "The import stopped: Maximum database records (999) reached.");
  EXPECT_EQ(summary.LeftOut, 3);  // Jürgen, René and the pizzeria
  EXPECT_TRUE(summary.Text().endsWith("3 contacts were left out."));
  EXPECT_EQ(db.GetNumRecs(), 999);
  EXPECT_FALSE(QFileInfo::exists(pictures.FileOf("Jürgen Müller")));
}

TEST_F(ContactsImportTest, MalformedCardsAreReportedAndTheOthersImported) {
  const contacts::TImportSummary summary = Import("malformed.vcf");
  EXPECT_EQ(summary.Text().toStdString(),
            "Added: 3\n"
            "Replaced: 0\n"
            "Skipped: 3\n"
            "  No End: the card has no END:VCARD\n"
            "  Broken Line: line 14 is not a vCard property\n"
            "  Never Ends: the card has no END:VCARD\n"
            "Notes:\n"
            "  Bad Photo: photo could not be read, the default picture is used");
  EXPECT_EQ(Stored("Bad Photo"), "555-0133");
  EXPECT_FALSE(QFileInfo::exists(pictures.FileOf("Bad Photo")));
  EXPECT_EQ(Stored("Embedded Agent"), "(none)");
}

TEST_F(ContactsImportTest, FilesWithoutContactsAndMissingPicturesAreReported) {
  EXPECT_EQ(contacts::ImportContacts(db, pictures, "US", {pictures.DefaultFile(), false}).Text(),
            "The file holds no contacts.\nAdded: 0\nReplaced: 0\nSkipped: 0");
  try {
    Import("missing.vcf");
    FAIL() << "a missing file went unnoticed";
  } catch (const contacts::EContactsFile& error) {
    EXPECT_EQ(QString::fromUtf8(error.what()),
              "Cannot open file " + DataFile("missing.vcf"));
  }
  // The default picture is never copied: the import does without it.
  ASSERT_TRUE(QFile::remove(pictures.DefaultFile()));
  const contacts::TImportSummary summary = Import("apple-3.0.vcf");
  EXPECT_EQ(summary.Added, 4);  // Bob Green's two numbers (with his photo), Carl and the office
  EXPECT_EQ(summary.Skipped.size(), 1) << summary.Text().toStdString();  // the dentist has no number
  EXPECT_NE(Stored("Carl Smith, Jr."), "(none)");
  EXPECT_FALSE(QFileInfo::exists(pictures.FileOf("Carl Smith, Jr.")));
}

TEST_F(ContactsImportTest, CancelLeavesTheRestOut) {
  contacts::TContactsImport import(db, pictures, "US", false, DataBytes("android-2.1.vcf"));
  EXPECT_DOUBLE_EQ(import.Progress(), 0.0);
  ASSERT_TRUE(import.Step());
  EXPECT_GT(import.Progress(), 0.0);
  import.Cancel();
  EXPECT_FALSE(import.Step());
  EXPECT_EQ(import.Summary().Added, 2);
  EXPECT_EQ(import.Summary().StopMessage, "The import was cancelled.");
  EXPECT_EQ(import.Summary().LeftOut, 3);
  EXPECT_DOUBLE_EQ(import.Progress(), 1.0);
}

}  // namespace
