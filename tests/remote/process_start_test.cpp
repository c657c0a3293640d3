#include "platform/process_start.h"
#include "platform/watched_process.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <csignal>
#include <gtest/gtest.h>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/delay_with_messages.h"
#include "remote_test_support.h"

namespace {

// Zombies whose parent is this process.
int OwnZombies() {
  int zombies = 0;
  const QString self = QString::number(getpid());
  for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
    const QString stat = ReadFileText(QStringLiteral("/proc/%1/stat").arg(entry));
    // "pid (comm) state ppid ...": the name may hold blanks, so read after ')'.
    const QStringList fields = stat.mid(stat.lastIndexOf(QLatin1Char(')')) + 2).split(QLatin1Char(' '));
    if (fields.size() > 1 && fields[0] == QLatin1String("Z") && fields[1] == self) ++zombies;
  }
  return zombies;
}

class ProcessStart : public testing::Test {
 protected:
  QString Path(const QString& name) const { return dir_.filePath(name); }
  std::string PathStd(const QString& name) const { return Path(name).toStdString(); }
  // Starts sh with the file `name` as $0 and `arguments` after it; what
  // `script` prints goes whole to $0, then `then` runs. Returns the file's text.
  QString RunSh(const QString& name, const std::string& script, std::vector<std::string> arguments = {},
                const platform::EnvironmentAdditions& env = {}, const std::string& then = "") {
    arguments.insert(arguments.begin(),
                     {"-c", script + " > \"$0.tmp\" && mv \"$0.tmp\" \"$0\"" + then, PathStd(name)});
    EXPECT_EQ(platform::StartProcessDetached("sh", arguments, env), 0);
    EXPECT_TRUE(WaitUntil([&] { return QFile::exists(Path(name)); }));
    return ReadFileText(Path(name));
  }
  QTemporaryDir dir_;
};

TEST_F(ProcessStart, ArgumentsArriveExactlyAsGivenWithoutQuotesAdded) {
  EXPECT_EQ(RunSh("args", "printf '%s\\n' \"$@\"", {"two words", "\"quoted\"", "", "$HOME;`id`"}),
            "two words\n\"quoted\"\n\n$HOME;`id`\n");
}

TEST_F(ProcessStart, EnvironmentAdditionsReachTheProgramAndReplaceOldValues) {
  TScopedEnv old("QUORVEL_TEST_VALUE", "old");
  EXPECT_EQ(RunSh("env", "printf '%s|%s' \"$QUORVEL_TEST_VALUE\" \"$QUORVEL_TEST_NEW\"", {},
                  {{"QUORVEL_TEST_VALUE", "new"}, {"QUORVEL_TEST_NEW", "a \"b\""}}),
            "new|a \"b\"");
}

TEST_F(ProcessStart, FailuresReportTheErrorNumber) {
  EXPECT_EQ(platform::StartProcessDetached("quorvel-no-such-program-anywhere", {}), ENOENT);
  EXPECT_EQ(platform::StartProcessDetached(PathStd("missing/program"), {}), ENOENT);
  EXPECT_EQ(platform::StartProcessDetached("", {}), ENOENT);

  ASSERT_TRUE(WriteProgram(Path("noshebang"), "this is not a program\n"));
  EXPECT_EQ(platform::StartProcessDetached(PathStd("noshebang"), {}), ENOEXEC);

  ASSERT_TRUE(WriteFile(Path("notexecutable"), "#!/bin/sh\n"));
  if (geteuid() != 0) {
    EXPECT_EQ(platform::StartProcessDetached(PathStd("notexecutable"), {}), EACCES);
  }
  EXPECT_EQ(platform::StartProcessDetached(dir_.path().toStdString(), {}), EACCES);  // a folder

  // One argument longer than the system accepts.
  EXPECT_EQ(platform::StartProcessDetached("true", {std::string(256 * 1024, 'x')}), E2BIG);
}

TEST_F(ProcessStart, SearchesPathInOrderPassingOverWhatCannotRun) {
  ASSERT_TRUE(QDir(dir_.path()).mkpath(QStringLiteral("first")));
  ASSERT_TRUE(QDir(dir_.path()).mkpath(QStringLiteral("second")));
  // A same-named folder entry in the first folder that is no program.
  ASSERT_TRUE(QDir(dir_.path()).mkpath(QStringLiteral("first/quorvel-test-prog")));
  ASSERT_TRUE(WriteProgram(Path("second/quorvel-test-prog"),
                           QStringLiteral("#!/bin/sh\necho second > '%1.tmp' && mv '%1.tmp' '%1'\n")
                               .arg(Path("ran"))
                               .toUtf8()));
  TScopedEnv path("PATH", (Path("first") + ":" + Path("second") + ":/usr/bin:/bin").toUtf8());
  ASSERT_EQ(platform::StartProcessDetached("quorvel-test-prog", {}), 0);
  ASSERT_TRUE(WaitUntil([&] { return QFile::exists(Path("ran")); }));
  EXPECT_EQ(ReadFileText(Path("ran")), "second\n");
}

