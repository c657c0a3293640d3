// Closing, exit, the tray menu, help, the general error report and a
// database that cannot be read.
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <stdexcept>

#include "app/app_globals.h"
#include "form_fixture.h"
#include "message_box_answerer.h"
#include "url_recorder.h"

TEST_F(FormTest, CreationSetsFoldersAndHelpTopic) {
  SetHelpTopic("idh_setup");
  TQuorvelForm& form = CreateOnOneModem();
  const FormParts ui(form);
  EXPECT_EQ(AppDirectory(), QDir(appDir_.path()).canonicalPath() + "/");
  EXPECT_EQ(DataDirectory(), AppDirectory());  // a folder the user may write to
  EXPECT_EQ(HelpTopic(), "idh_quorvel");
  EXPECT_EQ(form.HelpContext(), 1000);
  EXPECT_EQ(ui.cbCallerName->currentText(), "(Unknown)");
  EXPECT_EQ(ui.cbCallerName->count(), 0);
}

TEST_F(FormTest, WithoutTrayTheWindowIsMinimisedAndClosingMinimises) {
  TQuorvelForm& form = CreateOnOneModem("0");
  const FormParts ui(form);
  ASSERT_EQ(form.TrayIcon(), nullptr);  // the offscreen platform has no tray
  EXPECT_TRUE(form.isVisible());
  EXPECT_TRUE(form.isMinimized());

  ui.Open1->trigger();
  EXPECT_FALSE(form.isMinimized());
  ui.bSaveToDatabase->show();
  EXPECT_FALSE(form.close());  // refused
  EXPECT_TRUE(form.isMinimized());
  EXPECT_TRUE(ui.bSaveToDatabase->isHidden());
}

TEST_F(FormTest, OpenShowsTheWindowAndTheFirstRecord) {
  TQuorvelForm& form = CreateOnOneModem();
  const FormParts ui(form);
  SaveCallers(form, {{"Bob Stone", "555-0102"}, {"Ann Other", "555-0101"}});
  form.hide();
  SetHelpTopic("idh_setup");
  ui.Open1->trigger();
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(ui.cbCallerName->currentText(), "Ann Other");
  EXPECT_EQ(ui.tbCallerID->text(), "555-0101");
  EXPECT_EQ(HelpTopic(), "idh_quorvel");  // showing the window takes its topic back
}

TEST_F(FormTest, TrayRightButtonOpensTheMenuAndThePrimaryClickTheWindow) {
  TQuorvelForm& form = CreateOnOneModem();
  const FormParts ui(form);
  SaveCallers(form, {{"Ann Other", "555-0101"}});
  ui.cbCallerName->setEditText("");
  for (auto reason : {QSystemTrayIcon::DoubleClick, QSystemTrayIcon::MiddleClick,
                      QSystemTrayIcon::Unknown}) {
    ClickTrayIcon(form, reason);
    EXPECT_FALSE(ui.PopupMenu->isVisible()) << reason;
  }
  EXPECT_TRUE(form.isMinimized());
  EXPECT_EQ(ui.cbCallerName->currentText(), "");

  ClickTrayIcon(form, QSystemTrayIcon::Trigger);  // as "&Open"
  EXPECT_FALSE(form.isMinimized());
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(ui.cbCallerName->currentText(), "Ann Other");
  EXPECT_FALSE(ui.PopupMenu->isVisible());

  ClickTrayIcon(form, QSystemTrayIcon::Context);
  EXPECT_TRUE(ui.PopupMenu->isVisible());
  ui.PopupMenu->hide();
}

TEST_F(FormTest, ExitStoresTheLineAndTheMode) {
  const QString a = AddModem("modemA");
  const QString b = AddModem("modemB");
  OfferLines({a, b});
  Store("Mode", "1");
  TQuorvelForm& form = MakeForm();
  const FormParts ui(form);
  form.FormCreate();
  ui.Selectmodem1->actions().at(1)->trigger();
  ui.Active1->trigger();
  EXPECT_EQ(Stored("Modem"), "");
  ui.Exit1->trigger();
  EXPECT_EQ(Stored("Modem"), b);
  EXPECT_EQ(Stored("Mode"), "0");
  EXPECT_EQ(form.TrayIcon(), nullptr);

  ui.Passive1->trigger();
  ui.Exit2->trigger();  // the tray's Exit does the same
  EXPECT_EQ(Stored("Mode"), "1");
  EXPECT_EQ(Stored("Modem"), b);
}

