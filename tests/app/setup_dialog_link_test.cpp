// The Remote Setup dialog as the main window's "&Setup" command shows it,
// with the program's help behind its Help button.
#include <QAction>
#include <QDir>
#include <QPushButton>
#include <QTimer>

#include "app/app_globals.h"
#include "app/setup_dialog_link.h"
#include "form_fixture.h"
#include "platform/settings_store.h"
#include "remote/setup_dialog.h"
#include "url_recorder.h"

TEST_F(FormTest, SetupShowsTheRemoteSetupModallyWithItsHelp) {
  platform::WriteSettingValue("DDESetup/Target", "Topic", "System");
  TQuorvelForm& form = CreateOnOneModem();
  const FormParts ui(form);
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
