#include "remote/setup_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWhatsThis>
#include <memory>
#include <gtest/gtest.h>

#include "message_box_answerer.h"
#include "platform/settings_store.h"
#include "remote/remote_profile_store.h"
#include "remote_test_support.h"
#include "temp_dir.h"

using namespace remote;

namespace {

TRemoteProfile Profile(const QString& topic, bool dde = true, bool start = false) {
  TRemoteProfile p;
  p.Application = topic;
  p.DdeLink = dde;
  p.VbsScript = !dde;
  p.Topic = topic;
  p.ExePath = "/opt/" + topic;
  p.DBPath = "/srv/" + topic + ".db";
  p.PokeData = "@CID";
  p.PokeLocation = "Item " + topic;
  p.Commands = "cmd " + topic + "\r\nsecond";
  p.StartExe = start;
  return p;
}

QString Stored(const QString& profile, const char* value) {
  return platform::ReadSettingValue("DDESetup/" + profile, value);
}

QString StoredPosition() {
  return platform::ReadSettingValue("Settings", "CurrentDDESetting");
}

// The dialog's control `name`; the test fails when it has none of that kind.
template <class W>
W* Ctl(const TfDDESetup& dialog, const char* name) {
  W* w = dialog.findChild<W*>(QLatin1String(name));
  EXPECT_NE(w, nullptr) << name;
  return w;
}

QStringList Listed(const TfDDESetup& d) {
  QStringList names;
  for (int i = 0; i < Ctl<QComboBox>(d, "cbApplication")->count(); ++i) names << Ctl<QComboBox>(d, "cbApplication")->itemText(i);
  return names;
}

bool Shown(const QWidget* w) { return !w->isHidden(); }


// Answers the next file dialog that opens: with `path`, or cancels it when
// `path` is empty. Records what the dialog looked like.
class FileDialogAnswerer : public QObject {
 public:
  explicit FileDialogAnswerer(QString path) : path_(std::move(path)) {
    connect(&timer_, &QTimer::timeout, this, &FileDialogAnswerer::Poll);
    timer_.start(5);
  }
  QStringList filters;
  QWidget* owner = nullptr;
  bool seen = false;

 private:
  void Poll() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* dialog = qobject_cast<QFileDialog*>(w);
      if (!dialog || !dialog->isVisible()) continue;
      timer_.stop();
      seen = true;
      filters = dialog->nameFilters();
      owner = dialog->parentWidget();
      if (path_.isEmpty()) {
        dialog->reject();
      } else {
        dialog->selectFile(path_);
        QMetaObject::invokeMethod(dialog, "accept");
      }
      return;
    }
  }
  QString path_;
  QTimer timer_;
};

class SetupDialog : public testing::Test {
 protected:
  void StoreThree() {
    WriteProfile("Excel", Profile("Excel"));
    WriteProfile("access", Profile("access", false));
    WriteProfile("Word", Profile("Word", true, true));
  }
  std::unique_ptr<TfDDESetup> Create() {
    auto d = std::make_unique<TfDDESetup>();
    return d;
  }
  // Shows the dialog without entering its modal loop, so the test can type.
  std::unique_ptr<TfDDESetup> CreateShown() {
    auto d = Create();
    d->show();
    return d;
  }
  static void Type(TfDDESetup& d, const QString& text) { QTest::keyClicks(Ctl<QComboBox>(d, "cbApplication"), text); }
  static void LeaveBox(TfDDESetup& d) {
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(Ctl<QComboBox>(d, "cbApplication"), &leave);
  }

  // No profile shown, and closing stores no position and no profile.
  static void ExpectEmptyAndClose(TfDDESetup& d) {
    EXPECT_EQ(Ctl<QComboBox>(d, "cbApplication")->count(), 0);
    EXPECT_EQ(d.Profile(), TRemoteProfile{});
    Ctl<QPushButton>(d, "bClose")->click();
    EXPECT_EQ(StoredPosition(), "-1");
    EXPECT_TRUE(StoredProfileNames().isEmpty());
  }

  TempConfigHome home_;
};

