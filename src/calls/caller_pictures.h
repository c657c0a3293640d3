#pragma once

#include <QImage>
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
// first kept on, so "bob.bmp" serves the caller "Bob".
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

  // Writes `picture` as a Windows bitmap, replacing the file as a whole.
  // Throws EPictureFile when it cannot be written.
  void Save(const QString& name, const QImage& picture) const;

  // Removes the picture of `name` if there is one; failures are ignored.
  void Delete(const QString& name) const;

 private:
  QString ExistingFileFor(const QString& fileName) const;
  QImage LoadFile(const QString& shownPath, const QString& fileName) const;

  QString appDirectory_;
};

namespace calls {

// The 100 x 100, 16-colour picture the window shows until the first caller.
QImage StartupPicture();

// A picture in any format the image readers know (JPEG, PNG, GIF, ...) made
// into a caller picture: cut to the picture area's proportions around its
// centre, scaled down to the area when larger, transparency laid on white.
// A null image when the data is no readable picture.
QImage ConvertedPicture(const QByteArray& imageData);

}  // namespace calls
