#pragma once

#include <QString>

namespace platform {

// Whether `name` may be used as a bus name on D-Bus: a unique name
// (":1.42") or a well-known one ("org.example.App"): at most 255
// characters, at least two dot-separated elements of ASCII letters, digits,
// "_" and "-", the elements of a well-known name not beginning with a digit.
bool IsValidBusName(const QString& name);

}  // namespace platform