TEST_F(SetupDialog, ControlsHaveTheirNamesCaptionsAndPlaces) {
  auto d = Create();
  EXPECT_EQ(d->objectName(), "fDDESetup");
  EXPECT_EQ(d->windowTitle(), "Remote Setup");
  EXPECT_FALSE(d->isVisible());
  EXPECT_EQ(d->size(), QSize(323, 269));
  EXPECT_EQ(d->minimumSize(), d->maximumSize());
  EXPECT_EQ(d->pos(), QPoint(323, 191));
  EXPECT_TRUE(d->windowFlags() & Qt::WindowContextHelpButtonHint);

  struct Control { const char* name; const char* parent; const char* caption; QRect geometry; };
  const Control controls[] = {
      {"cbApplication", "fDDESetup", "", {64, 0, 258, 21}},
      {"rbDDELink", "fDDESetup", "DDE Link", {64, 26, 97, 17}},
      {"rbVBSScript", "fDDESetup", "VBS Script", {184, 26, 97, 17}},
      {"pDDE", "fDDESetup", "", {0, 56, 321, 113}},
      {"tbTopic", "pDDE", "", {64, 0, 257, 21}},
      {"cbStartExe", "pDDE", "Start if not yet running", {64, 28, 201, 13}},
      {"tbEXEPath", "pDDE", "", {64, 48, 237, 21}},
      {"bSelectEXEPath", "pDDE", "...", {301, 48, 21, 21}},
      {"tbDBPath", "pDDE", "", {64, 72, 237, 21}},
      {"bSelectDBPath", "pDDE", "...", {301, 72, 21, 21}},
      {"tbPokeData", "pDDE", "", {64, 96, 101, 21}},
      {"tbPokeLocation", "pDDE", "", {220, 96, 101, 21}},
      {"pCommands", "fDDESetup", "", {0, 176, 321, 65}},
      {"tbCommands", "pCommands", "", {64, 0, 257, 65}},
      {"bClose", "fDDESetup", "Close && Select", {4, 248, 77, 21}},
      {"bDelete", "fDDESetup", "Delete", {120, 249, 40, 21}},
      {"bNew", "fDDESetup", "New", {163, 249, 42, 21}},
      {"bHelp", "fDDESetup", "Help", {252, 248, 69, 21}},
  };
  for (const Control& c : controls) {
    auto* w = d->findChild<QWidget*>(c.name);
    ASSERT_NE(w, nullptr) << c.name;
    EXPECT_EQ(w->geometry(), c.geometry) << c.name;
    EXPECT_EQ(w->parentWidget()->objectName(), c.parent) << c.name;
    if (auto* b = qobject_cast<QAbstractButton*>(w)) {
      EXPECT_EQ(b->text(), c.caption) << c.name;
    }
  }
  struct Label { const char* name; const char* parent; const char* caption; QPoint pos; };
  const Label labels[] = {
      {"Label1", "fDDESetup", "Application", {4, 4}}, {"Label6", "fDDESetup", "Type", {4, 28}},
      {"Label3", "pDDE", "Topic", {4, 4}},           {"lEXEPath", "pDDE", "EXE Path", {4, 52}},
      {"lDBPath", "pDDE", "DB Path", {4, 76}},       {"Label4", "pDDE", "Poke data", {4, 100}},
      {"Label5", "pDDE", "to location", {168, 100}}, {"Label2", "pCommands", "Command(s)", {4, 0}},
  };
  for (const Label& l : labels) {
    auto* w = d->findChild<QLabel*>(l.name);
    ASSERT_NE(w, nullptr) << l.name;
    EXPECT_EQ(w->text(), l.caption) << l.name;
    EXPECT_EQ(w->pos(), l.pos) << l.name;
    EXPECT_EQ(w->parentWidget()->objectName(), l.parent) << l.name;
  }
  EXPECT_EQ(Ctl<QPushButton>(*d, "bSelectEXEPath")->toolTip(), "Click for file selection");
  EXPECT_EQ(Ctl<QPushButton>(*d, "bSelectDBPath")->toolTip(), "Click for file selection");
  EXPECT_TRUE(Ctl<QComboBox>(*d, "cbApplication")->isEditable());
  EXPECT_EQ(Ctl<QPlainTextEdit>(*d, "tbCommands")->lineWrapMode(), QPlainTextEdit::NoWrap);
}

TEST_F(SetupDialog, EmptyStoreGivesEmptyDialog) { ExpectEmptyAndClose(*Create()); }

