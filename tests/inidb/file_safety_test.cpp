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
  // Writes the file in place (same inode) and gives it back its time stamp.
  void RewriteKeepingTime(const std::string& content) {
    struct stat st {};
    ASSERT_EQ(::stat(Path.c_str(), &st), 0);
    WriteBytes(Path, content);
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, Path.c_str(), times, 0), 0);
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
  WriteBytes(Path, CallersFile({{"Ann", "1"}}));
  DateFile(Path, -60);
  EXPECT_EQ(NumberOf("Ann"), "1");
  // Put the file's bytes out of reach: reads must come from the parsed copy.
  TFaultyFileSystem fs;
  fs.FailRead = true;
  EXPECT_EQ(NumberOf("Ann"), "1");
  EXPECT_TRUE(Db.KeyExists("ann"));
}

namespace {

// A lookup as a call makes it: every record, count and list asked each time.
int CountMatches(TIniDBase& db, const std::string& number) {
  int matches = 0;
  for (int i = 0; i < db.GetNumRecs() && i < db.GetRecordList().Count(); ++i) {
    TCallerRecord record;
    db.GetRecord(db.GetRecordList()[static_cast<std::size_t>(i)], record);
    matches += record.CallerID.Get() == number ? 1 : 0;
  }
  return matches;
}

std::vector<std::pair<std::string, std::string>> FortyCallers() {
  std::vector<std::pair<std::string, std::string>> callers;
  for (int i = 0; i < 40; ++i) callers.emplace_back("Caller " + std::to_string(i), "555-01" + std::to_string(10 + i));
  return callers;
}

// Files of every age: settled, just changed, dated in the future.
class LookupOfAnyAge : public FileSafety, public ::testing::WithParamInterface<int> {};

}  // namespace

TEST_P(LookupOfAnyAge, ReadsTheFileAtMostOnce) {
  WriteBytes(Path, CallersFile(FortyCallers()));
  DateFile(Path, GetParam());
  TFaultyFileSystem fs;
  TIniDBSnapshot snapshot(Db);
  EXPECT_EQ(CountMatches(Db, "555-0127"), 1);
  EXPECT_LE(fs.Reads, 1);
  // Changes made meanwhile through the database are seen within the run.
  Db.UpdRecord("Caller 3", MakeCallerRecord("Caller 3", "555-0127"));
  EXPECT_EQ(CountMatches(Db, "555-0127"), 2);
}

INSTANTIATE_TEST_SUITE_P(Ages, LookupOfAnyAge, ::testing::Values(-60, 0, 3600),
                         [](const auto& info) {
                           return info.param < 0 ? "Settled" : info.param == 0 ? "JustChanged" : "FutureDated";
                         });

// A file dated in the future (a restored backup, a clock set back) never
// settles: an edit in place that keeps size and time stamp is still seen.
TEST_F(FileSafety, FutureDatedFileEditedInPlaceIsSeenAtTheNextLookup) {
  auto callers = FortyCallers();
  WriteBytes(Path, CallersFile(callers));
  DateFile(Path, 3600);
  EXPECT_EQ(CountMatches(Db, "555-0199"), 0);
  callers[3].second = "555-0199";
  RewriteKeepingTime(CallersFile(callers));
  TIniDBSnapshot snapshot(Db);
  EXPECT_EQ(CountMatches(Db, "555-0199"), 1);
}

// File times tick coarsely: an in-place edit of the same size right after a
// read can leave size and time as they were. Such a read is not trusted.
TEST_F(FileSafety, SameSizeEditWithinOneTimestampTickIsSeen) {
  WriteBytes(Path, CallersFile({{"Ann", "111"}}));
  EXPECT_EQ(NumberOf("Ann"), "111");
  RewriteKeepingTime(CallersFile({{"Ann", "222"}}));  // same size
  EXPECT_EQ(NumberOf("Ann"), "222");
}
