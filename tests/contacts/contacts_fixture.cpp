#include "contacts_fixture.h"

#include <QFile>
#include <QImage>

#include "inidb/caller_database_config.h"

ContactsFixture::ContactsFixture() : pictures(AppDirectory()) {
  QFile::copy(QStringLiteral(QUORVEL_RESOURCES_DIR "/Default.BMP"), AppDirectory() + "Default.BMP");
  ApplyCallerDatabaseConfig(db);
  db.SetFileName(DatabaseFile().toStdString());
}

QByteArray ContactsFixture::DataBytes(const QString& name) {
  QFile file(DataFile(name));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
  return file.readAll();
}

void ContactsFixture::WriteFillerCallers(int count) {
  QByteArray index = "[Index]\r\n";
  QByteArray records;
  for (int i = 1; i <= count; ++i) {
    const QByteArray name = "Filler " + QByteArray::number(i);
    index += name + "=#\r\n";
    records += "[" + name + "]\r\nCallerID=555-" + QByteArray::number(1000 + i) + "\r\n";
  }
  QFile file(DatabaseFile());
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(index + "[Defaults]\r\n_Entries=" + QByteArray::number(count) + "\r\n" + records);
}

contacts::TImportSummary ContactsFixture::Import(const QString& sample, bool replace) {
  return contacts::ImportContacts(db, pictures, "US", {DataFile(sample), replace});
}

contacts::TImportSummary ContactsFixture::ImportText(const QByteArray& cards) {
  contacts::TContactsImport import(db, pictures, "US", false, cards);
  while (import.Step()) {
  }
  return import.Summary();
}

std::string ContactsFixture::Stored(const std::string& name) {
  if (!db.KeyExists(name)) return "(none)";
  TCallerRecord record;
  db.GetRecord(name, record);
  return record.CallerID.Get();
}

QColor ContactsFixture::PictureColor(const QString& name, double x, double y) const {
  const QImage picture(pictures.FileOf(name), "BMP");
  if (picture.isNull()) return QColor();
  return picture.pixelColor(static_cast<int>(x * (picture.width() - 1)),
                            static_cast<int>(y * (picture.height() - 1)));
}

QColor ContactsFixture::DefaultPictureColor() const {
  return QImage(pictures.DefaultFile(), "BMP").pixelColor(98, 100);
}

bool NearColor(const QColor& a, const QColor& b) {
  return a.isValid() && b.isValid() && std::abs(a.red() - b.red()) < 24 &&
         std::abs(a.green() - b.green()) < 24 && std::abs(a.blue() - b.blue()) < 24;
}
