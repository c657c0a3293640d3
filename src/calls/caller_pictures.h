#pragma once

#include <QImage>
#include <QSet>
#include <QString>
#include <stdexcept>

// A picture file that cannot be read or written. The message names the file
// the way the general error report shows it to the user.
class EPictureFile : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The caller pictures beside the program: the program's folder + the caller's
// name + ".BMP", and "Default.BMP", all Windows bitmaps. File names are
// matched without regard to letter case, as on the system the pictures were
// first kept on, so "bob.bmp" serves the caller "Bob". No caller's picture is
// ever "Default.BMP": that name is refused for writing and deleting.
class TCallerPictures {
 public:
  // `appDirectory` ends with a path separator.
  explicit TCallerPictures(QString appDirectory);

  const QString& AppDirectory() const { return appDirectory_; }

  // The picture file of `name`, spelled as the name gives it.
  QString FileOf(const QString& name) const;
  QString DefaultFile() const;

  // Throws EPictureFile when the file is missing, not a bitmap, or the name
  // would leave the program's folder.
  QImage Load(const QString& name) const;
  QImage LoadDefault() const;

  // The picture the stored caller `name` is shown with: its own; the default
  // picture when it has none (that is normal); the default picture too when
  // its file cannot be read, and then `report` holds the error the first
  // time that file is met in that state, so a broken file is reported once
  // and not at every call. Never throws.
  QImage ShownFor(const QString& name, QString& report);
  // The default picture; when it cannot be read, the start-up picture and
  // `report` holds the error. Never throws.
  QImage ShownDefault(QString& report) const;

  // Writes `picture` as a Windows bitmap, replacing the file as a whole.
  // Throws EPictureFile when it cannot be written.
  void Save(const QString& name, const QImage& picture) const;

  // Stores any image (as read from a PNG, JPEG, BMP or GIF file) as the
  // picture of `name`, the way a picture chosen by hand is kept: an opaque
  // bitmap (transparent parts white), scaled down to fit
  // kMaxStoredPictureSide. Returns the picture as stored. Throws
  // EPictureFile when it cannot be written.
  QImage Store(const QString& name, const QImage& image) const;

  // Reads an image file of any kind the system reads (PNG, JPEG, BMP, GIF),
  // turned upright as its camera data says. Throws EPictureFile.
  static QImage ReadImageFile(const QString& path);
  // The same from the bytes of an image; a null image when they are none.
  static QImage ReadImageData(const QByteArray& data);

  // Removes the picture of `name` if there is one; failures are ignored.
  void Delete(const QString& name) const;

 private:
  QString ExistingFileFor(const QString& fileName) const;
  QImage LoadFile(const QString& shownPath, const QString& fileName) const;
  // The file of `name` for writing, or throws EPictureFile.
  QString WritableFileFor(const QString& name) const;

  QString appDirectory_;
  // Unreadable picture files already reported, each in the state it had.
  QSet<QString> reported_;
};

namespace calls {

// The 100 x 100, 16-colour picture the window shows until the first caller.
QImage StartupPicture();

}  // namespace calls
