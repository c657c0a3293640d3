#include "platform/process_spawn_posix.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <unistd.h>

extern char** environ;

namespace platform::spawn {
namespace {

// Every path the program might be found at, in PATH order.
std::vector<std::string> CandidatePaths(const std::string& program) {
  if (program.find('/') != std::string::npos) return {program};
  const char* pathVariable = std::getenv("PATH");
  const std::string path = pathVariable != nullptr ? pathVariable : "/usr/local/bin:/usr/bin:/bin";
  std::vector<std::string> candidates;
  std::size_t begin = 0;
  while (true) {
    const std::size_t end = path.find(':', begin);
    const std::string folder =
        path.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
    // An empty PATH entry is the current folder.
    candidates.push_back((folder.empty() ? std::string(".") : folder) + "/" + program);
    if (end == std::string::npos) break;
    begin = end + 1;
  }
  return candidates;
}

std::vector<std::string> MergedEnvironment(const EnvironmentAdditions& additions) {
  std::vector<std::string> merged;
  for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
    const std::string text = *entry;
    const std::string name = text.substr(0, text.find('='));
    bool replaced = false;
    for (const auto& [addName, value] : additions) replaced = replaced || addName == name;
    if (!replaced) merged.push_back(text);
  }
  for (const auto& [name, value] : additions) merged.push_back(name + "=" + value);
  return merged;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Tries each candidate the way execvp does (a candidate that is missing or
// not a folder entry is passed over, EACCES is remembered) and returns the
// error number to report.
int ExecFirstCandidate(const std::vector<char*>& candidates, char* const* argv, char* const* envp) {
  int result = ENOENT;
  bool sawAccessDenied = false;
  for (char* candidate : candidates) {
    if (candidate == nullptr) break;
    execve(candidate, argv, envp);
    const int error = errno;
    if (error == EACCES) {
      sawAccessDenied = true;
    } else if (error != ENOENT && error != ENOTDIR) {
      return error;
    }
  }
  return sawAccessDenied ? EACCES : result;
}

}  // namespace

TExecPlan::TExecPlan(const std::string& program, const std::vector<std::string>& arguments,
                     const EnvironmentAdditions& environment)
    : candidateTexts_(CandidatePaths(program)),
      argvTexts_{program},
      envTexts_(MergedEnvironment(environment)) {
  argvTexts_.insert(argvTexts_.end(), arguments.begin(), arguments.end());
  candidates_ = Pointers(candidateTexts_);
  argv_ = Pointers(argvTexts_);
  envp_ = Pointers(envTexts_);
}

void TExecPlan::Exec(int reportFd) const {
  setsid();
  // The new program starts with the signal state of a fresh process.
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  for (int signalNumber = 1; signalNumber < NSIG; ++signalNumber) signal(signalNumber, SIG_DFL);
  const int error = ExecFirstCandidate(candidates_, argv_.data(), envp_.data());
  WriteAll(reportFd, &error, sizeof error);
  _exit(127);
}

void WriteAll(int fd, const void* data, std::size_t size) {
  const char* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t written = write(fd, bytes, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;
    bytes += written;
    size -= static_cast<std::size_t>(written);
  }
}

int ReadStartReport(int fd) {
  int error = 0;
  std::size_t received = 0;
  char* bytes = reinterpret_cast<char*>(&error);
  while (received < sizeof error) {
    const ssize_t got = read(fd, bytes + received, sizeof error - received);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    received += static_cast<std::size_t>(got);
  }
  close(fd);
  return received == sizeof error ? error : 0;
}

}  // namespace platform::spawn
