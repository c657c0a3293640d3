#include "platform/script_host.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "remote_test_support.h"

namespace {

TEST(ScriptFile, LinesEndWithLineFeedAndReplaceTheEarlierFile) {
  QTemporaryDir dir;
  const std::string path = dir.filePath(QString::fromLatin1(platform::kScriptFileName)).toStdString();
  ASSERT_EQ(platform::WriteScriptFile(path, {"echo one", "", "echo two"}), "");
  EXPECT_EQ(ReadFileText(QString::fromStdString(path)), "echo one\n\necho two\n");
  ASSERT_EQ(platform::WriteScriptFile(path, {"x"}), "");
  EXPECT_EQ(ReadFileText(QString::fromStdString(path)), "x\n");
  ASSERT_EQ(platform::WriteScriptFile(path, {}), "");
  EXPECT_TRUE(platform::ScriptFileExists(path));
  EXPECT_EQ(QFile(QString::fromStdString(path)).size(), 0);
  // No temporary file is left beside it.
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

TEST(ScriptFile, LinksInItsPlaceAreReplacedNotFollowedAndOnlyTheUserReadsIt) {
  QTemporaryDir dir;
  const QString path = dir.filePath("~script.sh");
  for (const QString& link : {path, path + ".new"}) {
    const QString victim = link + ".victim";
    ASSERT_TRUE(WriteFile(victim, "precious\n"));
    ASSERT_TRUE(QFile::link(victim, link));
  }
  ASSERT_EQ(platform::WriteScriptFile(path.toStdString(), {"echo"}), "");
  EXPECT_EQ(ReadFileText(path + ".victim"), "precious\n");
  EXPECT_EQ(ReadFileText(path + ".new.victim"), "precious\n");
  EXPECT_FALSE(QFileInfo(path).isSymLink());
  EXPECT_FALSE(QFileInfo::exists(path + ".new"));
  struct stat info {};
  ASSERT_EQ(lstat(path.toLocal8Bit().constData(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0600u);
  EXPECT_EQ(ReadFileText(path), "echo\n");
}

TEST(ScriptFile, UnwritableFolderGivesTheSystemsReason) {
  QTemporaryDir dir;
  ASSERT_TRUE(WriteFile(dir.filePath("plain")));
  const std::string path = dir.filePath("plain/~script.sh").toStdString();
  EXPECT_EQ(platform::WriteScriptFile(path, {"echo"}), "Not a directory");
  EXPECT_FALSE(platform::ScriptFileExists(path));
}

TEST(ScriptFile, FailedWriteIsReportedAndKeepsTheEarlierFile) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("~script.sh").toStdString();
  ASSERT_EQ(platform::WriteScriptFile(path, {"old"}), "");
  // A child limited to tiny files: its write fails with EFBIG.
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{16, 16};
    setrlimit(RLIMIT_FSIZE, &limit);
    const std::string reason = platform::WriteScriptFile(path, {std::string(100, 'x')});
    _exit(reason == "File too large" ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(ReadFileText(QString::fromStdString(path)), "old\n");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

}  // namespace
