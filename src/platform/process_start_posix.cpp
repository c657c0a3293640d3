#include "platform/process_start.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/process_spawn_posix.h"

namespace platform {

int StartProcessDetached(const std::string& program, const std::vector<std::string>& arguments,
                         const EnvironmentAdditions& environment) {
  if (program.empty()) return ENOENT;
  const spawn::TExecPlan plan(program, arguments, environment);

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
      spawn::WriteAll(report[1], &error, sizeof error);
      _exit(127);
    }
    if (grandchild == 0) plan.Exec(report[1]);
    _exit(0);  // the grandchild is now an orphan, adopted and reaped by init
  }

  close(report[1]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return spawn::ReadStartReport(report[0]);
}

}  // namespace platform
