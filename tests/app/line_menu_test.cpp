// The line menu built from the line monitor, the stored line, and the
// user's line changes.
#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>

#include "form_fixture.h"
#include "message_box_answerer.h"

TEST_F(FormTest, OffersOnlyLinesThatAnswerInMonitorOrder) {
  const QString a = AddModem("modemA");
  const QString silent = AddModem("silent", {"--silent"});
  const QString b = AddModem("modemB");
  OfferLines({a, silent, b});
  TQuorvelForm& form = MakeForm();
  form.FormCreate();
  EXPECT_EQ(MenuLines(), (QStringList{a, b}));
  EXPECT_EQ(ListedLines(), (QStringList{a, b}));
  for (QAction* item : form.Selectmodem1->actions()) EXPECT_TRUE(item->isCheckable());
}

TEST_F(FormTest, NoStoredLineSelectsAndOpensTheFirst) {
  const QString a = AddModem("modemA");
  const QString b = AddModem("modemB");
  OfferLines({a, b});
  TQuorvelForm& form = MakeForm();
  form.FormCreate();
  EXPECT_EQ(form.LineMonitor.LineName(), a);
  EXPECT_TRUE(form.LineMonitor.LineOpen());
  EXPECT_EQ(form.LineMonitor.MediaMode(), 16u);
  EXPECT_EQ(form.LineMonitor.CallPrivilege(), 6u);
  EXPECT_EQ(Checks(), (std::vector<bool>{true, false}));
}

TEST_F(FormTest, StoredLineIsSelectedAndChecked) {
  const QString a = AddModem("modemA");
  const QString b = AddModem("modemB");
  OfferLines({a, b});
  Store("Modem", b);
  TQuorvelForm& form = MakeForm();
  form.FormCreate();
  EXPECT_EQ(form.LineMonitor.LineName(), b);
  EXPECT_TRUE(form.LineMonitor.LineOpen());
  EXPECT_EQ(Checks(), (std::vector<bool>{false, true}));
  EXPECT_EQ(form.LineIndex(b), 1);
  EXPECT_EQ(form.LineIndex(b.toUpper()), 0);  // exact comparison only
}

TEST_F(FormTest, StoredLineThatIsNotOfferedIsStillTried) {
  const QString a = AddModem("modemA");
  OfferLines({a});
  const QString gone = appDir_.filePath("gone");
  Store("Modem", gone);
  MessageBoxAnswerer answerer;
  TQuorvelForm& form = MakeForm();
  form.FormCreate();
  // The name was accepted, so entry 0 got its mark before opening failed.
  ASSERT_EQ(answerer.seen().size(), 1u);
  EXPECT_EQ(answerer.seen()[0].caption, QString::fromUtf8("Fehler"));
  EXPECT_EQ(answerer.seen()[0].icon, QMessageBox::Critical);
  EXPECT_EQ(answerer.seen()[0].buttons, QStringList{"OK"});
  EXPECT_TRUE(answerer.seen()[0].text.startsWith(gone + " => Modem not available "))
      << answerer.seen()[0].text.toStdString();
  EXPECT_GT(answerer.seen()[0].text.size(), (gone + " => Modem not available ").size());
  EXPECT_EQ(Checks(), std::vector<bool>{true});
  EXPECT_FALSE(form.LineMonitor.LineOpen());
  EXPECT_TRUE(form.isMinimized());  // creation went on to its last step (no tray here)
}

TEST_F(FormTest, NoAnsweringLineEndsTheProgramAfterSayingSo) {
  OfferLines({AddModem("silent", {"--silent"})});
  MessageBoxAnswerer answerer;
  TQuorvelForm& form = MakeForm();
  EXPECT_THROW(form.FormCreate(), EQuitProgram);
  ASSERT_EQ(answerer.seen().size(), 1u);
  EXPECT_EQ(answerer.seen()[0].caption, QString::fromUtf8("Fehler"));
  EXPECT_EQ(answerer.seen()[0].text,
            "There are no modems defined under Windows. The application will quit!");
  EXPECT_EQ(answerer.seen()[0].buttons, QStringList{"OK"});
  EXPECT_EQ(form.TrayIcon(), nullptr);
  EXPECT_FALSE(form.isVisible());
  EXPECT_TRUE(form.Selectmodem1->actions().isEmpty());
}

TEST_F(FormTest, ChoosingALineClosesSwitchesAndReopens) {
  const QString a = AddModem("modemA");
  const QString b = AddModem("modemB");
  OfferLines({a, b});
  TQuorvelForm& form = MakeForm();
  form.FormCreate();

  // During the pauses other handlers run, and they see the line closed.
  std::vector<bool> openDuringPause;
  QTimer probe;
  probe.setInterval(10);
  QObject::connect(&probe, &QTimer::timeout,
                   [&] { openDuringPause.push_back(form.LineMonitor.LineOpen()); });
  probe.start();
  form.Selectmodem1->actions().at(1)->trigger();
  probe.stop();

  EXPECT_EQ(form.LineMonitor.LineName(), b);
  EXPECT_TRUE(form.LineMonitor.LineOpen());
  EXPECT_EQ(Checks(), (std::vector<bool>{false, true}));
  ASSERT_FALSE(openDuringPause.empty());
  EXPECT_FALSE(openDuringPause.front());

  form.Selectmodem1->actions().at(1)->trigger();  // the checked one again
  EXPECT_EQ(Checks(), (std::vector<bool>{false, true}));
  EXPECT_TRUE(form.LineMonitor.LineOpen());
}

TEST_F(FormTest, FailedLineChangeLeavesNoCheckMark) {
  const QString a = AddModem("modemA");
  const QString b = AddModem("modemB");
  OfferLines({a, b});
  TQuorvelForm& form = MakeForm();
  form.FormCreate();
  ASSERT_TRUE(modems_[1]->Unplug());

  MessageBoxAnswerer answerer;
  form.Selectmodem1->actions().at(1)->trigger();
  ASSERT_EQ(answerer.seen().size(), 1u);
  EXPECT_EQ(answerer.seen()[0].caption, QString::fromUtf8("Fehler"));
  EXPECT_TRUE(answerer.seen()[0].text.startsWith(b + " => Modem not available "))
      << answerer.seen()[0].text.toStdString();
  EXPECT_EQ(Checks(), (std::vector<bool>{false, false}));

  // The user may pick another line afterwards.
  form.Selectmodem1->actions().at(0)->trigger();
  EXPECT_EQ(Checks(), (std::vector<bool>{true, false}));
  EXPECT_TRUE(form.LineMonitor.LineOpen());
  EXPECT_EQ(answerer.seen().size(), 1u);
}
