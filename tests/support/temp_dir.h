#pragma once

#include <QTemporaryDir>
#include <QString>

// A temporary folder that also serves as XDG_CONFIG_HOME, and its "data"
// folder as XDG_DATA_HOME, for the test's lifetime: settings and the call
// log never touch the user's real files.
class TempConfigHome {
 public:
  TempConfigHome();
  ~TempConfigHome();
  TempConfigHome(const TempConfigHome&) = delete;
  TempConfigHome& operator=(const TempConfigHome&) = delete;

  QString path() const { return dir_.path(); }
  QString SettingsFile() const { return dir_.path() + "/Varnock/Quorvel.ini"; }
  QString CallLogFile() const { return dir_.path() + "/data/Varnock/Quorvel/calls.sqlite"; }

 private:
  QTemporaryDir dir_;
  QByteArray previous_;
  bool hadPrevious_ = false;
  QByteArray previousData_;
  bool hadPreviousData_ = false;
};
