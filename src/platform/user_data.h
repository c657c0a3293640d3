#pragma once

#include <QString>

// Where the program keeps user data that is not the caller database (the
// call log): $XDG_DATA_HOME/Varnock/Quorvel ($HOME/.local/share when
// XDG_DATA_HOME is unset). The folder is not created here.
namespace platform {

QString UserDataFolder();

}  // namespace platform
