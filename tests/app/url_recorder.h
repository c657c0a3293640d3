#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A URL handler (xdg-open) placed first on PATH that records the URL it was
// started with, for as long as this object lives.
class UrlRecorder {
 public:
  UrlRecorder();
  ~UrlRecorder();

  // Waits for the next recorded URL and takes it; "" when none came.
  QString Take();

 private:
  QString Record() const { return dir_.filePath("url.txt"); }
  QTemporaryDir dir_;
  QByteArray oldPath_;
};