TEST_F(SetupDialog, StartLoadsTheStoredPosition) {
  StoreThree();
  platform::WriteSettingValue("Settings", "CurrentDDESetting", "2");
  auto d = Create();
  EXPECT_EQ(Listed(*d), (QStringList{"access", "Excel", "Word"}));
  EXPECT_EQ(d->Profile(), Profile("Word", true, true));
  EXPECT_TRUE(Shown(Ctl<QLineEdit>(*d, "tbEXEPath")) && Shown(Ctl<QLabel>(*d, "lDBPath")) && Shown(Ctl<QPushButton>(*d, "bSelectDBPath")));
  // Loading wrote nothing back.
  EXPECT_EQ(StoredPosition(), "2");
}

TEST_F(SetupDialog, LoadingWritesNothingBack) {
  // A profile with an unknown type and only some values stays as it is
  // when it is loaded at start and when it is typed.
  WriteProfileValue("Sparse", kTypeValue, "odd");
  WriteProfileValue("Sparse", kStartExeValue, "YES");
  WriteProfile("Full", Profile("Full"));
  auto d = CreateShown();
  ASSERT_EQ(d->Profile().Application, "Full");
  Ctl<QComboBox>(*d, "cbApplication")->setEditText("");
  Type(*d, "sparse");
  ASSERT_TRUE(d->Profile().StartExe);
  EXPECT_EQ(Stored("Sparse", "Type"), "odd");
  EXPECT_EQ(Stored("Sparse", "Topic"), "");
  QSettings file(home_.SettingsFile(), QSettings::IniFormat);
  file.beginGroup("DDESetup/Sparse");
  EXPECT_EQ(file.childKeys().size(), 2);
  EXPECT_EQ(ReadProfile("Full"), Profile("Full"));
}

TEST_F(SetupDialog, StoredPositionEdgeCases) {
  StoreThree();
  struct Case { const char* stored; const char* selected; };
  for (const Case& c : {Case{"", "access"}, Case{"0", "access"}, Case{"1", "Excel"},
                        Case{"3", ""}, Case{"-1", ""}, Case{"99999999999", ""},
                        Case{"junk", "access"}}) {
    platform::WriteSettingValue("Settings", "CurrentDDESetting", c.stored);
    auto d = Create();
    EXPECT_EQ(d->Profile().Application, c.selected) << c.stored;
    if (QString(c.selected).isEmpty()) {
      // Nothing selected: the fields come from the empty name, so are empty.
      EXPECT_EQ(d->Profile().Topic, "") << c.stored;
      EXPECT_EQ(d->Profile().PokeLocation, "") << c.stored;
      EXPECT_FALSE(Ctl<QRadioButton>(*d, "rbDDELink")->isChecked() || Ctl<QRadioButton>(*d, "rbVBSScript")->isChecked()) << c.stored;
    } else {
      EXPECT_EQ(d->Profile().Topic, c.selected) << c.stored;
    }
  }
}

TEST_F(SetupDialog, PositionNotNameIsRemembered) {
  StoreThree();
  platform::WriteSettingValue("Settings", "CurrentDDESetting", "1");
  auto first = Create();
  ASSERT_EQ(first->Profile().Application, "Excel");
  first->reject();  // the close box and Escape end the same way
  EXPECT_EQ(StoredPosition(), "1");
  // A profile added outside the dialog moves another one to that position.
  WriteProfile("Calc", Profile("Calc"));
  auto second = Create();
  EXPECT_EQ(second->Profile().Application, "Calc");
}

