#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace platform {

// Sends `request` to every device of `paths` at once and collects what each
// sends back within `timeoutMs` (one shared time bound, not one per device).
// `complete` tells from the bytes so far that a device has answered in full.
// A device that cannot be opened gives an empty answer. Devices locked by a
// running process (see TUucpLock) are not touched; the others are locked
// while they are asked.
std::vector<QByteArray> QueryDevicesTogether(const QStringList& paths, const QByteArray& request,
                                             int timeoutMs,
                                             const std::function<bool(const QByteArray&)>& complete);

}  // namespace platform
