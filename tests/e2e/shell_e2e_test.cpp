// The program as a user runs it: start, the single running copy, the stored
// mode and line, the ways out and what they store.
#include <QDir>
#include <QProcess>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include "program_fixture.h"

namespace {

constexpr char kMainWindow[] = "^Calling\\.\\.\\.$";
// The session's end is due within a second; this bound only tells an end
// from none on a loaded machine.
constexpr int kSessionEndBoundMs = 15000;

class ShellE2E : public ProgramE2E {
 protected:
  QString AddModem(const QString& name, const QStringList& options = {}) {
    modems_.push_back(std::make_unique<FakeModem>(program_.Path(name), options));
    EXPECT_TRUE(modems_.back()->Started());
    return modems_.back()->LinkPath();
  }

  // Presses `keys` on `window`, then `repeat` until a window titled
  // `title` is shown (a menu takes the keyboard only once it is up, so a
  // key typed before that is lost); returns that window.
  QString OpenByKeys(const QString& window, const QStringList& keys, const QString& repeat,
                     const QString& title) {
    if (!desktop_.PressKeys(window, keys)) return QString();
    QString shown = desktop_.WaitForWindow(title, true, 2000);
    for (int attempt = 0; attempt < 30 && shown.isEmpty() && !repeat.isEmpty(); ++attempt) {
      desktop_.XDoTool({"key", repeat});
      shown = desktop_.WaitForWindow(title, true, 2000);
    }
    return shown;
  }

  // Presses the "Exit" entry's access key in the open menu until the program
  // has ended (the menu takes the keyboard once it is up).
  void ExitByMenuKey() {
    for (int attempt = 0; attempt < 30 && program_.WaitForExit(0, 2000) == -1; ++attempt)
      ASSERT_TRUE(desktop_.XDoTool({"key", "e"}));
    EXPECT_EQ(program_.WaitForExit(), 0);
  }

  std::vector<std::unique_ptr<FakeModem>> modems_;
};

}  // namespace

TEST_F(ShellE2E, WithoutAnAnsweringModemItSaysSoAndEnds) {
  program_.Store("ExtraLines", AddModem("silent", {"--silent"}));
  const QByteArray before = program_.SettingsBytes();
  program_.Start(desktop_);

  const QString box = desktop_.WaitForWindow("^Error$");
  ASSERT_FALSE(box.isEmpty());
  EXPECT_FALSE(desktop_.WindowShown(kMainWindow));
  // The box's text is checked by the widget tests; X shows only its title.
  ASSERT_TRUE(desktop_.PressKeys(box, {"Return"}));
  EXPECT_EQ(program_.WaitForExit(), 0);
  EXPECT_EQ(program_.SettingsBytes(), before);
}

TEST_F(ShellE2E, ASecondCopyIsRefusedAndTheFirstRunsOnAndOpensOnATrayClick) {
  program_.Store("ExtraLines", AddModem("modem"));
  ASSERT_TRUE(program_.StartInTray(desktop_));
  EXPECT_FALSE(desktop_.WindowShown(kMainWindow));  // hidden in the tray

  const int second = program_.Start(desktop_);
  const QString box = desktop_.WaitForWindow("^Quorvel$");
  ASSERT_FALSE(box.isEmpty());
  ASSERT_TRUE(desktop_.PressKeys(box, {"Return"}));
  EXPECT_EQ(program_.WaitForExit(second), 0);

  EXPECT_EQ(program_.Process(0).state(), QProcess::Running);
  desktop_.ClickTrayIcon("activate");
  EXPECT_FALSE(desktop_.WaitForWindow(kMainWindow).isEmpty());
}

TEST_F(ShellE2E, StoredModeAndLineAreUsedAndFileExitStoresThem) {
  const QString a = AddModem("modemA");
  const QString b = AddModem("modemB");
  program_.Store("ExtraLines", a + ";" + b);
  program_.Store("Mode", "0");
  program_.Store("Modem", b);
  program_.Start(desktop_);  // no tray: the window shows minimised

  const QString window = desktop_.WaitForWindow(kMainWindow);
  ASSERT_FALSE(window.isEmpty());
  EXPECT_FALSE(modems_[1]->WaitForOutput("got AT+VCID=1").isEmpty());  // line B is watched

  // Read at start only: what is in the file now is overwritten at exit.
  program_.Store("Mode", "x");
  program_.Store("Modem", "y");
  ASSERT_TRUE(desktop_.PressKeys(window, {"alt+f"}));
  ExitByMenuKey();
  EXPECT_EQ(program_.Stored("Mode"), "0");
  EXPECT_EQ(program_.Stored("Modem"), b);
}

TEST_F(ShellE2E, TrayMenuOpensTheWindowAndExits) {
  const QString a = AddModem("modem");
  program_.Store("ExtraLines", a);
  ASSERT_TRUE(program_.StartInTray(desktop_));

  desktop_.ClickTrayIcon("context");
  ASSERT_FALSE(desktop_.WaitForWindow("", true).isEmpty());  // the menu, nothing else
  EXPECT_FALSE(desktop_.WindowShown(kMainWindow));
  // The menu takes the keyboard once it is up; a key typed before that is
  // lost, so the access key is repeated until it has acted.
  bool opened = false;
  for (int attempt = 0; attempt < 30 && !opened; ++attempt) {
    ASSERT_TRUE(desktop_.XDoTool({"key", "o"}));
    opened = !desktop_.WaitForWindow(kMainWindow, true, 2000).isEmpty();
  }
  ASSERT_TRUE(opened);

  desktop_.ClickTrayIcon("context");
  ExitByMenuKey();
  EXPECT_TRUE(desktop_.WaitForTrayIconGone());
  EXPECT_EQ(program_.Stored("Mode"), "1");
  EXPECT_EQ(program_.Stored("Modem"), a);
}

