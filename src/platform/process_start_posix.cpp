#include "platform/process_start.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace platform {
namespace {

// Every path the program might be found at, in PATH order, worked out before
// the fork: between fork and exec only async-signal-safe calls are allowed.
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

// Runs in the grandchild: tries each candidate the way execvp does (a
// candidate that is missing or not a folder entry is passed over, EACCES is
// remembered) and returns the error number to report.
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

[[noreturn]] void RunGrandchild(int reportFd, const std::vector<char*>& candidates, char* const* argv,
                                char* const* envp) {
  setsid();
  // The new program starts with the signal state of a fresh process.
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  for (int signalNumber = 1; signalNumber < NSIG; ++signalNumber) signal(signalNumber, SIG_DFL);
  const int error = ExecFirstCandidate(candidates, argv, envp);
  WriteAll(reportFd, &error, sizeof error);
  _exit(127);
}

}  // namespace

int StartProcessDetached(const std::string& program, const std::vector<std::string>& arguments,
                         const EnvironmentAdditions& environment) {
  if (program.empty()) return ENOENT;
  std::vector<std::string> candidateTexts = CandidatePaths(program);
  std::vector<std::string> argvTexts{program};
  argvTexts.insert(argvTexts.end(), arguments.begin(), arguments.end());
  std::vector<std::string> envTexts = MergedEnvironment(environment);
  const std::vector<char*> candidates = Pointers(candidateTexts);
  const std::vector<char*> argv = Pointers(argvTexts);
  const std::vector<char*> envp = Pointers(envTexts);

  // The grandchild reports a failed exec through this pipe; a successful
  // exec closes it (close-on-exec), so end of file means "started".
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return errno;

  const pid_t child = fork();
  if (child < 0) {
    const int error = errno;
    close(report[0]);
    close(report[1]);
    return error;
  }
  if (child == 0) {
    close(report[0]);
    const pid_t grandchild = fork();
    if (grandchild < 0) {
      const int error = errno;
      WriteAll(report[1], &error, sizeof error);
      _exit(127);
    }
    if (grandchild == 0) RunGrandchild(report[1], candidates, argv.data(), envp.data());
    _exit(0);  // the grandchild is now an orphan, adopted and reaped by init
  }

  close(report[1]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int error = 0;
  std::size_t received = 0;
  char* bytes = reinterpret_cast<char*>(&error);
  while (received < sizeof error) {
    const ssize_t got = read(report[0], bytes + received, sizeof error - received);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    received += static_cast<std::size_t>(got);
  }
  close(report[0]);
  return received == sizeof error ? error : 0;
}

}  // namespace platform
