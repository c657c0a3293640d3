#pragma once

#include <QStringList>
#include <vector>

namespace platform {

// For each device path, whether another process holds the device open (a
// GPS daemon, a UPS monitor, a terminal program). Paths are compared after
// following symbolic links. Processes whose open files this user may not
// see are not counted; this process never is.
std::vector<bool> HeldByOtherProcesses(const QStringList& paths);

}  // namespace platform
