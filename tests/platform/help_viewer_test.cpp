#include "platform/help_viewer.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

TEST(HelpViewer, PageUrlPointsAtTheTopicInTheManual) {
  EXPECT_EQ(platform::HelpPageUrl("/opt/quorvel/", "idh_quorvel"),
            "file:///opt/quorvel/html/manual.html#idh_quorvel");
  EXPECT_EQ(platform::HelpPageUrl("/home/ann/My Apps/", "idh_setup"),
            "file:///home/ann/My%20Apps/html/manual.html#idh_setup");
}

TEST(HelpViewer, StartsTheUrlHandlerFromThePathWithoutWaiting) {
  // A stand-in URL handler found along PATH records its argument and then
  // blocks until the test releases it (or its folder is gone): StartHelpViewer must return while it
  // is still running.
  QTemporaryDir bin;
  ASSERT_TRUE(bin.isValid());
  const QString record = bin.filePath("args.txt");
  const QString release = bin.filePath("release");
  QFile script(bin.filePath("xdg-open"));
  ASSERT_TRUE(script.open(QIODevice::WriteOnly));
  script.write(QString("#!/bin/sh\nprintf '%s\\n' \"$@\" > '%1.tmp' && mv '%1.tmp' '%1'\n"
                       "while [ -d '%3' ] && [ ! -e '%2' ]; do sleep 0.05; done\n")
                   .arg(record, release, bin.path())
                   .toUtf8());
  script.close();
  script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

  const QByteArray oldPath = qgetenv("PATH");
  qputenv("PATH", bin.path().toLocal8Bit() + ":" + oldPath);
  platform::StartHelpViewer("/opt/quorvel/", "idh_setup");
  qputenv("PATH", oldPath);

  QDeadlineTimer deadline(30000);
  while (!QFileInfo::exists(record) && !deadline.hasExpired()) QThread::msleep(20);
  QFile args(record);
  ASSERT_TRUE(args.open(QIODevice::ReadOnly)) << "the URL handler was not started";
  EXPECT_EQ(args.readAll(), "file:///opt/quorvel/html/manual.html#idh_setup\n");
  QFile(release).open(QIODevice::WriteOnly);
}