TEST_F(SetupDialog, EveryKeystrokeSavesTheWholeProfile) {
  StoreThree();
  auto d = CreateShown();
  ASSERT_EQ(d->Profile().Application, "access");
  QTest::keyClicks(Ctl<QLineEdit>(*d, "tbTopic"), "XY");
  EXPECT_EQ(Stored("access", "Topic"), "accessXY");
  // The type shown is stored with it, and the rest of the profile too.
  EXPECT_EQ(Stored("access", "Type"), "VBS");
  EXPECT_EQ(Stored("access", "StartExe"), "NO");
  QTest::keyClick(Ctl<QLineEdit>(*d, "tbTopic"), Qt::Key_Backspace);
  EXPECT_EQ(Stored("access", "Topic"), "accessX");

  Ctl<QPlainTextEdit>(*d, "tbCommands")->moveCursor(QTextCursor::End);
  QTest::keyClick(Ctl<QPlainTextEdit>(*d, "tbCommands"), Qt::Key_Return);
  QTest::keyClicks(Ctl<QPlainTextEdit>(*d, "tbCommands"), "third");
  EXPECT_EQ(Stored("access", "Commands"), "cmd access\r\nsecond\r\nthird");

  const std::pair<const char*, const char*> fields[] = {
      {"tbEXEPath", "ExePath"}, {"tbDBPath", "DBPath"}, {"tbPokeData", "PokeData"}, {"tbPokeLocation", "PokeLocation"}};
  for (const auto& [control, key] : fields) {
    Ctl<QLineEdit>(*d, control)->setText(QStringLiteral("new ") + control);
    EXPECT_EQ(Stored("access", key), QStringLiteral("new ") + control);
  }
  EXPECT_EQ(Stored("Excel", "Topic"), "Excel");  // other profiles untouched
}

TEST_F(SetupDialog, ChangingTheTypeAloneStoresNothing) {
  StoreThree();
  platform::WriteSettingValue("Settings", "CurrentDDESetting", "1");
  auto d = CreateShown();
  ASSERT_EQ(d->Profile().Application, "Excel");
  QTest::mouseClick(Ctl<QRadioButton>(*d, "rbVBSScript"), Qt::LeftButton);
  ASSERT_TRUE(Ctl<QRadioButton>(*d, "rbVBSScript")->isChecked());
  EXPECT_FALSE(d->Profile().DdeLink);  // calls use the new type at once
  Ctl<QPushButton>(*d, "bClose")->click();
  EXPECT_EQ(Stored("Excel", "Type"), "DDE");
  QTest::keyClicks(Ctl<QLineEdit>(*d, "tbPokeData"), "!");
  EXPECT_EQ(Stored("Excel", "Type"), "VBS");
}

TEST_F(SetupDialog, LayoutFollowsTheSelectedType) {
  StoreThree();
  auto d = Create();  // "access" is a script profile
  EXPECT_TRUE(Ctl<QWidget>(*d, "pDDE")->isHidden());
  EXPECT_EQ(Ctl<QWidget>(*d, "pCommands")->geometry(), QRect(0, 56, 321, 185));
  EXPECT_EQ(Ctl<QPlainTextEdit>(*d, "tbCommands")->geometry(), QRect(64, 0, 257, 185));
  Ctl<QRadioButton>(*d, "rbDDELink")->setChecked(true);
  EXPECT_FALSE(Ctl<QWidget>(*d, "pDDE")->isHidden());
  EXPECT_EQ(Ctl<QWidget>(*d, "pCommands")->geometry(), QRect(0, 176, 321, 65));
  EXPECT_EQ(Ctl<QPlainTextEdit>(*d, "tbCommands")->geometry(), QRect(64, 0, 257, 65));

  // A stored type that is neither leaves both buttons clear and the layout as it was.
  WriteProfileValue("Excel", kTypeValue, "dde");
  d->LoadProfile("Excel");
  EXPECT_FALSE(Ctl<QRadioButton>(*d, "rbDDELink")->isChecked() || Ctl<QRadioButton>(*d, "rbVBSScript")->isChecked());
  EXPECT_FALSE(Ctl<QWidget>(*d, "pDDE")->isHidden());
  Ctl<QRadioButton>(*d, "rbVBSScript")->setChecked(true);
  d->LoadProfile("Excel");
  EXPECT_FALSE(Ctl<QRadioButton>(*d, "rbDDELink")->isChecked() || Ctl<QRadioButton>(*d, "rbVBSScript")->isChecked());
  EXPECT_TRUE(Ctl<QWidget>(*d, "pDDE")->isHidden());
}

