#include "platform/watched_process.h"

#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <fcntl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/process_spawn_posix.h"

namespace platform {
namespace {

constexpr int kEndPollIntervalMs = 50;

int OpenProcessDescriptor(pid_t pid) {
#ifdef SYS_pidfd_open
  return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
#else
  (void)pid;
  errno = ENOSYS;
  return -1;
#endif
}

bool HoldsMoreThanBlanks(const std::string& line) {
  return line.find_first_not_of(" \t\r\f\v") != std::string::npos;
}

}  // namespace

TWatchedProcess::TWatchedProcess(QObject* parent) : QObject(parent) {}

TWatchedProcess::~TWatchedProcess() { CloseAll(); }

int TWatchedProcess::Start(const std::string& program, const std::vector<std::string>& arguments,
                           const EnvironmentAdditions& environment) {
  if (program.empty()) return ENOENT;
  if (pid_ >= 0) return EBUSY;
  const spawn::TExecPlan plan(program, arguments, environment);

  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return errno;
  int errors[2];
  if (pipe2(errors, O_CLOEXEC) != 0) {
    const int error = errno;
    close(report[0]);
    close(report[1]);
    return error;
  }
  const pid_t child = fork();
  if (child < 0) {
    const int error = errno;
    for (int fd : {report[0], report[1], errors[0], errors[1]}) close(fd);
    return error;
  }
  if (child == 0) {
    close(report[0]);
    close(errors[0]);
    dup2(errors[1], STDERR_FILENO);
    plan.Exec(report[1]);
  }
  close(report[1]);
  close(errors[1]);
  const int error = spawn::ReadStartReport(report[0]);
  if (error != 0) {
    close(errors[0]);
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    return error;
  }

  pid_ = child;
  errorFd_ = errors[0];
  fcntl(errorFd_, F_SETFL, fcntl(errorFd_, F_GETFL) | O_NONBLOCK);
  errorNotifier_ = std::make_unique<QSocketNotifier>(errorFd_, QSocketNotifier::Read);
  connect(errorNotifier_.get(), &QSocketNotifier::activated, this, &TWatchedProcess::ReadErrors);
  pidFd_ = OpenProcessDescriptor(child);
  if (pidFd_ >= 0) {
    endNotifier_ = std::make_unique<QSocketNotifier>(pidFd_, QSocketNotifier::Read);
    connect(endNotifier_.get(), &QSocketNotifier::activated, this, &TWatchedProcess::CheckEnded);
  } else {
    endPoll_ = std::make_unique<QTimer>();
    connect(endPoll_.get(), &QTimer::timeout, this, &TWatchedProcess::CheckEnded);
    endPoll_->start(kEndPollIntervalMs);
  }
  return 0;
}

void TWatchedProcess::ReadErrors() {
  char buffer[4096];
  while (errorFd_ >= 0) {
    const ssize_t got = read(errorFd_, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      // At its end the stream is of no more use; a program it was handed on
      // to may keep it open longer, which the end does not wait for.
      if (got == 0) errorNotifier_->setEnabled(false);
      return;
    }
    for (ssize_t i = 0; i < got; ++i) {
      const char c = buffer[i];
      if (c == '\n') {
        if (HoldsMoreThanBlanks(line_)) lastLine_ = line_;
        line_.clear();
      } else if (line_.size() < kMaxErrorLineBytes) {
        line_ += c;
      }
    }
  }
}

void TWatchedProcess::CheckEnded() {
  int status = 0;
  pid_t reaped;
  while ((reaped = waitpid(pid_, &status, WNOHANG)) < 0 && errno == EINTR) {
  }
  if (reaped == 0) return;  // still running
  ReadErrors();  // what it wrote just before it ended
  if (HoldsMoreThanBlanks(line_)) lastLine_ = line_;
  TProcessEnd end;
  if (reaped > 0 && WIFSIGNALED(status)) {
    end.Killed = true;
    end.Status = WTERMSIG(status);
  } else if (reaped > 0) {
    end.Status = WEXITSTATUS(status);
  }
  end.LastErrorLine = lastLine_;
  pid_ = -1;
  CloseAll();
  emit Finished(end);
}

void TWatchedProcess::CloseAll() {
  errorNotifier_.reset();
  endNotifier_.reset();
  endPoll_.reset();
  for (int* fd : {&errorFd_, &pidFd_}) {
    if (*fd >= 0) close(*fd);
    *fd = -1;
  }
}

}  // namespace platform