TEST_F(FormTest, ExitEndsTheRunningLoop) {
  TQuorvelForm& form = CreateOnOneModem();
  QTimer::singleShot(0, &form, &TQuorvelForm::Exit);
  QTimer failSafe;
  failSafe.setSingleShot(true);
  bool timedOut = false;
  QObject::connect(&failSafe, &QTimer::timeout, [&] {
    timedOut = true;
    QCoreApplication::exit(1);
  });
  failSafe.start(60000);
  EXPECT_EQ(QCoreApplication::exec(), 0);
  EXPECT_FALSE(timedOut);
  EXPECT_EQ(Stored("Mode"), "1");
}

TEST_F(FormTest, HelpOpensTheManualAtTheTopic) {
  TQuorvelForm& form = CreateOnOneModem();
  const FormParts ui(form);
  UrlRecorder handler;
  const QString manual = "file://" + QDir(appDir_.path()).canonicalPath() + "/html/manual.html";

  SetHelpTopic("idh_setup");
  ui.Help2->trigger();
  EXPECT_EQ(handler.Take(), manual + "#idh_quorvel");

  // F1 on the window uses the topic of the moment.
  form.showNormal();
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  SetHelpTopic("idh_setup");
  QTest::keyClick(&form, Qt::Key_F1);
  EXPECT_EQ(handler.Take(), manual + "#idh_setup");
}

TEST(GeneralErrorReport, ShowsWhatEscapesAHandlerAndCarriesOn) {
  MessageBoxAnswerer answerer;
  QPushButton button;
  int clicks = 0;
  QObject::connect(&button, &QPushButton::clicked, [&] {
    if (++clicks == 1) throw std::runtime_error("Record already exists");
  });
  QTest::mouseClick(&button, Qt::LeftButton);
  ASSERT_EQ(answerer.seen().size(), 1u);
  EXPECT_EQ(answerer.seen()[0].caption, "Quorvel");
  EXPECT_EQ(answerer.seen()[0].text, "Record already exists.");

  QTest::mouseClick(&button, Qt::LeftButton);  // still working
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(answerer.seen().size(), 1u);

  QTimer::singleShot(0, [] { throw 42; });
  QCoreApplication::processEvents();
  ASSERT_EQ(answerer.seen().size(), 2u);
  EXPECT_EQ(answerer.seen()[1].text, "Unknown error.");
}

TEST_F(FormTest, UnreadableDatabaseIsReportedAndCreationGoesOn) {
  ASSERT_TRUE(QDir(appDir_.path()).mkdir("Callers.DB"));  // a folder where the file belongs
  MessageBoxAnswerer answerer;
  answerer.Hold();
  TQuorvelForm& form = CreateOnOneModem();
  EXPECT_EQ(answerer.OpenCount(), 1);  // the report waits for the user; creation did not
  ASSERT_EQ(answerer.seen().size(), 1u);
  EXPECT_EQ(answerer.seen()[0].caption, "Quorvel");
  EXPECT_EQ(answerer.seen()[0].icon, QMessageBox::Critical);
  EXPECT_FALSE(answerer.seen()[0].text.isEmpty());
  EXPECT_EQ(MenuLines().size(), 1);
  EXPECT_TRUE(form.Line().LineOpen());
  EXPECT_TRUE(form.isMinimized());  // the last step ran
}

TEST(FormMenus, AboutNamesTheProgramAndItsVersion) {
  TQuorvelForm form;
  const FormParts ui(form);
  MessageBoxAnswerer answerer;
  ui.About1->trigger();
  ASSERT_EQ(answerer.seen().size(), 1u);
  EXPECT_TRUE(answerer.seen()[0].text.contains("Quorvel"));
  EXPECT_TRUE(answerer.seen()[0].text.contains(QUORVEL_TEST_VERSION));
}

TEST(FormMenus, SetupShowsTheRemoteSetupDialogModally) {
  TQuorvelForm form;
  const FormParts ui(form);
  ui.Setup1->trigger();  // no dialog handed over yet: nothing happens
  QDialog dialog;
  form.SetSetupDialog(&dialog);
  bool wasModal = false;
  QTimer::singleShot(0, &dialog, [&] {
    wasModal = dialog.isVisible() && dialog.isModal();
    dialog.accept();
  });
  ui.Setup1->trigger();
  EXPECT_TRUE(wasModal);
  EXPECT_FALSE(dialog.isVisible());
}