TEST_F(SetupDialog, StartCheckBoxShowsPathRowsAndSaves) {
  StoreThree();
  platform::WriteSettingValue("Settings", "CurrentDDESetting", "1");
  auto d = CreateShown();
  ASSERT_FALSE(d->Profile().StartExe);
  const QWidget* rows[] = {Ctl<QLabel>(*d, "lEXEPath"), Ctl<QLineEdit>(*d, "tbEXEPath"), Ctl<QPushButton>(*d, "bSelectEXEPath"),
                           Ctl<QLabel>(*d, "lDBPath"),  Ctl<QLineEdit>(*d, "tbDBPath"),  Ctl<QPushButton>(*d, "bSelectDBPath")};
  for (const QWidget* w : rows) EXPECT_FALSE(Shown(w)) << w->objectName().toStdString();
  QTest::mouseClick(Ctl<QCheckBox>(*d, "cbStartExe"), Qt::LeftButton);
  EXPECT_EQ(Stored("Excel", "StartExe"), "YES");
  for (const QWidget* w : rows) EXPECT_TRUE(Shown(w)) << w->objectName().toStdString();
  QTest::mouseClick(Ctl<QCheckBox>(*d, "cbStartExe"), Qt::LeftButton);
  EXPECT_EQ(Stored("Excel", "StartExe"), "NO");
  for (const QWidget* w : rows) EXPECT_FALSE(Shown(w)) << w->objectName().toStdString();
}

TEST_F(SetupDialog, TypingCompletesFromTheFirstMatchingEntry) {
  StoreThree();
  auto d = CreateShown();
  Ctl<QComboBox>(*d, "cbApplication")->setEditText("");
  Type(*d, "ex");
  QLineEdit* edit = Ctl<QComboBox>(*d, "cbApplication")->lineEdit();
  // The completion shows the listed name as it is spelled.
  EXPECT_EQ(edit->text(), "Excel");
  EXPECT_EQ(edit->selectedText(), "cel");
  EXPECT_EQ(d->Profile().Topic, "Excel");  // the completed name is loaded at once
  // Typing on replaces the completed part and keeps the typed part as typed;
  // no profile, so the fields clear.
  Type(*d, "t");
  EXPECT_EQ(edit->text(), "ext");
  EXPECT_EQ(d->Profile().Topic, "");
  EXPECT_EQ(d->Profile().Commands, "");
  EXPECT_EQ(d->Profile().PokeLocation, "Item Excel");  // poke fields keep their text
  // Deleting never completes again.
  QTest::keyClick(Ctl<QComboBox>(*d, "cbApplication"), Qt::Key_Backspace);
  EXPECT_EQ(edit->text(), "ex");
  EXPECT_EQ(d->Profile().Topic, "");
  Type(*d, "C");
  EXPECT_EQ(edit->text(), "Excel");
  EXPECT_EQ(edit->selectedText(), "el");
  EXPECT_EQ(d->Profile().Topic, "Excel");
}

TEST_F(SetupDialog, NameInOtherCaseUsesTheSameProfile) {
  StoreThree();
  auto d = CreateShown();
  Ctl<QComboBox>(*d, "cbApplication")->setEditText("");
  MessageBoxAnswerer answerer;
  Type(*d, "EXCEL");
  EXPECT_EQ(Ctl<QComboBox>(*d, "cbApplication")->currentText(), "EXCEL");
  // Calls go to the profile as stored: bus names are case-sensitive.
  EXPECT_EQ(d->Profile().Application, "Excel");
  EXPECT_EQ(d->Profile().Topic, "Excel");
  LeaveBox(*d);
  EXPECT_TRUE(answerer.seen().empty());  // a listed name asks nothing
  QTest::keyClicks(Ctl<QLineEdit>(*d, "tbTopic"), "2");
  EXPECT_EQ(Stored("Excel", "Topic"), "Excel2");
  EXPECT_EQ(StoredProfileNames().size(), 3);
  Ctl<QPushButton>(*d, "bClose")->click();
  EXPECT_EQ(StoredPosition(), "1");
}

TEST_F(SetupDialog, ChoosingFromTheListLoadsThatProfile) {
  StoreThree();
  auto d = CreateShown();
  ASSERT_EQ(d->Profile().Application, "access");
  QTest::keyClick(Ctl<QComboBox>(*d, "cbApplication"), Qt::Key_Down);
  EXPECT_EQ(d->Profile().Application, "Excel");
  EXPECT_EQ(d->Profile().Topic, "Excel");
  // The entry chosen counts even while other text was typed over it.
  Ctl<QComboBox>(*d, "cbApplication")->setEditText("something typed");
  d->ClearProfileFields();
  emit Ctl<QComboBox>(*d, "cbApplication")->activated(1);
  EXPECT_EQ(d->Profile().Application, "Excel");
  EXPECT_EQ(d->Profile().Topic, "Excel");
}

