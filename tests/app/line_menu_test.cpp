// The line menu built from the line monitor, the stored line, and the
// user's line changes.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "form_fixture.h"
#include "message_box_answerer.h"
#include "test_pty.h"

TEST_F(FormTest, OffersOnlyLinesThatAnswerInMonitorOrder) {
  const QString a = AddModem("modemA");
  const QString silent = AddModem("silent", {"--silent"});
  const QString b = AddModem("modemB");
  OfferLines({a, silent, b});
  TQuorvelForm& form = MakeForm();
  form.FormCreate();
  EXPECT_EQ(MenuLines(), (QStringList{a, b}));
  EXPECT_EQ(ListedLines(), (QStringList{a, b}));
  for (QAction* item : LineItems()) EXPECT_TRUE(item->isCheckable());
}

namespace {

// Two answering modems, A and B, and which of them are offered and stored.
struct StartLine {
  const char* name;
  bool offerB;
  bool storeB;
};

void PrintTo(const StartLine& c, std::ostream* out) { *out << c.name; }

class StartLineTest : public FormTest, public ::testing::WithParamInterface<StartLine> {};

}  // namespace

TEST_P(StartLineTest, OpensTicksAndListsTheWatchedLine) {
  const QString a = AddModem("modemA");
  const QString b = AddModem("modemB");
  OfferLines(GetParam().offerB ? QStringList{a, b} : QStringList{a});
  if (GetParam().storeB) Store("Modem", b);
  TQuorvelForm& form = MakeForm();
  form.FormCreate();
  const QString watched = GetParam().storeB ? b : a;
  EXPECT_EQ(form.Line().LineName(), watched);
  EXPECT_TRUE(form.Line().LineOpen());
  EXPECT_EQ(form.Line().MediaMode(), 16u);
  EXPECT_EQ(form.Line().CallPrivilege(), 6u);
  // A watched line that is not offered is added behind the offered ones.
  EXPECT_EQ(MenuLines(), (QStringList{a, b}));
  EXPECT_EQ(ListedLines(), (QStringList{a, b}));
  EXPECT_EQ(Checks(), (std::vector<bool>{watched == a, watched == b}));
  EXPECT_EQ(form.LineIndex(b), 1);
  EXPECT_EQ(form.LineIndex(b.toUpper()), 0);  // exact comparison only
}

