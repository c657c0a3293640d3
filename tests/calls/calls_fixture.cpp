#include "calls_fixture.h"

#include <QFile>
#include <QImage>

#include "calls/caller_key.h"
#include "inidb/ini_dbase.h"

namespace {

QString CopyDefaultPicture(const QTemporaryDir& dir) {
  const QString target = dir.path() + "/Default.BMP";
  QFile::copy(QStringLiteral(QUORVEL_RESOURCES_DIR "/Default.BMP"), target);
  return target;
}

QComboBox* EditableBox(QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);
  return box;
}

}  // namespace

CallsFixture::CallsFixture()
    : image(new QLabel(&window)),
      callerName(EditableBox(&window)),
      callerID(new QLineEdit(&window)),
      saveButton(new QPushButton("Save to database", &window)),
      view({&window, image, callerName, callerID, saveButton}, [this] { return activeMode; }),
      pictures(AppDirectory()),
      editor(db, view, pictures),
      handler(db, view, editor, pictures) {
  if (!dir_.isValid()) ADD_FAILURE() << "no temporary folder";
  if (!QFile::exists(CopyDefaultPicture(dir_))) ADD_FAILURE() << "Default.BMP not copied";
  ApplyCallerDatabaseConfig(db);
  db.SetFileName(DatabaseFile().toStdString());
  // Tests of what happens within the collection wait ask for the real one.
  handler.CollectionWaitMs = 20;
  callerName->setEditText("(Unknown)");
  callerID->setText("(Not transmitted)");
  saveButton->hide();
}

CallsFixture::~CallsFixture() = default;

void CallsFixture::AddCaller(const QString& name, const QString& number, QColor color) {
  db.AddRecord(MakeCallerRecord(name.toStdString(), number.toStdString()));
  if (color.isValid()) WriteBitmap(PictureFile(name), color);
}

void CallsFixture::WriteBitmap(const QString& path, QColor color) {
  QImage picture(8, 8, QImage::Format_RGB32);
  picture.fill(color);
  if (!picture.save(path, "BMP")) ADD_FAILURE() << "cannot write " << path.toStdString();
}

void CallsFixture::WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
    ADD_FAILURE() << "cannot write " << path.toStdString();
  }
}

QColor CallsFixture::ShownColor() const { return image->pixmap().toImage().pixelColor(0, 0); }

QColor CallsFixture::DefaultPictureColor() const {
  return QImage(AppDirectory() + "Default.BMP", "BMP").pixelColor(0, 0);
}

QByteArray CallsFixture::DatabaseBytes() const {
  QFile file(DatabaseFile());
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void CallsFixture::WriteDatabaseFile(const QByteArray& content) { WriteBytes(DatabaseFile(), content); }

std::string CallsFixture::StoredNumber(const QString& name) {
  TCallerRecord record{};
  db.GetRecord(calls::CallerKey(name), record);
  return record.CallerID.Get();
}

void CallsFixture::AddElsewhere(const std::string& name, const std::string& number) {
  TIniDBase other;
  ApplyCallerDatabaseConfig(other);
  other.SetFileName(DatabaseFile().toStdString());
  other.AddRecord(MakeCallerRecord(name, number));
}