TEST_F(SetupDialog, NewNameConfirmedIsStoredByTheFirstDetailChange) {
  StoreThree();
  auto d = CreateShown();
  d->bNewClick();
  EXPECT_EQ(d->Profile().Application, "");
  MessageBoxAnswerer answerer({"&Yes"});
  Type(*d, "Zebra");
  LeaveBox(*d);
  ASSERT_EQ(answerer.seen().size(), 1u);
  EXPECT_EQ(answerer.seen()[0].caption, "Confirm");
  EXPECT_EQ(answerer.seen()[0].text, "Create new settings for [Zebra]");
  EXPECT_EQ(answerer.seen()[0].icon, QMessageBox::Question);
  EXPECT_EQ(Listed(*d), (QStringList{"access", "Excel", "Word", "Zebra"}));
  EXPECT_EQ(d->Profile().Application, "Zebra");
  EXPECT_FALSE(StoredProfileNames().contains("Zebra"));  // nothing written yet
  QTest::keyClicks(Ctl<QPlainTextEdit>(*d, "tbCommands"), "go");
  EXPECT_EQ(Stored("Zebra", "Commands"), "go");
  EXPECT_EQ(Stored("Zebra", "StartExe"), "NO");
  Ctl<QPushButton>(*d, "bClose")->click();
  EXPECT_EQ(StoredPosition(), "3");
  auto restarted = Create();
  EXPECT_EQ(restarted->Profile().Application, "Zebra");
  EXPECT_EQ(restarted->Profile().Commands, "go");
}

TEST_F(SetupDialog, NewNameWithoutDetailChangeIsForgotten) {
  StoreThree();
  {
    auto d = CreateShown();
    MessageBoxAnswerer answerer({"&Yes"});
    d->bNewClick();
    Type(*d, "Ghost");
    LeaveBox(*d);
    ASSERT_EQ(Listed(*d).size(), 4);
    Ctl<QRadioButton>(*d, "rbDDELink")->setChecked(true);  // a type change is no detail change
    Ctl<QPushButton>(*d, "bClose")->click();
  }
  EXPECT_EQ(StoredProfileNames().size(), 3);
  EXPECT_FALSE(Listed(*Create()).contains("Ghost"));
}

TEST_F(SetupDialog, RefusedOrEmptyNameGoesBackToTheFirstProfile) {
  StoreThree();
  struct Case { const char* typed; std::size_t questions; };
  for (const Case& c : {Case{"Nope", 1}, Case{"", 0}}) {
    platform::WriteSettingValue("Settings", "CurrentDDESetting", "2");
    auto d = CreateShown();
    MessageBoxAnswerer answerer({"&No"});
    d->bNewClick();
    Type(*d, c.typed);
    LeaveBox(*d);
    EXPECT_EQ(answerer.seen().size(), c.questions) << c.typed;
    EXPECT_EQ(d->Profile(), Profile("access", false)) << c.typed;
    EXPECT_EQ(Listed(*d).size(), 3) << c.typed;
  }
}

TEST_F(SetupDialog, NameWithKeySeparatorIsRefused) {
  StoreThree();
  auto d = CreateShown();
  for (const QString& bad : {QString("Excel/Sub"), QString("..\\Settings")}) {
    MessageBoxAnswerer answerer;
    d->bNewClick();
    Type(*d, bad);
    LeaveBox(*d);
    ASSERT_EQ(answerer.seen().size(), 1u);
    EXPECT_EQ(answerer.seen()[0].caption, "Error");
    EXPECT_TRUE(answerer.seen()[0].text.contains("[" + bad + "]"));
    EXPECT_EQ(d->Profile().Application, "access");
    QTest::keyClicks(Ctl<QLineEdit>(*d, "tbTopic"), "!");
  }
  EXPECT_EQ(Listed(*d), (QStringList{"access", "Excel", "Word"}));
  EXPECT_EQ(StoredProfileNames().size(), 3);
  EXPECT_EQ(Stored("Excel", "Topic"), "Excel");
  EXPECT_TRUE(platform::SettingSubkeys("DDESetup/Excel").isEmpty());
}