TEST_F(ShellE2E, SigkillChangesNothingAndTheNextStartWorks) {
  const QString a = AddModem("modem");
  program_.Store("ExtraLines", a);
  program_.Store("Mode", "0");
  ASSERT_TRUE(program_.StartInTray(desktop_));
  const QByteArray before = program_.SettingsBytes();

  program_.Signal(SIGKILL);
  EXPECT_EQ(program_.WaitForExit(), -1);
  EXPECT_EQ(program_.SettingsBytes(), before);

  // The dead copy's lock does not block the next start.
  const int next = program_.Start(desktop_);
  ASSERT_GT(desktop_.WaitForTrayIcon(), 0);
  program_.Signal(SIGTERM, next);
  EXPECT_EQ(program_.WaitForExit(next), 0);
}

TEST_F(ShellE2E, StartupErrorWaitsWhileCallsAreShownAndTheSessionEndsIt) {
  const QString a = AddModem("modem");
  program_.Store("ExtraLines", a);
  program_.Store("Mode", "0");
  ASSERT_TRUE(QDir().mkpath(program_.Path("app/Callers.DB")));  // a folder where the file belongs
  ASSERT_TRUE(desktop_.StartTray());
  program_.Start(desktop_);

  // The report waits for the user; the start goes on and calls are shown.
  ASSERT_FALSE(desktop_.WaitForWindow("^Quorvel$").isEmpty());
  ASSERT_GT(desktop_.WaitForTrayIcon(), 0);
  EXPECT_FALSE(desktop_.WindowShown(kMainWindow));
  modems_[0]->Command("call 5550123 Ann");
  ASSERT_FALSE(desktop_.WaitForWindow(kMainWindow).isEmpty());
  EXPECT_TRUE(desktop_.WindowShown("^Quorvel$"));

  program_.Signal(SIGTERM);
  EXPECT_EQ(program_.WaitForExit(0, kSessionEndBoundMs), 0);
  EXPECT_EQ(program_.Stored("Mode"), "0");
  EXPECT_EQ(program_.Stored("Modem"), a);
}

namespace {

class SignalE2E : public ShellE2E, public ::testing::WithParamInterface<int> {};

struct OpenDialogs {
  const char* name;
  const char* mode;
  int signal;
};

void PrintTo(const OpenDialogs& open, std::ostream* out) { *out << open.name; }

class SessionEndE2E : public ShellE2E, public ::testing::WithParamInterface<OpenDialogs> {};

}  // namespace

// Read at start only: what is in the file meanwhile is overwritten.
TEST_P(SignalE2E, StoresLikeExit) {
  const QString a = AddModem("modem");
  program_.Store("ExtraLines", a);
  program_.Store("Mode", "0");
  ASSERT_TRUE(program_.StartInTray(desktop_));
  program_.Store("Mode", "x");

  program_.Signal(GetParam());
  EXPECT_EQ(program_.WaitForExit(), 0);
  EXPECT_TRUE(desktop_.WaitForTrayIconGone());
  EXPECT_EQ(program_.Stored("Mode"), "0");
  EXPECT_EQ(program_.Stored("Modem"), a);
}

INSTANTIATE_TEST_SUITE_P(Signals, SignalE2E, ::testing::Values(SIGTERM, SIGHUP),
                         [](const auto& info) { return info.param == SIGTERM ? "Sigterm" : "Sighup"; });

TEST_P(SessionEndE2E, EndsTheProgramWhateverIsOpen) {
  const QString a = AddModem("modem");
  program_.Store("ExtraLines", a);
  program_.Store("Mode", GetParam().mode);
  // A profile that shows the file selection rows.
  program_.Store("Type", "DDE", "DDESetup/org.example.Target");
  program_.Store("StartExe", "YES", "DDESetup/org.example.Target");
  program_.Store("CurrentDDESetting", "0");
  program_.Start(desktop_);  // no tray: the window shows minimised
  const QString window = desktop_.WaitForWindow(kMainWindow);
  ASSERT_FALSE(window.isEmpty());

  if (GetParam().name == std::string("RemoteSetupAndFileDialog")) {
    const QString setup = OpenByKeys(window, {"alt+s"}, "alt+s", "^Remote Setup$");
    ASSERT_FALSE(setup.isEmpty());
    // The "..." button of the EXE Path row.
    ASSERT_TRUE(desktop_.XDoTool({"mousemove", "--window", setup, "311", "114", "click", "1"}));
    ASSERT_FALSE(desktop_.WaitForWindow("^Open$").isEmpty());
  } else {
    ASSERT_FALSE(OpenByKeys(window, {"alt+r"}, "d", "^Confirm$").isEmpty());
  }

  program_.Signal(GetParam().signal);
  EXPECT_EQ(program_.WaitForExit(0, kSessionEndBoundMs), 0);
  EXPECT_EQ(program_.Stored("Mode"), GetParam().mode);
  EXPECT_EQ(program_.Stored("Modem"), a);
}

INSTANTIATE_TEST_SUITE_P(Dialogs, SessionEndE2E,
                         ::testing::Values(OpenDialogs{"RemoteSetupAndFileDialog", "1", SIGHUP},
                                           OpenDialogs{"DeleteQuestion", "0", SIGTERM}),
                         [](const auto& info) { return std::string(info.param.name); });