INSTANTIATE_TEST_SUITE_P(Lines, StartLineTest,
                         ::testing::Values(StartLine{"NoneStoredTheFirst", true, false},
                                           StartLine{"Stored", true, true},
                                           StartLine{"StoredButNotOffered", false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FormTest, StoredLineThatIsNotOfferedIsStillTried) {
  const QString a = AddModem("modemA");
  OfferLines({a});
  const QString gone = appDir_.filePath("gone");
  Store("Modem", gone);
  MessageBoxAnswerer answerer;
  TQuorvelForm& form = MakeForm();
  form.FormCreate();
  ASSERT_EQ(answerer.seen().size(), 1u);
  EXPECT_EQ(answerer.seen()[0].caption, "Error");
  EXPECT_EQ(answerer.seen()[0].icon, QMessageBox::Critical);
  EXPECT_EQ(answerer.seen()[0].buttons, QStringList{"OK"});
  EXPECT_TRUE(answerer.seen()[0].text.startsWith(gone + " => Modem not available "))
      << answerer.seen()[0].text.toStdString();
  EXPECT_GT(answerer.seen()[0].text.size(), (gone + " => Modem not available ").size());
  // No line is watched, so none is ticked.
  EXPECT_EQ(Checks(), std::vector<bool>{false});
  EXPECT_FALSE(form.Line().LineOpen());
  EXPECT_TRUE(form.isMinimized());  // creation went on to its last step (no tray here)
}

TEST_F(FormTest, NoAnsweringLineEndsTheProgramAfterSayingWhy) {
  const QString silent = AddModem("silent", {"--silent"});
  const QString missing = appDir_.filePath("missing");
  OfferLines({silent, missing});
  MessageBoxAnswerer answerer;
  TQuorvelForm& form = MakeForm();
  EXPECT_THROW(form.FormCreate(), EQuitProgram);
  ASSERT_EQ(answerer.seen().size(), 1u);
  EXPECT_EQ(answerer.seen()[0].caption, "Error");
  const QStringList text = answerer.seen()[0].text.split('\n');
  EXPECT_EQ(text.value(0), "There are no modems defined on this computer. The application will quit!");
  EXPECT_EQ(text.value(1), "");
  EXPECT_TRUE(text.contains(silent + ": No answer from modem")) << text.join('\n').toStdString();
  EXPECT_TRUE(text.contains(missing + ": No such file or directory")) << text.join('\n').toStdString();
  EXPECT_EQ(answerer.seen()[0].buttons, QStringList{"OK"});
  EXPECT_EQ(form.TrayIcon(), nullptr);
  EXPECT_FALSE(form.isVisible());
  EXPECT_TRUE(MenuLines().isEmpty());
}

TEST_F(FormTest, ChoosingALineClosesSwitchesAndReopens) {
  const QString a = AddModem("modemA");
  const QString b = AddModem("modemB");
  OfferLines({a, b});
  TQuorvelForm& form = MakeForm();
  const FormParts ui(form);
  form.FormCreate();

  // During the pauses other handlers run, and they see the line closed.
  std::vector<bool> openDuringPause;
  QTimer probe;
  probe.setInterval(10);
  QObject::connect(&probe, &QTimer::timeout,
                   [&] { openDuringPause.push_back(form.Line().LineOpen()); });
  probe.start();
  ui.Selectmodem1->actions().at(1)->trigger();
  probe.stop();

  EXPECT_EQ(form.Line().LineName(), b);
  EXPECT_TRUE(form.Line().LineOpen());
  EXPECT_EQ(Checks(), (std::vector<bool>{false, true}));
  ASSERT_FALSE(openDuringPause.empty());
  EXPECT_FALSE(openDuringPause.front());

  ui.Selectmodem1->actions().at(1)->trigger();  // the checked one again
  EXPECT_EQ(Checks(), (std::vector<bool>{false, true}));
  EXPECT_TRUE(form.Line().LineOpen());
}

TEST_F(FormTest, FailedLineChangeLeavesNoCheckMark) {
  const QString a = AddModem("modemA");
  const QString b = AddModem("modemB");
  OfferLines({a, b});
  TQuorvelForm& form = MakeForm();
  const FormParts ui(form);
  form.FormCreate();
  ASSERT_TRUE(modems_[1]->Unplug());

  MessageBoxAnswerer answerer;
  ui.Selectmodem1->actions().at(1)->trigger();
  ASSERT_EQ(answerer.seen().size(), 1u);
  EXPECT_EQ(answerer.seen()[0].caption, "Error");
  EXPECT_TRUE(answerer.seen()[0].text.startsWith(b + " => Modem not available "))
      << answerer.seen()[0].text.toStdString();
  EXPECT_EQ(Checks(), (std::vector<bool>{false, false}));

  // The user may pick another line afterwards.
  ui.Selectmodem1->actions().at(0)->trigger();
  EXPECT_EQ(Checks(), (std::vector<bool>{true, false}));
  EXPECT_TRUE(form.Line().LineOpen());
  EXPECT_EQ(answerer.seen().size(), 1u);
}

TEST_F(FormTest, PortAnsweringAfterTheListingIsOfferedThen) {
  const QString a = AddModem("modemA");
  TTestPty late;
  ASSERT_TRUE(late.Valid());
  OfferLines({a, late.DevicePath()});
  TQuorvelForm& form = MakeForm();
  TLineTimings timings = form.Line().Timings();
  timings.probeTimeoutMs = 60000;
  form.Line().SetTimings(timings);
  form.FormCreate();
  EXPECT_EQ(MenuLines(), QStringList{a});
  ASSERT_TRUE(QTest::qWaitFor([&] { return late.ReadWritten().endsWith("\r"); }, 30000));
  late.Answer("\r\nOK\r\n");
  EXPECT_TRUE(QTest::qWaitFor([&] { return MenuLines() == QStringList{a, late.DevicePath()}; }, 30000));
  EXPECT_EQ(Checks(), (std::vector<bool>{true, false}));
}

// Exit ends the application's event loop for good, so each row runs alone.
class HandWrittenSettings : public FormTest, public ::testing::WithParamInterface<bool> {};

TEST_P(HandWrittenSettings, SurviveStartAndExitChangingOnlyWhatChanged) {
  const bool chooseOtherLine = GetParam();
  const QString a = AddModem("modemA");
  const QString b = AddModem("modemB");
  // As the manual shows it: several paths after one "ExtraLines=", by hand.
  const QByteArray handWritten = "; Quorvel, set up by hand\n[Settings]\nMode = 0\nExtraLines=" + a.toUtf8() + ";" +
                                 b.toUtf8() + "\nModem=" + b.toUtf8() + "\n; seconds without a ring\nRingTimeout=4\n\n[Mine]\nx=1\n";
  const QString path = config_.SettingsFile();
  QDir().mkpath(QFileInfo(path).absolutePath());
  {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(handWritten);
  }
  TQuorvelForm& form = MakeForm();
  const FormParts ui(form);
  form.FormCreate();
  EXPECT_EQ(MenuLines(), (QStringList{a, b}));
  EXPECT_EQ(Checks(), (std::vector<bool>{false, true}));
  if (chooseOtherLine) ui.Selectmodem1->actions().at(0)->trigger();
  ui.Exit1->trigger();

  QByteArray expected = handWritten;
  if (chooseOtherLine) expected.replace("Modem=" + b.toUtf8(), "Modem=" + a.toUtf8());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll().toStdString(), expected.toStdString());
}

INSTANTIATE_TEST_SUITE_P(Lines, HandWrittenSettings, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "OtherLineChosen" : "NothingChanged");
                         });