TEST_F(SetupDialog, FieldsTypedBeforeANewNameAreCleared) {
  StoreThree();
  auto d = CreateShown();
  d->bNewClick();
  Ctl<QLineEdit>(*d, "tbTopic")->setText("typed topic");
  Ctl<QLineEdit>(*d, "tbEXEPath")->setText("typed exe");
  Ctl<QLineEdit>(*d, "tbDBPath")->setText("typed db");
  Ctl<QPlainTextEdit>(*d, "tbCommands")->setPlainText("typed");
  Ctl<QLineEdit>(*d, "tbPokeData")->setText("poke kept");
  Ctl<QLineEdit>(*d, "tbPokeLocation")->setText("location kept");
  Ctl<QRadioButton>(*d, "rbVBSScript")->setChecked(true);
  Type(*d, "Q");
  EXPECT_EQ(d->Profile().Topic + d->Profile().ExePath + d->Profile().DBPath + d->Profile().Commands, "");
  EXPECT_EQ(d->Profile().PokeData, "poke kept");
  EXPECT_EQ(d->Profile().PokeLocation, "location kept");
  EXPECT_TRUE(Ctl<QRadioButton>(*d, "rbVBSScript")->isChecked());  // only DDE Link is cleared
  EXPECT_TRUE(Ctl<QWidget>(*d, "pDDE")->isHidden());
  EXPECT_EQ(StoredProfileNames().size(), 3);
}

TEST_F(SetupDialog, DeleteAsksThenRemovesTheKeyAndEverythingBelow) {
  StoreThree();
  platform::WriteSettingValue("DDESetup/Excel/Extra", "X", "1");
  platform::WriteSettingValue("Settings", "CurrentDDESetting", "1");
  auto d = CreateShown();
  {
    MessageBoxAnswerer answerer({"&No"});
    Ctl<QPushButton>(*d, "bDelete")->click();
    ASSERT_EQ(answerer.seen().size(), 1u);
    EXPECT_EQ(answerer.seen()[0].text, "Delete settings for [Excel]");
    EXPECT_EQ(answerer.seen()[0].buttons, (QStringList{"&Yes", "&No"}));
    EXPECT_EQ(StoredProfileNames().size(), 3);
  }
  MessageBoxAnswerer answerer({"&Yes"});
  Ctl<QPushButton>(*d, "bDelete")->click();
  EXPECT_EQ(Listed(*d), (QStringList{"access", "Word"}));
  EXPECT_FALSE(StoredProfileNames().contains("Excel"));
  EXPECT_EQ(platform::ReadSettingValue("DDESetup/Excel/Extra", "X"), "");
  EXPECT_EQ(d->Profile().Application, "access");
  EXPECT_EQ(d->Profile().Topic, "access");
  EXPECT_EQ(Stored("Word", "Topic"), "Word");
}

TEST_F(SetupDialog, DeleteOfAnUnlistedNameDoesNothing) {
  StoreThree();
  auto d = CreateShown();
  MessageBoxAnswerer answerer;
  Ctl<QComboBox>(*d, "cbApplication")->setEditText("Unknown");
  d->bDeleteClick();
  Ctl<QComboBox>(*d, "cbApplication")->setEditText("");
  d->bDeleteClick();
  EXPECT_TRUE(answerer.seen().empty());
  EXPECT_EQ(StoredProfileNames().size(), 3);
}

TEST_F(SetupDialog, DeletingTheLastProfileLeavesAnEmptyDialog) {
  WriteProfile("Only", Profile("Only", true, true));
  auto d = CreateShown();
  MessageBoxAnswerer answerer({"&Yes"});
  d->bDeleteClick();
  ExpectEmptyAndClose(*d);
}

TEST_F(SetupDialog, CommandsAsTheActionReadsThem) {
  auto d = Create();
  struct Case { const char* memo; const char* text; };
  for (const Case& c : {Case{"", ""}, Case{"a", "a"}, Case{"a\n", "a\r\n"},
                        Case{"a\n\n", "a\r\n\r\n"}, Case{" a \n; b", " a \r\n; b"}}) {
    Ctl<QPlainTextEdit>(*d, "tbCommands")->setPlainText(c.memo);
    EXPECT_EQ(d->Profile().Commands, c.text) << c.memo;
  }
  // Stored lone CR and LF line ends show as lines too.
  WriteProfileValue("Mixed", kCommandsValue, "a\rb\nc\r\nd");
  d->LoadProfile("Mixed");
  EXPECT_EQ(Ctl<QPlainTextEdit>(*d, "tbCommands")->blockCount(), 4);
  EXPECT_EQ(d->Profile().Commands, "a\r\nb\r\nc\r\nd");
}

