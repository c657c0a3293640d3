#include "calls/caller_pictures.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>

#include "calls/caller_text.h"
#include "calls/calls_constants.h"

using namespace calls;

namespace {

constexpr char kBitmapFormat[] = "BMP";

[[noreturn]] void ThrowPictureError(const char* messageTemplate, const QString& path) {
  throw EPictureFile(ToEightBit(QString::fromUtf8(messageTemplate).arg(path)));
}

}  // namespace

TCallerPictures::TCallerPictures(QString appDirectory) : appDirectory_(std::move(appDirectory)) {}

QString TCallerPictures::FileOf(const QString& name) const {
  return appDirectory_ + name + QString::fromLatin1(kPictureExtension);
}

QString TCallerPictures::DefaultFile() const {
  return appDirectory_ + QString::fromLatin1(kDefaultPictureFile);
}

QString TCallerPictures::ExistingFileFor(const QString& fileName) const {
  const QString exact = appDirectory_ + fileName;
  if (QFileInfo::exists(exact)) return exact;
  const QStringList entries =
      QDir(appDirectory_).entryList(QDir::Files | QDir::Hidden | QDir::System);
  for (const QString& entry : entries) {
    if (entry.compare(fileName, Qt::CaseInsensitive) == 0) return appDirectory_ + entry;
  }
  return exact;
}

QImage TCallerPictures::LoadFile(const QString& shownPath, const QString& fileName) const {
  const QString path = ExistingFileFor(fileName);
  // Only regular files: a folder or a pipe of that name must not hang the read.
  if (!QFileInfo(path).isFile()) ThrowPictureError(kCannotOpenFile, shownPath);
  QImageReader reader(path, kBitmapFormat);
  reader.setDecideFormatFromContent(false);
  QImage picture = reader.read();
  if (picture.isNull()) ThrowPictureError(kCannotOpenFile, shownPath);
  return picture;
}

QImage TCallerPictures::Load(const QString& name) const {
  if (!IsSafePictureName(name)) ThrowPictureError(kCannotOpenFile, FileOf(name));
  return LoadFile(FileOf(name), name + QString::fromLatin1(kPictureExtension));
}

QImage TCallerPictures::LoadDefault() const {
  return LoadFile(DefaultFile(), QString::fromLatin1(kDefaultPictureFile));
}

void TCallerPictures::Save(const QString& name, const QImage& picture) const {
  const QString shownPath = FileOf(name);
  if (!IsSafePictureName(name)) ThrowPictureError(kCannotCreateFile, shownPath);
  QSaveFile file(ExistingFileFor(name + QString::fromLatin1(kPictureExtension)));
  if (!file.open(QIODevice::WriteOnly)) ThrowPictureError(kCannotCreateFile, shownPath);
  QImageWriter writer(&file, kBitmapFormat);
  if (!writer.write(picture) || !file.commit()) ThrowPictureError(kCannotCreateFile, shownPath);
}

void TCallerPictures::Delete(const QString& name) const {
  if (!IsSafePictureName(name)) return;
  const QString path = ExistingFileFor(name + QString::fromLatin1(kPictureExtension));
  if (QFileInfo(path).isFile()) QFile::remove(path);
}

QImage calls::StartupPicture() {
  return QImage(QString::fromLatin1(kStartupPictureResource), kBitmapFormat);
}

QImage calls::ConvertedPicture(const QByteArray& imageData) {
  QBuffer buffer;
  buffer.setData(imageData);
  QImageReader reader(&buffer);
  // The picture area stretches what it shows, so the picture takes its
  // proportions first and keeps the face undistorted. The reader cuts and
  // scales while decoding, which for a large JPEG photo is much faster.
  const QSize original = reader.size();
  if (original.isValid()) {
    const QSize area(kPictureWidth, kPictureHeight);
    const QSize cut = area.scaled(original, Qt::KeepAspectRatio);
    reader.setClipRect(QRect(QPoint((original.width() - cut.width()) / 2,
                                    (original.height() - cut.height()) / 2),
                             cut));
    if (cut.width() > area.width()) reader.setScaledSize(area);
  }
  const QImage picture = reader.read();
  if (picture.isNull()) return picture;
  QImage opaque(picture.size(), QImage::Format_RGB888);
  opaque.fill(Qt::white);
  QPainter painter(&opaque);
  painter.drawImage(0, 0, picture);
  return opaque;
}
