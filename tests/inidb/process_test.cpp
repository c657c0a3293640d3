// Several processes on one file, and writers killed at any moment.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <set>

#include "inidb/caller_database_config.h"
#include "inidb/profile_file.h"
#include "test_files.h"

namespace {

void OpenCallers(TIniDBase& db, const std::string& path) {
  ApplyCallerDatabaseConfig(db);
  db.SetFileName(path);
}

// Every line of a file the database wrote ends in CR LF and is a section
// header or an entry.
void ExpectWellFormed(const std::string& content) {
  ASSERT_TRUE(content.empty() || content.size() >= 2);
  ASSERT_EQ(content.substr(content.size() - 2), "\r\n");
  std::size_t pos = 0;
  while (pos < content.size()) {
    const std::size_t end = content.find("\r\n", pos);
    ASSERT_NE(end, std::string::npos);
    const std::string line = content.substr(pos, end - pos);
    EXPECT_TRUE((line.front() == '[' && line.back() == ']') || line.find('=') != std::string::npos)
        << line;
    pos = end + 2;
  }
}

}  // namespace

TEST(Processes, TwoWritersAddingTwoHundredEachEndWithFourHundred) {
  ClearProfileCache();
  TTempDir dir;
  const std::string path = dir.File("Callers.DB");
  std::vector<pid_t> children;
  for (int p = 0; p < 2; ++p) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      int failures = 0;
      try {
        TIniDBase db;
        OpenCallers(db, path);
        for (int i = 0; i < 200; ++i) {
          db.AddRecord(MakeCallerRecord("P" + std::to_string(p) + "-" + std::to_string(i),
                                        std::to_string(i)));
        }
      } catch (...) {
        ++failures;
      }
      ::_exit(failures);
    }
    children.push_back(pid);
  }
  for (const pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  ClearProfileCache();
  TIniDBase db;
  OpenCallers(db, path);
  EXPECT_EQ(db.GetNumRecs(), 400);
  EXPECT_EQ(db.GetRecordList().size(), 400u);
  TCallerRecord record;
  db.GetRecord("P1-199", record);
  EXPECT_EQ(record.CallerID.Get(), "199");
  ExpectWellFormed(ReadBytes(path));
}

TEST(Processes, WriterKilledAtRandomMomentsLosesNoCompletedAdd) {
  ClearProfileCache();
  TTempDir dir;
  const std::string path = dir.File("Callers.DB");
  std::mt19937 random(static_cast<unsigned>(
      std::chrono::steady_clock::now().time_since_epoch().count()));
  std::set<std::string> confirmed;
  for (int round = 0; round < 12; ++round) {
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      ::close(pipeFds[0]);
      TIniDBase db;
      OpenCallers(db, path);
      for (int i = 0;; ++i) {
        const std::string name = "R" + std::to_string(round) + "-" + std::to_string(i);
        try {
          db.AddRecord(MakeCallerRecord(name, std::to_string(i)));
        } catch (...) {
          ::_exit(1);
        }
        // Reported only once the add has returned.
        const std::string line = name + "\n";
        if (::write(pipeFds[1], line.data(), line.size()) != static_cast<ssize_t>(line.size())) {
          ::_exit(2);
        }
      }
    }
    ::close(pipeFds[1]);
    FILE* acks = ::fdopen(pipeFds[0], "r");
    const int wanted = std::uniform_int_distribution<int>(1, 25)(random);
    char buffer[64];
    for (int got = 0; got < wanted && std::fgets(buffer, sizeof buffer, acks); ++got) {
      std::string name(buffer);
      name.pop_back();
      confirmed.insert(name);
    }
    // Let it run on for a random moment, then kill it mid-whatever.
    const auto spin = std::chrono::microseconds(std::uniform_int_distribution<int>(0, 3000)(random));
    for (const auto start = std::chrono::steady_clock::now();
         std::chrono::steady_clock::now() - start < spin;) {
    }
    ::kill(pid, SIGKILL);
    // Acknowledgements still in the pipe are completed adds too.
    while (std::fgets(buffer, sizeof buffer, acks)) {
      std::string name(buffer);
      name.pop_back();
      confirmed.insert(name);
    }
    std::fclose(acks);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status)) << "writer stopped by itself: " << WEXITSTATUS(status);

    const std::string content = ReadBytes(path);
    ExpectWellFormed(content);
    ClearProfileCache();
    TIniDBase db;
    OpenCallers(db, path);
    const TStringList& list = db.GetRecordList();
    EXPECT_EQ(static_cast<int>(list.size()), db.GetNumRecs()) << "count and index disagree";
    for (const std::string& name : confirmed) {
      EXPECT_GE(list.IndexOf(name), 0) << name << " lost in round " << round;
    }
    if (db.GetNumRecs() > 900) break;
  }
}