TEST_F(ProcessStart, ProgramIsDetachedAndLeavesNoZombie) {
  // The program records its pid, then waits to be killed.
  const pid_t pid = RunSh("pid", "echo $$", {}, {}, "; exec sleep 120").simplified().toInt();
  ASSERT_GT(pid, 0);

  // Not our child: nothing to wait for, and it runs in a session of its own.
  errno = 0;
  EXPECT_EQ(waitpid(pid, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
  EXPECT_NE(getsid(pid), getsid(0));
  kill(pid, SIGKILL);

  // Short-lived programs leave nothing behind either.
  for (int i = 0; i < 5; ++i) ASSERT_EQ(platform::StartProcessDetached("true", {}), 0);
  EXPECT_EQ(OwnZombies(), 0);
}

}  // namespace

namespace {

struct EndCase {
  const char* name;
  const char* script;
  platform::TProcessEnd expected;
};

void PrintTo(const EndCase& c, std::ostream* out) { *out << c.name; }

// A watched process and the end it reported, if any.
struct WatchedRun {
  WatchedRun() {
    QObject::connect(&process, &platform::TWatchedProcess::Finished,
                     [this](const platform::TProcessEnd& e) { end = e; });
  }
  bool WaitForEnd() { return WaitUntil([&] { return end.has_value(); }); }
  platform::TWatchedProcess process;
  std::optional<platform::TProcessEnd> end;
};

class WatchedProcessEnd : public testing::TestWithParam<EndCase> {};

TEST_P(WatchedProcessEnd, IsReportedWithTheLastErrorLine) {
  const int zombies = OwnZombies();
  WatchedRun run;
  ASSERT_EQ(run.process.Start("sh", {"-c", GetParam().script}), 0);
  ASSERT_TRUE(run.WaitForEnd());
  const platform::TProcessEnd& end = *run.end;
  EXPECT_EQ(end.Killed, GetParam().expected.Killed);
  EXPECT_EQ(end.Status, GetParam().expected.Status);
  EXPECT_EQ(end.LastErrorLine, GetParam().expected.LastErrorLine);
  EXPECT_EQ(OwnZombies(), zombies);  // reaped
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WatchedProcessEnd,
    testing::Values(
        EndCase{"Success", "echo to stdout", {false, 0, ""}},
        EndCase{"FailureWithMessage", "echo first >&2; echo 'sh: 1: nope: not found' >&2; echo; exit 127",
                {false, 127, "sh: 1: nope: not found"}},
        EndCase{"LastLineWithoutLineEnd", "printf 'one\\ntwo' >&2; exit 3", {false, 3, "two"}},
        EndCase{"BlankLinesAreNoMessage", "echo real >&2; printf '  \\n\\n' >&2", {false, 0, "real"}},
        EndCase{"LongLineIsCut", "head -c 5000 /dev/zero | tr '\\0' x >&2; exit 1",
                {false, 1, std::string(platform::kMaxErrorLineBytes, 'x')}},
        EndCase{"Killed", "echo dying >&2; kill -9 $$", {true, 9, "dying"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WatchedProcess, AProgramLeftRunningWithTheErrorStreamDoesNotHoldUpTheEnd) {
  WatchedRun run;
  ASSERT_EQ(run.process.Start("sh", {"-c", "sleep 120 & echo $! >&2; exit 4"}), 0);
  ASSERT_TRUE(run.WaitForEnd());  // well before the sleep ends
  EXPECT_EQ(run.end->Status, 4);
  const pid_t left = std::stoi(run.end->LastErrorLine);
  ASSERT_GT(left, 0);
  kill(left, SIGKILL);
}

TEST(WatchedProcess, FailedStartGivesTheErrorNumberAndNoEnd) {
  const int zombies = OwnZombies();
  WatchedRun run;
  EXPECT_EQ(run.process.Start("quorvel-no-such-program-anywhere", {}), ENOENT);
  DelayWithMessages(0);
  EXPECT_FALSE(run.end.has_value());
  EXPECT_EQ(OwnZombies(), zombies);
}

}  // namespace
