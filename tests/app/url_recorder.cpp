#include "url_recorder.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

UrlRecorder::UrlRecorder() : oldPath_(qgetenv("PATH")) {
  QFile script(dir_.filePath("xdg-open"));
  script.open(QIODevice::WriteOnly);
  // Written aside and moved, so Take never reads a half-written record.
  script.write(QString("#!/bin/sh\nprintf '%s\\n' \"$@\" > '%1.tmp' && mv '%1.tmp' '%1'\n")
                   .arg(Record())
                   .toUtf8());
  script.close();
  script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  qputenv("PATH", dir_.path().toLocal8Bit() + ":" + oldPath_);
}

UrlRecorder::~UrlRecorder() { qputenv("PATH", oldPath_); }

QString UrlRecorder::Take() {
  const QDeadlineTimer deadline(30000);
  while (!QFile::exists(Record()) && !deadline.hasExpired()) QThread::msleep(10);
  QFile record(Record());
  if (!record.open(QIODevice::ReadOnly)) return QString();
  const QString url = QString::fromUtf8(record.readAll()).trimmed();
  record.remove();
  return url;
}
