#pragma once

#include <string>
#include <vector>

#include "platform/process_start.h"

// What the two ways of starting a program share: the search along PATH, the
// environment, and the report of a failed exec through a pipe.
namespace platform::spawn {

// Everything exec needs, worked out before the fork: between fork and exec
// only async-signal-safe calls are allowed.
class TExecPlan {
 public:
  TExecPlan(const std::string& program, const std::vector<std::string>& arguments,
            const EnvironmentAdditions& environment);
  TExecPlan(const TExecPlan&) = delete;
  TExecPlan& operator=(const TExecPlan&) = delete;

  // In the new process: gives it a session of its own and a fresh signal
  // state, then runs the program. Should that fail, writes the error number
  // to `reportFd` and ends the process.
  [[noreturn]] void Exec(int reportFd) const;

 private:
  std::vector<std::string> candidateTexts_;
  std::vector<std::string> argvTexts_;
  std::vector<std::string> envTexts_;
  std::vector<char*> candidates_;
  std::vector<char*> argv_;
  std::vector<char*> envp_;
};

// Writes all of `size` bytes, giving up on an error. Async-signal-safe.
void WriteAll(int fd, const void* data, std::size_t size);

// Reads the start report from the read end of the exec pipe (opened with
// O_CLOEXEC, the write end closed here): 0 when the program runs (the
// successful exec closed the pipe), otherwise the error number sent. Returns
// as soon as the exec has happened or failed.
int ReadStartReport(int fd);

}  // namespace platform::spawn
