// The command-line tool, run as a real process.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <filesystem>
#include <utility>
#include <sys/wait.h>
#include <unistd.h>


#include "test_files.h"

namespace {

struct TRun {
  int Exit = -1;
  std::string Out;
  std::string Err;
};

// Runs the tool (the built one unless `program` names a copy) in `folder`
// (unless empty).
TRun RunTool(const std::vector<std::string>& args, const std::string& program = QUORVELDB_PATH,
             const std::string& folder = {}) {
  std::vector<std::string> argv{program};
  argv.insert(argv.end(), args.begin(), args.end());
  TTempDir capture;
  const std::string outPath = capture.File("out"), errPath = capture.File("err");
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(out, 1);
    ::dup2(err, 2);
    if (!folder.empty() && ::chdir(folder.c_str()) != 0) ::_exit(126);
    std::vector<char*> raw;
    for (auto& a : argv) raw.push_back(a.data());
    raw.push_back(nullptr);
    ::execv(raw[0], raw.data());
    ::_exit(127);
  }
  TRun run;
  int status = 0;
  ::waitpid(pid, &status, 0);
  run.Exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.Out = ReadBytes(outPath);
  run.Err = ReadBytes(errPath);
  return run;
}

class QuorvelDbTool : public ::testing::Test {
 protected:
  TTempDir Dir;
  std::string Path = Dir.File("Callers.DB");
};

}  // namespace

TEST_F(QuorvelDbTool, KeepsCallersLikeTheProgram) {
  EXPECT_EQ(RunTool({Path, "count"}).Out, "0\n");
  EXPECT_EQ(ReadBytes(Path), "[Index]\r\n[Defaults]\r\n_Entries=0\r\n");
  EXPECT_EQ(RunTool({Path, "add", "bob", "555-0102"}).Exit, 0);
  EXPECT_EQ(RunTool({Path, "add", "Alice", "555-0101"}).Exit, 0);
  EXPECT_EQ(RunTool({Path, "add", "Carl", ""}).Exit, 0);
  EXPECT_EQ(RunTool({Path, "list"}).Out, "Alice\nbob\nCarl\n");
  EXPECT_EQ(RunTool({Path, "get", "ALICE"}).Out, "ALICE\t555-0101\n");
  EXPECT_EQ(RunTool({Path, "update", "bob", "Bobby", "555-0199"}).Exit, 0);
  EXPECT_EQ(RunTool({Path, "delete", "carl"}).Exit, 0);
  const TRun list = RunTool({Path, "list"});
  EXPECT_EQ(list.Exit, 0);
  EXPECT_EQ(list.Out, "Alice\nBobby\n");
  EXPECT_EQ(RunTool({Path, "count"}).Out, "2\n");
}

TEST_F(QuorvelDbTool, CutsNamesAndKeysLikeTheProgram) {
  const std::string longName(40, 'x');
  EXPECT_EQ(RunTool({Path, "add", longName, std::string(30, '5')}).Exit, 0);
  EXPECT_EQ(RunTool({Path, "list"}).Out, std::string(20, 'x') + "\n");
  EXPECT_EQ(RunTool({Path, "get", std::string(20, 'x')}).Out,
            std::string(20, 'x') + "\t" + std::string(20, '5') + "\n");
}

TEST_F(QuorvelDbTool, DatabaseErrorsGoToStderrWithFullStop) {
  RunTool({Path, "add", "Ann", "1"});
  const std::string before = ReadBytes(Path);
  for (const auto& [args, err] : std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{Path, "add", "ann", "2"}, "Record already exists.\n"},
           {{Path, "get", "Nobody"}, "Record not found in database.\n"},
           {{Path, "add", "a=b", "1"}, "Generic INI file write error.\n"},
           // "Default" is the unknown callers' picture, never a caller.
           {{Path, "add", "DEFAULT", "1"}, "Invalid Caller Name.\n"},
           {{Path, "update", "Ann", "default", "1"}, "Invalid Caller Name.\n"},
           {{Dir.File("Callers.DB/inside"), "count"}, "Generic INI file write error.\n"}}) {
    const TRun run = RunTool(args);
    EXPECT_EQ(run.Exit, 1) << args[0] << " " << args[1];
    EXPECT_EQ(run.Err, err);
    EXPECT_EQ(run.Out, "");
  }
  EXPECT_EQ(ReadBytes(Path), before);
}

TEST_F(QuorvelDbTool, UsageErrorsExitWithTwo) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {}, {Path}, {Path, "frobnicate"}, {Path, "get"}, {Path, "add", "x"},
           {Path, "list", "extra"}, {Path, "update", "a", "b"}}) {
    const TRun run = RunTool(args);
    EXPECT_EQ(run.Exit, 2) << args.size();
    EXPECT_EQ(run.Out, "");
  }
  EXPECT_FALSE(FileExists(Path));
  EXPECT_NE(RunTool({Path, "nonsense"}).Err.find("usage: quorveldb FILE COMMAND"), std::string::npos);
}

// A bare "Callers.DB" is the program's own database, found from the tool's
// folder as the program finds it, whatever the current folder.
TEST_F(QuorvelDbTool, BareFileNameIsTheProgramsDatabase) {
  TTempDir program;
  const std::string tool = program.File("quorveldb");
  std::filesystem::copy_file(QUORVELDB_PATH, tool);
  EXPECT_EQ(RunTool({"Callers.DB", "add", "Alice", "555-0101"}, tool, Dir.Path()).Exit, 0);
  EXPECT_NE(ReadBytes(program.File("Callers.DB")).find("[Alice]"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(Path));
  EXPECT_EQ(RunTool({"./Callers.DB", "count"}, tool, Dir.Path()).Out, "0\n");
  EXPECT_TRUE(std::filesystem::exists(Path));
}
