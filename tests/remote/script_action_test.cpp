#include <QDir>
#include <QFile>
#include <QMessageBox>

#include "action_fixture.h"
#include "platform/script_host.h"

namespace {

using Kind = TForwardingOutcome::Kind;

class ScriptAction : public ActionFixture {
 protected:
  QString Script() const { return ReadFileText(action_.ScriptFilePath()); }

  // Waits for a file the script writes (it writes and renames, so the file
  // is complete once it exists).
  QString WaitForOutput(const QString& name) {
    const QString path = InFolder(name);
    EXPECT_TRUE(WaitUntil([&] { return QFile::exists(path); })) << name.toStdString();
    return ReadFileText(path);
  }

  // Shell lines that write `what` to the file `name` beside the script.
  static QStringList WriteOut(const QString& what, const QString& name) {
    return {QStringLiteral("cd \"$(dirname \"$0\")\""),
            QStringLiteral("printf '%s\\n' %1 > %2.tmp && mv %2.tmp %2").arg(what, name)};
  }
};

TEST_F(ScriptAction, WritesTheExpandedScriptAndRunsIt) {
  profile_.DdeLink = false;
  SetCommands(WriteOut(QStringLiteral("\"$1\" '@CID' @CIN"), QStringLiteral("out")));
  Run();

  EXPECT_EQ(WaitForOutput("out"), "\n555-123-4567\nJane Doe\n");
  EXPECT_EQ(Script(), "cd \"$(dirname \"$0\")\"\n"
                      "printf '%s\\n' \"$1\" ''\"${QUORVEL_CID}\"'' \"${QUORVEL_CIN}\" > out.tmp && "
                      "mv out.tmp out\n");
  EXPECT_TRUE(waits_.empty());  // the file is there at the first look
  EXPECT_TRUE(boxes_.seen().empty());
  const TForwardingOutcome& end = WaitForOutcome(0);
  EXPECT_EQ(end.What, Kind::ScriptEnded);
  EXPECT_EQ(end.Status, 0);
  EXPECT_FALSE(end.Failed());
  EXPECT_EQ(end.CallerID, "555-123-4567");
}

TEST_F(ScriptAction, TheScriptSeesTheCallInItsEnvironment) {
  SetCommands(WriteOut(
      QStringLiteral("\"$QUORVEL_CID\" \"$QUORVEL_CIN\" \"$QUORVEL_PORT\" \"$QUORVEL_DATE\" \"$QUORVEL_TIME\""),
      QStringLiteral("env")));
  action_.SetClock([] { return std::chrono::system_clock::from_time_t(0); });
  RunScript();
  const QStringList values = WaitForOutput("env").split(QLatin1Char('\n'));
  ASSERT_EQ(values.size(), 6);
  EXPECT_EQ(values.mid(0, 3), (QStringList{"555-123-4567", "Jane Doe", "ttyS0 modem"}));
  const std::locale user = TPlaceholderSources::UserTimeLocale();
  const auto epoch = std::chrono::system_clock::from_time_t(0);
  EXPECT_EQ(values[3].toStdString(), FormatShortDate(epoch, user));
  EXPECT_EQ(values[4].toStdString(), FormatLongTime(epoch, user));
  WaitForOutcome(0);
}

TEST_F(ScriptAction, AHostileCallerNameRunsNothingAndAddsNoLine) {
  SetCommands(WriteOut(QStringLiteral("\"Call from @CIN\""), QStringLiteral("name")) +
              QStringList{QStringLiteral("# caller: @CIN")});
  name_ = "x\"; touch pwned; \"\r\ntouch pwned2 `touch pwned3` $(touch pwned4)";
  RunScript();
  EXPECT_EQ(WaitForOutput("name"),
            "Call from x\"; touch pwned; \"touch pwned2 `touch pwned3` $(touch pwned4)\n");
  EXPECT_EQ(WaitForOutcome(0).Status, 0);
  EXPECT_EQ(QDir(folder_.path()).entryList({"pwned*"}), QStringList{});
  EXPECT_EQ(Script().count(QLatin1Char('\n')), 3);
}

TEST_F(ScriptAction, AFailingScriptReportsItsExitStatusAndLastErrorLine) {
  SetCommands({QStringLiteral("echo 'first problem' >&2"), QStringLiteral("no-such-command-@CID"),
               QStringLiteral("exit 3")});
  RunScript();
  const TForwardingOutcome& end = WaitForOutcome(0);
  EXPECT_EQ(end.What, Kind::ScriptEnded);
  EXPECT_EQ(end.Status, 3);
  EXPECT_TRUE(end.Failed());
  EXPECT_EQ(end.Detail, action_.ScriptFilePath().toStdString() +
                            ": 2: no-such-command-555-123-4567: not found");
  EXPECT_EQ(outcomes_.size(), 1u);
}

TEST_F(ScriptAction, OuterBlankLinesGoOnlyWhenThereIsAPlaceholder) {
  SetCommands({"", "  echo plain  ", ""});
  RunScript();
  EXPECT_EQ(Script(), "\n  echo plain  \n\n");
  WaitForOutcome(0);

  SetCommands({"", "  echo @CID  ", ""});
  RunScript();
  EXPECT_EQ(Script(), "echo \"${QUORVEL_CID}\"\n");
  WaitForOutcome(1);
}

TEST_F(ScriptAction, EmptyCommandsWriteAnEmptyScriptThatStillRuns) {
  RunScript();
  EXPECT_TRUE(QFile::exists(action_.ScriptFilePath()));
  EXPECT_EQ(QFile(action_.ScriptFilePath()).size(), 0);
  EXPECT_TRUE(boxes_.seen().empty());
  EXPECT_EQ(WaitForOutcome(0).What, Kind::ScriptEnded);
}

TEST_F(ScriptAction, MissingScriptHostIsReported) {
  TScopedEnv path("PATH", InFolder("nothing-here").toUtf8());
  SetCommands({QStringLiteral("echo @CID")});
  RunScript();
  ASSERT_EQ(boxes_.seen().size(), 1u);
  EXPECT_EQ(boxes_.seen()[0].caption, "Error");
  EXPECT_EQ(boxes_.seen()[0].text, "Can not start sh");
  EXPECT_EQ(boxes_.seen()[0].icon, QMessageBox::NoIcon);
  EXPECT_EQ(Script(), "echo \"${QUORVEL_CID}\"\n");  // written before the start
  ASSERT_EQ(outcomes_.size(), 1u);
  EXPECT_EQ(outcomes_[0].What, Kind::ScriptNotStarted);
  EXPECT_EQ(outcomes_[0].Detail, "sh: No such file or directory");
}

TEST_F(ScriptAction, ScriptFileThatCannotBeWrittenIsReportedAndTheActionReturns) {
  ASSERT_TRUE(WriteFile(InFolder("plain")));
  TRemoteAction action(conversation_, InFolder("plain") + "/");
  Record(action);
  SetCommands({QStringLiteral("echo hello")});

  action.RunRemoteAction(profile_, Call());

  ASSERT_EQ(boxes_.seen().size(), 1u);
  EXPECT_EQ(boxes_.seen()[0].caption, "Quorvel");
  EXPECT_EQ(boxes_.seen()[0].icon, QMessageBox::Critical);
  EXPECT_TRUE(boxes_.seen()[0].text.contains(InFolder("plain/~script.sh")));
  EXPECT_TRUE(boxes_.seen()[0].text.endsWith("Not a directory."));
  EXPECT_TRUE(waits_.empty());
  ASSERT_EQ(outcomes_.size(), 1u);
  EXPECT_EQ(outcomes_[0].What, Kind::ScriptNotWritten);
  EXPECT_EQ(outcomes_[0].Detail, InFolder("plain/~script.sh").toStdString() + ": Not a directory");
}

}  // namespace