TEST_F(SetupDialog, FileSelectionReplacesTheTextOrKeepsItWhenCancelled) {
  StoreThree();
  QWidget owner;
  TfDDESetup d(&owner);
  d.show();
  QTemporaryDir dir;
  const QString file = dir.path() + "/target.exe";
  ASSERT_TRUE(WriteFile(file));
  {
    FileDialogAnswerer cancel{QString()};
    Ctl<QPushButton>(d, "bSelectEXEPath")->click();
    ASSERT_TRUE(cancel.seen);
    EXPECT_EQ(cancel.owner, &owner);
    EXPECT_EQ(cancel.filters, (QStringList{"Applications (*.exe)", "All files (*)"}));
    EXPECT_EQ(d.Profile().ExePath, "/opt/access");
  }
  {
    FileDialogAnswerer choose(file);
    Ctl<QPushButton>(d, "bSelectEXEPath")->click();
    ASSERT_TRUE(choose.seen);
    EXPECT_EQ(d.Profile().ExePath, file);
    EXPECT_EQ(Stored("access", "ExePath"), file);
  }
  {
    FileDialogAnswerer choose(file);
    Ctl<QPushButton>(d, "bSelectDBPath")->click();
    ASSERT_TRUE(choose.seen);
    EXPECT_EQ(choose.filters, QStringList{"All files (*)"});
    EXPECT_EQ(Stored("access", "DBPath"), file);
  }
}

TEST_F(SetupDialog, ShowingAndHelpAreSignalled) {
  auto d = Create();
  QSignalSpy shown(d.get(), &TfDDESetup::Shown);
  QSignalSpy help(d.get(), &TfDDESetup::HelpRequested);
  d->show();
  EXPECT_EQ(shown.count(), 1);
  Ctl<QPushButton>(*d, "bHelp")->click();
  EXPECT_EQ(help.count(), 1);
  QTest::keyClick(Ctl<QLineEdit>(*d, "tbTopic"), Qt::Key_F1);
  EXPECT_EQ(help.count(), 2);
  // The caption's help button opens the help instead of the pointer mode.
  d->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(d.get(), 10000));
  QWhatsThis::enterWhatsThisMode();
  EXPECT_EQ(help.count(), 3);
  EXPECT_FALSE(QWhatsThis::inWhatsThisMode());
  d->hide();
  d->show();
  EXPECT_EQ(shown.count(), 2);
}

TEST_F(SetupDialog, ModalRunEndsByCloseAndKeepsTheFields) {
  StoreThree();
  auto d = Create();
  QTimer::singleShot(0, d.get(), [&] {
    Ctl<QLineEdit>(*d, "tbTopic")->setText("during");
    Ctl<QPushButton>(*d, "bClose")->click();
  });
  EXPECT_EQ(d->exec(), QDialog::Accepted);
  EXPECT_FALSE(d->isVisible());
  EXPECT_EQ(d->Profile().Topic, "during");
  EXPECT_EQ(StoredPosition(), "0");
}

TEST_F(SetupDialog, MovingFocusOutOfTheBoxAsksForANewName) {
  StoreThree();
  auto d = CreateShown();
  d->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(d.get(), 10000));
  Ctl<QComboBox>(*d, "cbApplication")->setFocus(Qt::OtherFocusReason);
  d->bNewClick();
  Type(*d, "Fresh");
  MessageBoxAnswerer answerer({"&Yes"});
  Ctl<QLineEdit>(*d, "tbTopic")->setFocus(Qt::TabFocusReason);
  ASSERT_EQ(answerer.seen().size(), 1u);
  EXPECT_EQ(answerer.seen()[0].text, "Create new settings for [Fresh]");
  EXPECT_TRUE(Listed(*d).contains("Fresh"));
}

}  // namespace
