#pragma once

#include <QTemporaryDir>

// Points the UUCP lock folder at a temporary folder for the whole test
// process (and the programs it starts), so tests that open lines never
// leave or meet lock files in the system's /var/lock.
inline void UsePrivateLockDir() {
  static QTemporaryDir locks;
  if (!qEnvironmentVariableIsSet("QUORVEL_LOCK_DIR"))
    qputenv("QUORVEL_LOCK_DIR", locks.path().toLocal8Bit());
}
