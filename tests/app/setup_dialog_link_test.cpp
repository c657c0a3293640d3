// The Remote Setup dialog as the main window's "&Setup" command shows it,
// with the program's help behind its Help button.
#include <QAction>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include "app/app_globals.h"
#include "app/setup_dialog_link.h"
#include "form_fixture.h"
#include "platform/settings_store.h"
#include "remote/setup_dialog.h"

namespace {

// A URL handler placed first on PATH that records the URL it was given.
class UrlRecorder {
 public:
  UrlRecorder() : oldPath_(qgetenv("PATH")) {
    QFile script(dir_.filePath("xdg-open"));
    script.open(QIODevice::WriteOnly);
    script.write(QString("#!/bin/sh\nprintf '%s\\n' \"$1\" > '%1.tmp' && mv '%1.tmp' '%1'\n")
                     .arg(Record())
                     .toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("PATH", dir_.path().toLocal8Bit() + ":" + oldPath_);
  }
  ~UrlRecorder() { qputenv("PATH", oldPath_); }

  QString Take() {
    QDeadlineTimer deadline(30000);
    while (!QFileInfo::exists(Record()) && !deadline.hasExpired()) QThread::msleep(10);
    QFile f(Record());
    if (!f.open(QIODevice::ReadOnly)) return QString();
    const QString url = QString::fromUtf8(f.readAll()).trimmed();
    f.remove();
    return url;
  }

 private:
  QString Record() const { return dir_.filePath("url.txt"); }
  QTemporaryDir dir_;
  QByteArray oldPath_;
};

}  // namespace

TEST_F(FormTest, SetupShowsTheRemoteSetupModallyWithItsHelp) {
  OfferLines({AddModem("modem")});
  platform::WriteSettingValue("DDESetup/Target", "Topic", "System");
  TQuorvelForm& form = MakeForm();
  const FormParts ui(form);
  form.FormCreate();
  TfDDESetup dialog(&form);
  AttachSetupDialog(form, dialog);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.Profile().Topic, "System");  // created with the stored profile loaded
  EXPECT_EQ(HelpTopic(), "idh_quorvel");

  UrlRecorder recorder;
  bool shownModally = false;
  QString topicWhileShown;
  QTimer::singleShot(0, &dialog, [&] {
    shownModally = dialog.isVisible() && dialog.isModal();
    topicWhileShown = HelpTopic();
    SetHelpTopic("idh_quorvel");
    dialog.findChild<QPushButton*>("bHelp")->click();
    dialog.findChild<QPushButton*>("bClose")->click();
  });
  ui.Setup1->trigger();
  EXPECT_TRUE(shownModally);
  EXPECT_EQ(topicWhileShown, "idh_setup");
  const QString manual = "file://" + QDir(appDir_.path()).canonicalPath() + "/html/manual.html";
  EXPECT_EQ(recorder.Take(), manual + "#idh_setup");
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(platform::ReadSettingValue("Settings", "CurrentDDESetting"), "0");
}
