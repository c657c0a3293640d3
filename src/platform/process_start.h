#pragma once

#include <string>
#include <utility>
#include <vector>

namespace platform {

// Environment entries added to (or replacing those of) the program's own.
using EnvironmentAdditions = std::vector<std::pair<std::string, std::string>>;

// Starts `program` with `arguments` and does not wait for it. A program named
// without a folder is searched for along PATH. Each argument reaches the
// program exactly as given: nothing is quoted or split. The new process is
// detached (its own session, not a child of this one), so nothing is left to
// reap. Returns 0 when the program runs, otherwise the error number of the
// failed start (ENOENT, ENOEXEC, E2BIG, ...).
int StartProcessDetached(const std::string& program, const std::vector<std::string>& arguments,
                         const EnvironmentAdditions& environment = {});

}  // namespace platform
