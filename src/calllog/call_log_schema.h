#pragma once

class QSqlDatabase;

// The call log file's layout. Its version is SQLite's user_version: 0 for a
// new file, then one step per version, each run once in its own transaction.
// A file of a later version than this program knows is left untouched.
inline constexpr int kCallLogSchemaVersion = 2;

// The version stored in the open file.
int SchemaVersion(QSqlDatabase& db);

// Brings the file from its version up to `target` (at most
// kCallLogSchemaVersion). Throws ESqlFailure; a failed step leaves the file
// at the version before it.
void MigrateCallLog(QSqlDatabase& db, int target = kCallLogSchemaVersion);
