// Passive mode as a user sets it up: a call on the modem is forwarded by the
// chosen profile, to a script or to a program on the session bus.
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

#include "e2e_waits.h"
#include "program_fixture.h"
#include "read_back.h"

namespace {

constexpr char kPassiveMode[] = "1";

class RemoteE2E : public ModemLineE2E {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(ModemLineE2E::SetUp());
    program_.Store("Mode", kPassiveMode);
  }

  // Stores `values` as the only profile and makes it the chosen one.
  void StoreProfile(const QString& name, const std::vector<std::pair<QString, QString>>& values) {
    for (const auto& [value, text] : values) program_.Store(value, text, "DDESetup/" + name);
    program_.Store("CurrentDDESetting", "0");
  }

  // Starts the program in the tray and places a call once it is up. What
  // the program writes to standard error goes to its ErrorOutputFile().
  void StartAndCall(const QString& call) {
    program_.CaptureErrorOutput();
    ASSERT_TRUE(program_.StartInTray(desktop_));
    CallWhenWatched(call);
  }

  bool WaitForErrorText(const QString& text) const {
    return PollUntil([&] { return ReadText(program_.ErrorOutputFile()).contains(text); });
  }
};

TEST_F(RemoteE2E, ScriptProfileWritesTheCallersNumberAndNameToAFileAndReportsItsEnd) {
  // The caller's name is an attempt to run a command in the script.
  StoreProfile("Logger", {{"Type", "VBS"},
                          {"Commands",
                           "cd \"$(dirname \"$0\")\"\r\n"
                           "printf '%s|%s|%s|%s\\n' \"$QUORVEL_CID\" \"$QUORVEL_CIN\" '@CID' \"@CIN"
                           "\" > call.tmp && mv call.tmp call.txt\r\n"
                           "echo \"no printer for @CIN\" >&2; exit 3\r\n"}});
  StartAndCall("call 5551234567 x\"; touch pwned; \"");

  const QString output = program_.AppDirectory() + "call.txt";
  ASSERT_TRUE(WaitForFile(output));
  const QString name = "x\"; touch pwned; \"";
  EXPECT_EQ(ReadText(output), "555-123-4567|" + name + "|555-123-4567|" + name + "\n");
  EXPECT_FALSE(QFile::exists(program_.AppDirectory() + "pwned"));
  EXPECT_TRUE(QFile::exists(program_.AppDirectory() + "~script.sh"));
  // The script's failure is in the program's standard error (the journal).
  const QString reported = "quorvel: forwarding: #1 555-123-4567 \"" + name +
                           "\": script ended with exit status 3: no printer for " + name + "\n";
  EXPECT_TRUE(WaitForErrorText(reported)) << ReadText(program_.ErrorOutputFile()).toStdString();
}

TEST_F(RemoteE2E, DdeProfilePokesAndExecutesInTheTargetProgram) {
  const QString busName = QStringLiteral("org.varnock.QuorvelE2E.Target");
  QProcess receiver;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  desktop_.AddTo(env);
  receiver.setProcessEnvironment(env);
  receiver.start(QStringLiteral(QUORVEL_E2E_BIN_DIR) + "/dde-receiver", {busName});
  QString output;
  auto waitFor = [&](const QString& text) {
    for (int waited = 0; !output.contains(text); waited += 100) {
      if (waited > kE2EWaitMs) return false;
      receiver.waitForReadyRead(100);
      output += QString::fromUtf8(receiver.readAllStandardOutput());
    }
    return true;
  };
  ASSERT_TRUE(waitFor("ready " + busName));

  StoreProfile(busName, {{"Type", "DDE"},
                         {"Topic", "Calls"},
                         {"PokeData", "@CID"},
                         {"PokeLocation", "Number"},
                         {"Commands", "show @CIN\r\n; not sent @CID\r\nend"}});
  StartAndCall("call 5551234567 Ann Smith");

  ASSERT_TRUE(waitFor("Execute \"Calls\" \"end\""));
  const QStringList lines = output.split('\n', Qt::SkipEmptyParts).mid(1);
  ASSERT_EQ(lines.size(), 3);
  EXPECT_TRUE(lines[0].endsWith("Poke \"Calls\" \"Number\" \"555-123-4567\""));
  EXPECT_TRUE(lines[1].endsWith("Execute \"Calls\" \"show Ann Smith\""));
  EXPECT_TRUE(lines[2].endsWith("Execute \"Calls\" \"end\""));
  const QString reported = "quorvel: forwarding: #1 555-123-4567 \"Ann Smith\": sent 3 messages to " +
                           busName + " on the session bus\n";
  EXPECT_TRUE(WaitForErrorText(reported)) << ReadText(program_.ErrorOutputFile()).toStdString();
  receiver.kill();
  receiver.waitForFinished(kE2EWaitMs);
}

}  // namespace
