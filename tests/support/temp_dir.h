#pragma once

#include <QTemporaryDir>
#include <QString>

// A temporary folder that also serves as XDG_CONFIG_HOME for the test's
// lifetime, so settings never touch the user's real file.
class TempConfigHome {
 public:
  TempConfigHome();
  ~TempConfigHome();
  TempConfigHome(const TempConfigHome&) = delete;
  TempConfigHome& operator=(const TempConfigHome&) = delete;

  QString path() const { return dir_.path(); }
  QString SettingsFile() const { return dir_.path() + "/Varnock/Quorvel.ini"; }

 private:
  QTemporaryDir dir_;
  QByteArray previous_;
  bool hadPrevious_ = false;
};
