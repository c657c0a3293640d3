#include "calls/caller_pictures.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>

#include "calls/caller_text.h"
#include "calls/calls_constants.h"
#include "inidb/caller_record.h"
#include "platform/framework_texts.h"

using namespace calls;

namespace {

constexpr char kBitmapFormat[] = "BMP";

[[noreturn]] void ThrowPictureError(const QString& message) {
  throw EPictureFile(ToEightBit(message));
}

// A file in one state: a broken file that is replaced counts as a new one.
QString FileState(const QString& path) {
  const QFileInfo info(path);
  return path + QLatin1Char('\n') + QString::number(info.size()) + QLatin1Char('\n') +
         QString::number(info.lastModified().toMSecsSinceEpoch());
}

}  // namespace

TCallerPictures::TCallerPictures(QString programDirectory, QString dataDirectory)
    : programDirectory_(std::move(programDirectory)), dataDirectory_(std::move(dataDirectory)) {}

QString TCallerPictures::FileOf(const QString& name) const {
  return dataDirectory_ + name + QString::fromLatin1(kPictureExtension);
}

QString TCallerPictures::DefaultFile() const {
  // Missing everywhere, it is missed where the program brings it.
  const QString name = QString::fromLatin1(kDefaultPictureFile);
  QString found = FileInFolder(dataDirectory_, name);
  if (found.isEmpty()) found = FileInFolder(programDirectory_, name);
  return found.isEmpty() ? programDirectory_ + name : found;
}

QString TCallerPictures::FileInFolder(const QString& folder, const QString& fileName) {
  const QString exact = folder + fileName;
  if (QFileInfo::exists(exact)) return exact;
  const QStringList entries = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
  for (const QString& entry : entries) {
    if (entry.compare(fileName, Qt::CaseInsensitive) == 0) return folder + entry;
  }
  return QString();
}

QString TCallerPictures::ExistingFileFor(const QString& fileName) const {
  QString found = FileInFolder(dataDirectory_, fileName);
  if (found.isEmpty() && programDirectory_ != dataDirectory_)
    found = FileInFolder(programDirectory_, fileName);
  return found.isEmpty() ? dataDirectory_ + fileName : found;
}

QImage TCallerPictures::LoadFile(const QString& shownPath, const QString& fileName) const {
  const QString path = ExistingFileFor(fileName);
  // Only regular files: a folder or a pipe of that name must not hang the read.
  if (!QFileInfo(path).isFile()) ThrowPictureError(platform::CannotOpenFileText(shownPath));
  QImageReader reader(path, kBitmapFormat);
  reader.setDecideFormatFromContent(false);
  QImage picture = reader.read();
  if (picture.isNull()) ThrowPictureError(platform::CannotOpenFileText(shownPath));
  return picture;
}

QImage TCallerPictures::Load(const QString& name) const {
  if (!IsSafePictureName(name)) ThrowPictureError(platform::CannotOpenFileText(FileOf(name)));
  return LoadFile(FileOf(name), name + QString::fromLatin1(kPictureExtension));
}

QImage TCallerPictures::LoadDefault() const {
  return LoadFile(DefaultFile(), QString::fromLatin1(kDefaultPictureFile));
}

QImage TCallerPictures::ShownFor(const QString& name, QString& report) {
  // A name that would leave the folder, or "Default", has no picture of its own.
  const bool ownName = IsSafePictureName(name) && !IsReservedCallerName(ToEightBit(name));
  const QString path = ExistingFileFor(name + QString::fromLatin1(kPictureExtension));
  if (!ownName || !QFileInfo::exists(path)) return ShownDefault(report);
  try {
    QImage picture = Load(name);
    lastShownFile_ = path;
    return picture;
  } catch (const EPictureFile& error) {
    const QString state = FileState(path);
    if (!reported_.contains(state)) {
      reported_.insert(state);
      report = QString::fromUtf8(error.what());
    }
  }
  QString defaultReport;
  const QImage picture = ShownDefault(defaultReport);
  if (report.isEmpty()) report = defaultReport;
  return picture;
}

QImage TCallerPictures::ShownDefault(QString& report) const {
  try {
    QImage picture = LoadDefault();
    lastShownFile_ = DefaultFile();
    return picture;
  } catch (const EPictureFile& error) {
    // Never the previous caller's face beside this call's name.
    report = QString::fromUtf8(error.what());
    lastShownFile_.clear();
    return StartupPicture();
  }
}

QString TCallerPictures::WritableFileFor(const QString& name) const {
  if (!IsSafePictureName(name) || IsReservedCallerName(ToEightBit(name))) {
    ThrowPictureError(platform::CannotCreateFileText(FileOf(name)));
  }
  // Never the program's own files: an existing spelling in the data folder,
  // else the name as given there.
  const QString existing = FileInFolder(dataDirectory_, name + QString::fromLatin1(kPictureExtension));
  return existing.isEmpty() ? FileOf(name) : existing;
}

void TCallerPictures::Save(const QString& name, const QImage& picture) const {
  const QString shownPath = FileOf(name);
  QSaveFile file(WritableFileFor(name));
  if (!file.open(QIODevice::WriteOnly)) ThrowPictureError(platform::CannotCreateFileText(shownPath));
  QImageWriter writer(&file, kBitmapFormat);
  if (!writer.write(picture) || !file.commit()) ThrowPictureError(platform::CannotCreateFileText(shownPath));
}

QImage TCallerPictures::Store(const QString& name, const QImage& image) const {
  QImage picture = image;
  if (picture.width() > kMaxStoredPictureSide || picture.height() > kMaxStoredPictureSide) {
    picture = picture.scaled(kMaxStoredPictureSide, kMaxStoredPictureSide, Qt::KeepAspectRatio,
                             Qt::SmoothTransformation);
  }
  // A bitmap holds no transparency: what shows through is white, as on paper.
  QImage opaque(picture.size(), QImage::Format_RGB32);
  opaque.fill(Qt::white);
  QPainter painter(&opaque);
  painter.drawImage(0, 0, picture);
  painter.end();
  Save(name, opaque);
  return opaque;
}

QImage TCallerPictures::ReadImageFile(const QString& path) {
  if (!QFileInfo(path).isFile()) ThrowPictureError(platform::CannotOpenFileText(path));
  QImageReader reader(path);
  reader.setAutoTransform(true);
  QImage image = reader.read();
  if (image.isNull()) ThrowPictureError(platform::CannotOpenFileText(path));
  return image;
}

QImage TCallerPictures::ReadImageData(const QByteArray& data) {
  QBuffer buffer;
  buffer.setData(data);
  QImageReader reader(&buffer);
  reader.setAutoTransform(true);
  return reader.read();
}

void TCallerPictures::Delete(const QString& name) const {
  if (!IsSafePictureName(name) || IsReservedCallerName(ToEightBit(name))) return;
  // Only the user's own picture; one the program brought stays.
  const QString path = FileInFolder(dataDirectory_, name + QString::fromLatin1(kPictureExtension));
  if (!path.isEmpty() && QFileInfo(path).isFile()) QFile::remove(path);
}

QImage calls::StartupPicture() {
  return QImage(QString::fromLatin1(kStartupPictureResource), kBitmapFormat);
}
