#include <QDir>
#include <QFile>
#include <QMessageBox>

#include "action_fixture.h"
#include "platform/script_host.h"

namespace {

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
  profile_.ddeLink = false;
  profile_.commands = WriteOut(QStringLiteral("\"$1\" '@CID' '@CIN'"), QStringLiteral("out"));
  action_.RunRemoteAction();

  EXPECT_EQ(WaitForOutput("out"), "\n555-123-4567\nJane Doe\n");
  EXPECT_EQ(Script(), "cd \"$(dirname \"$0\")\"\n"
                      "printf '%s\\n' \"$1\" '555-123-4567' 'Jane Doe' > out.tmp && mv out.tmp out\n");
  EXPECT_TRUE(waits_.empty());  // the file is there at the first look
  EXPECT_TRUE(boxes_.seen().empty());
}

TEST_F(ScriptAction, TheScriptSeesTheCallInItsEnvironment) {
  profile_.commands = WriteOut(
      QStringLiteral("\"$QUORVEL_CID\" \"$QUORVEL_CIN\" \"$QUORVEL_PORT\" \"$QUORVEL_DATE\" \"$QUORVEL_TIME\""),
      QStringLiteral("env"));
  action_.SetClock([] { return std::chrono::system_clock::from_time_t(0); });
  action_.RunScriptAction();
  const QStringList values = WaitForOutput("env").split(QLatin1Char('\n'));
  ASSERT_EQ(values.size(), 6);
  EXPECT_EQ(values.mid(0, 3), (QStringList{"555-123-4567", "Jane Doe", "ttyS0 modem"}));
  const std::locale user = TPlaceholderSources::UserTimeLocale();
  const auto epoch = std::chrono::system_clock::from_time_t(0);
  EXPECT_EQ(values[3].toStdString(), FormatShortDate(epoch, user));
  EXPECT_EQ(values[4].toStdString(), FormatLongTime(epoch, user));
}

TEST_F(ScriptAction, AHostileCallerNameRunsNothingAndAddsNoLine) {
  name_ = "x\"; touch pwned; \"";
  // The safe way: the name from the environment, never pasted into the text.
  profile_.commands = WriteOut(QStringLiteral("\"$QUORVEL_CIN\""), QStringLiteral("name"));
  profile_.commands << QStringLiteral("# caller: @CIN");
  action_.RunScriptAction();
  EXPECT_EQ(WaitForOutput("name"), "x\"; touch pwned; \"\n");
  EXPECT_FALSE(QFile::exists(InFolder("pwned")));
  EXPECT_EQ(Script().count(QLatin1Char('\n')), 3);

  // Line breaks in the name could add a command line; they never reach it.
  name_ = "y\ntouch pwned2\r\n";
  action_.RunScriptAction();
  EXPECT_EQ(Script().count(QLatin1Char('\n')), 3);
  EXPECT_TRUE(Script().endsWith("# caller: ytouch pwned2\n"));
  EXPECT_EQ(WaitForOutput("name"), "x\"; touch pwned; \"\n");  // rewritten or not: no second file
  EXPECT_FALSE(QFile::exists(InFolder("pwned2")));
}

TEST_F(ScriptAction, OuterBlankLinesGoOnlyWhenThereIsAPlaceholder) {
  profile_.commands = {"", "  echo plain  ", ""};
  action_.RunScriptAction();
  EXPECT_EQ(Script(), "\n  echo plain  \n\n");

  profile_.commands = {"", "  echo @CID  ", ""};
  action_.RunScriptAction();
  EXPECT_EQ(Script(), "echo 555-123-4567\n");
}

TEST_F(ScriptAction, EmptyCommandsWriteAnEmptyScriptThatStillRuns) {
  action_.RunScriptAction();
  EXPECT_TRUE(QFile::exists(action_.ScriptFilePath()));
  EXPECT_EQ(QFile(action_.ScriptFilePath()).size(), 0);
  EXPECT_TRUE(boxes_.seen().empty());
}

TEST_F(ScriptAction, MissingScriptHostIsReported) {
  TScopedEnv path("PATH", InFolder("nothing-here").toUtf8());
  profile_.commands = {QStringLiteral("echo @CID")};
  action_.RunScriptAction();
  ASSERT_EQ(boxes_.seen().size(), 1u);
  EXPECT_EQ(boxes_.seen()[0].caption, "Error");
  EXPECT_EQ(boxes_.seen()[0].text, "Can not start sh");
  EXPECT_EQ(boxes_.seen()[0].icon, QMessageBox::NoIcon);
  EXPECT_EQ(Script(), "echo 555-123-4567\n");  // written before the start
}

TEST_F(ScriptAction, ScriptFileThatCannotBeWrittenIsReportedAndTheActionReturns) {
  QFile plain(InFolder("plain"));
  ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
  plain.close();
  TRemoteAction action(profile_, conversation_, TCallData{}, InFolder("plain") + "/");
  action.SetDelay([this](int ms) { waits_.push_back(ms); });
  profile_.commands = {QStringLiteral("echo hello")};

  action.RunRemoteAction();

  ASSERT_EQ(boxes_.seen().size(), 1u);
  EXPECT_EQ(boxes_.seen()[0].caption, "Quorvel");
  EXPECT_EQ(boxes_.seen()[0].icon, QMessageBox::Critical);
  EXPECT_TRUE(boxes_.seen()[0].text.contains(InFolder("plain/~script.sh")));
  EXPECT_TRUE(boxes_.seen()[0].text.endsWith("Not a directory."));
  EXPECT_TRUE(waits_.empty());
}

}  // namespace
