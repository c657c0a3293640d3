// What the file goes through on disk: atomic replacement, permissions,
// links, files that cannot be written, and changes made by others.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "faulty_file_system.h"
#include "inidb/caller_database_config.h"
#include "inidb/profile_file.h"
#include "test_files.h"

namespace {

class FileSafety : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearProfileCache();
    ApplyCallerDatabaseConfig(Db);
    Db.SetFileName(Path);
  }
  std::string NumberOf(const std::string& key) {
    TCallerRecord record;
    Db.GetRecord(key, record);
    return record.CallerID.Get();
  }
  mode_t ModeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0);
    return st.st_mode & 07777;
  }

  TTempDir Dir;
  std::string Path = Dir.File("Callers.DB");
  TIniDBase Db;
};

// Runs `child` in a child process; returns its exit status.
int RunInChild(const std::function<int()>& child) {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(child());
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

TEST_F(FileSafety, WritesLeaveNoTemporaryFilesBehind) {
  Db.AddRecord(MakeCallerRecord("Ann", "1"));
  Db.UpdRecord("Ann", MakeCallerRecord("Ann", "2"));
  Db.DelRecord("Ann");
  EXPECT_EQ(ListFolder(Dir.Path()), "Callers.DB Callers.DB.lock");
}

TEST_F(FileSafety, LeftoverTemporaryFileOfACrashedWriterIsReplaced) {
  WriteBytes(Dir.File(".Callers.DB.tmp"), "[Index]\r\nhalf");
  Db.AddRecord(MakeCallerRecord("Ann", "1"));
  EXPECT_EQ(ListFolder(Dir.Path()), "Callers.DB Callers.DB.lock");
  EXPECT_EQ(NumberOf("Ann"), "1");
}

TEST_F(FileSafety, PermissionsAreKept) {
  Db.GetRecordList();
  ASSERT_EQ(::chmod(Path.c_str(), 0640), 0);
  Db.AddRecord(MakeCallerRecord("Ann", "1"));
  EXPECT_EQ(ModeOf(Path), 0640u);
}

TEST_F(FileSafety, LinkStaysALinkAndItsTargetIsWritten) {
  std::filesystem::create_directory(Dir.File("real"));
  const std::string target = Dir.File("real/people.ini");
  WriteBytes(target, "[Index]\r\n[Defaults]\r\n_Entries=0\r\n");
  std::filesystem::create_symlink("real/people.ini", Path);  // relative link
  Db.AddRecord(MakeCallerRecord("Ann", "1"));
  EXPECT_TRUE(std::filesystem::is_symlink(Path));
  EXPECT_NE(ReadBytes(target).find("Ann=#"), std::string::npos);
  EXPECT_TRUE(FileExists(target + ".lock"));
}

TEST_F(FileSafety, DanglingLinkCreatesItsTarget) {
  const std::string target = Dir.File("elsewhere.ini");
  std::filesystem::create_symlink(target, Path);
  EXPECT_TRUE(Db.GetRecordList().empty());
  EXPECT_TRUE(std::filesystem::is_symlink(Path));
  EXPECT_EQ(ReadBytes(target), "[Index]\r\n[Defaults]\r\n_Entries=0\r\n");
}

TEST_F(FileSafety, LinkLoopIsAWriteError) {
  std::filesystem::create_symlink("Callers.DB", Path);
  EXPECT_THROW(Db.GetRecordList(), EIniWrite);
}

TEST_F(FileSafety, ReadOnlyFileIsAWriteErrorAndStaysAsItWas) {
  Db.AddRecord(MakeCallerRecord("Ann", "1"));
  ASSERT_EQ(::chmod(Path.c_str(), 0444), 0);
  const std::string before = ReadBytes(Path);
  try {
    Db.AddRecord(MakeCallerRecord("Ben", "2"));
    FAIL() << "read-only file was written";
  } catch (const EIniWrite& e) {
    EXPECT_EQ(e.ErrorCode, -7004);
  }
  EXPECT_THROW(Db.DelRecord("Ann"), EIniWrite);
  EXPECT_THROW(Db.UpdRecord("Ann", MakeCallerRecord("Ann", "9")), EIniWrite);
  EXPECT_EQ(ReadBytes(Path), before);
  EXPECT_EQ(ModeOf(Path), 0444u);
  EXPECT_EQ(Db.GetNumRecs(), 1);
  EXPECT_EQ(NumberOf("Ann"), "1");
}

TEST_F(FileSafety, FolderThatCannotHoldTheFileIsAWriteError) {
  WriteBytes(Dir.File("plain"), "not a folder");
  Db.SetFileName(Dir.File("plain/Callers.DB"));
  EXPECT_THROW(Db.GetNumRecs(), EIniWrite);
  EXPECT_FALSE(Db.Open());
}

TEST_F(FileSafety, SomethingElseInThePlaceOfTheFileIsNeitherReadNorReplaced) {
  ASSERT_EQ(::mkfifo(Path.c_str(), 0600), 0);  // reading a FIFO would block
  EXPECT_THROW(Db.GetRecordList(), EIniWrite);
  std::filesystem::remove(Path);
  std::filesystem::create_directory(Path);
  EXPECT_THROW(Db.GetRecordList(), EIniWrite);
  EXPECT_TRUE(std::filesystem::is_directory(Path));
}

TEST_F(FileSafety, FailedReplacementChangesNothing) {
  Db.AddRecord(MakeCallerRecord("Ann", "1"));
  Db.GetRecordList();
  const std::string before = ReadBytes(Path);
  TFaultyFileSystem fs;
  fs.FailReplace = true;
  EXPECT_THROW(Db.AddRecord(MakeCallerRecord("Ben", "2")), EIniWrite);
  EXPECT_THROW(Db.UpdRecord("Ann", MakeCallerRecord("Anna", "2")), EIniWrite);
  EXPECT_THROW(Db.UpdRecord("Ann", MakeCallerRecord("Ann", "2")), EIniWrite);
  EXPECT_THROW(Db.DelRecord("Ann"), EIniWrite);
  EXPECT_EQ(ReadBytes(Path), before);
  EXPECT_EQ(Db.GetNumRecs(), 1);
  EXPECT_FALSE(Db.NeedRefresh());
  EXPECT_EQ(NumberOf("Ann"), "1");
  // Writing the value already there needs no write at all.
  Db.UpdRecord("Ann", MakeCallerRecord("Ann", "1"));
  EXPECT_EQ(fs.Replacements, 0);
}

TEST_F(FileSafety, LockThatCannotBeHadIsAWriteError) {
  Db.GetRecordList();
  TFaultyFileSystem fs;
  fs.FailLock = true;
  EXPECT_THROW(Db.AddRecord(MakeCallerRecord("Ben", "2")), EIniWrite);
  EXPECT_EQ(Db.GetNumRecs(), 0);
  fs.FailLock = false;
  Db.AddRecord(MakeCallerRecord("Ben", "2"));
  fs.FailLock = true;
  // Not "not found": without the lock the store cannot know.
  EXPECT_THROW(Db.DelRecord("Ben"), EIniWrite);
  EXPECT_THROW(Db.UpdRecord("Ben", MakeCallerRecord("Ben", "3")), EIniWrite);
}

TEST_F(FileSafety, FileThatCannotBeReadIsNeverOverwritten) {
  Db.AddRecord(MakeCallerRecord("Ann", "1"));
  const std::string before = ReadBytes(Path);
  ClearProfileCache();
  TFaultyFileSystem fs;
  fs.FailRead = true;
  EXPECT_FALSE(Db.KeyExists("Ann"));
  EXPECT_THROW(Db.AddRecord(MakeCallerRecord("Ben", "2")), EIniWrite);
  EXPECT_EQ(ReadBytes(Path), before);
  EXPECT_EQ(fs.Replacements, 0);
}

TEST_F(FileSafety, FullDiskIsAWriteErrorAndLeavesTheFileAsItWas) {
  Db.AddRecord(MakeCallerRecord("Ann", "1"));
  const std::string before = ReadBytes(Path);
  const int status = RunInChild([&] {
    ::signal(SIGXFSZ, SIG_IGN);  // a write past the limit then fails with EFBIG
    const rlimit limit{before.size() + 8, before.size() + 8};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 3;
    try {
      Db.AddRecord(MakeCallerRecord("Ben", "2"));
    } catch (const EIniWrite&) {
      return 0;
    } catch (...) {
      return 2;
    }
    return 1;
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ReadBytes(Path), before);
  EXPECT_EQ(ListFolder(Dir.Path()), "Callers.DB Callers.DB.lock");
}

TEST_F(FileSafety, ChangesByAnotherProgramAreSeenAtTheNextOperation) {
  Db.AddRecord(MakeCallerRecord("Ann", "111"));
  EXPECT_EQ(NumberOf("Ann"), "111");
  // Same length, written by another process through the database.
  EXPECT_EQ(RunInChild([&] {
              TIniDBase other;
              ApplyCallerDatabaseConfig(other);
              other.SetFileName(Path);
              other.UpdRecord("Ann", MakeCallerRecord("Ann", "222"));
              return 0;
            }),
            0);
  EXPECT_EQ(NumberOf("Ann"), "222");
  // Edited in place by hand.
  WriteBytes(Path, "[Index]\r\nAnn=#\r\n[Defaults]\r\n_Entries=1\r\n[Ann]\r\nCallerID=3333\r\n");
  EXPECT_EQ(NumberOf("Ann"), "3333");
  std::filesystem::remove(Path);
  EXPECT_FALSE(Db.KeyExists("Ann"));
}

TEST_F(FileSafety, UnchangedFileIsParsedOnce) {
  Db.AddRecord(MakeCallerRecord("Ann", "1"));
  // Put the file's bytes out of reach: reads must come from the parsed copy.
  TFaultyFileSystem fs;
  fs.FailRead = true;
  EXPECT_EQ(NumberOf("Ann"), "1");
  EXPECT_TRUE(Db.KeyExists("ann"));
}

// File times tick coarsely: an in-place edit of the same size right after a
// read can leave size and time as they were. Such a read is not trusted.
TEST_F(FileSafety, SameSizeEditWithinOneTimestampTickIsSeen) {
  const std::string before = "[Index]\r\nAnn=#\r\n[Defaults]\r\n_Entries=1\r\n[Ann]\r\nCallerID=111\r\n";
  const std::string after = "[Index]\r\nAnn=#\r\n[Defaults]\r\n_Entries=1\r\n[Ann]\r\nCallerID=222\r\n";
  WriteBytes(Path, before);
  struct stat st {};
  ASSERT_EQ(::stat(Path.c_str(), &st), 0);
  EXPECT_EQ(NumberOf("Ann"), "111");
  WriteBytes(Path, after);  // in place: same inode, same size
  const struct timespec times[2] = {st.st_atim, st.st_mtim};
  ASSERT_EQ(::utimensat(AT_FDCWD, Path.c_str(), times, 0), 0);
  EXPECT_EQ(NumberOf("Ann"), "222");
}
