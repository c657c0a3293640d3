// The manual beside the built program: the page every help request opens,
// at the anchors the windows ask for.
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>
#include <gtest/gtest.h>

#include "app/app_globals.h"
#include "app/app_help.h"
#include "remote/setup_dialog.h"

namespace {

const QString kBinDir = QStringLiteral(QUORVEL_E2E_BIN_DIR);

QString ManualText() {
  QFile page(kBinDir + "/html/manual.html");
  if (!page.open(QIODevice::ReadOnly)) return QString();
  return QString::fromUtf8(page.readAll());
}

QStringList Captures(const QString& text, const QString& pattern) {
  QStringList found;
  QRegularExpressionMatchIterator it = QRegularExpression(pattern).globalMatch(text);
  while (it.hasNext()) found << it.next().captured(1);
  return found;
}

QStringList Ids(const QString& text) { return Captures(text, R"(\bid\s*=\s*"([^"]*)\")"); }

// A URL handler found first along PATH that writes its arguments to a file.
class RecordingUrlHandler {
 public:
  RecordingUrlHandler() : oldPath_(qgetenv("PATH")) {
    QFile script(bin_.filePath("xdg-open"));
    script.open(QIODevice::WriteOnly);
    script.write(QString("#!/bin/sh\nprintf '%s\\n' \"$@\" > '%1.tmp' && mv '%1.tmp' '%1'\n")
                     .arg(Record())
                     .toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("PATH", bin_.path().toLocal8Bit() + ":" + oldPath_);
  }
  ~RecordingUrlHandler() { qputenv("PATH", oldPath_); }

  // The URL the handler was started with, or "" when it was not started.
  QString Take() {
    QDeadlineTimer deadline(30000);
    while (!QFile::exists(Record()) && !deadline.hasExpired()) QThread::msleep(20);
    QFile record(Record());
    if (!record.open(QIODevice::ReadOnly)) return QString();
    const QString url = QString::fromUtf8(record.readAll()).trimmed();
    record.remove();
    return url;
  }

 private:
  QString Record() const { return bin_.filePath("url.txt"); }
  QTemporaryDir bin_;
  QByteArray oldPath_;
};

}  // namespace

TEST(Manual, HoldsEachHelpTopicOnceAndEveryLinkInsideTheManualResolves) {
  const QString text = ManualText();
  ASSERT_FALSE(text.isEmpty()) << "no manual beside the program in " << kBinDir.toStdString();

  const QStringList ids = Ids(text);
  const QSet<QString> unique(ids.begin(), ids.end());
  EXPECT_EQ(unique.size(), ids.size()) << "an anchor is defined twice";
  EXPECT_TRUE(unique.contains(kMainHelpTopic));
  EXPECT_TRUE(unique.contains(kSetupHelpTopic));
  EXPECT_TRUE(unique.contains(TfDDESetup::kHelpTopic));

  for (const QString& target : Captures(text, R"(\bhref\s*=\s*"#([^"]*)\")"))
    EXPECT_TRUE(unique.contains(target)) << "link to a missing anchor #" << target.toStdString();
}

TEST(Manual, IsReadableWithoutANetworkOrOtherFiles) {
  const QString text = ManualText();
  ASSERT_FALSE(text.isEmpty());
  EXPECT_TRUE(text.contains(QRegularExpression(R"(<meta\s+charset="utf-8">)")));
  EXPECT_TRUE(Captures(text, R"(\bsrc\s*=\s*"([^"]*)\")").isEmpty());
  EXPECT_TRUE(Captures(text, R"(<link\b([^>]*)>)").isEmpty());
  EXPECT_TRUE(Captures(text, R"(<script\b([^>]*)>)").isEmpty());
  EXPECT_TRUE(Captures(text, R"(@import\s+([^;]*))").isEmpty());
}

TEST(Manual, HelpOpensTheManualBesideTheProgramAtTheWindowsTopic) {
  const QString text = ManualText();
  ASSERT_FALSE(text.isEmpty());
  const QStringList ids = Ids(text);
  SetAppDirectory(kBinDir + "/");
  RecordingUrlHandler handler;

  for (const char* topic : {kMainHelpTopic, kSetupHelpTopic}) {
    SetHelpTopic(QString::fromLatin1(topic));
    bool callHelp = true;
    AppOnHelp(kHelpSetPopupPos, 0, callHelp);
    const QUrl url(handler.Take());
    ASSERT_TRUE(url.isLocalFile()) << topic;
    EXPECT_EQ(QDir(url.toLocalFile()).canonicalPath(),
              QDir(kBinDir + "/html/manual.html").canonicalPath());
    EXPECT_EQ(url.fragment(), QString::fromLatin1(topic));
    EXPECT_TRUE(ids.contains(url.fragment())) << topic;
  }
}
