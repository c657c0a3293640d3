#include "calllog/call_log_schema.h"

#include <QSqlDatabase>
#include <QStringList>
#include <utility>
#include <vector>

#include "calllog/call_search.h"
#include "calllog/logged_call.h"
#include "calllog/sql_exec.h"

namespace {

// Version 1: one row per call, newest found by id, old ones by start time.
const QStringList kVersion1 = {
    QStringLiteral("CREATE TABLE calls ("
                   " id INTEGER PRIMARY KEY AUTOINCREMENT,"  // never reused: ids order the calls
                   " start_utc INTEGER NOT NULL,"  // milliseconds since 1970 UTC
                   " utc_offset INTEGER NOT NULL,"  // seconds east of UTC at the call
                   " line TEXT NOT NULL,"
                   " number_received TEXT NOT NULL,"
                   " number_displayed TEXT NOT NULL,"
                   " network_name TEXT NOT NULL,"
                   " matched_name TEXT NOT NULL,"
                   " withheld INTEGER NOT NULL,"
                   " out_of_area INTEGER NOT NULL,"
                   " ending TEXT NOT NULL,"  // unknown, answered, missed
                   " duration INTEGER,"      // seconds; NULL when not known
                   " mode TEXT NOT NULL,"    // active, passive
                   " forwarding TEXT NOT NULL,"
                   " forwarding_detail TEXT NOT NULL)"),
    QStringLiteral("CREATE INDEX calls_by_start ON calls(start_utc)"),
    QStringLiteral("CREATE INDEX calls_by_ending ON calls(ending)"),
    // Small values the log keeps about itself (the last call the user has seen).
    QStringLiteral("CREATE TABLE log_state (key TEXT PRIMARY KEY, value INTEGER NOT NULL)"),
};

// Version 2: the search index. Each call's folded search text is kept in a
// narrow table of its own (a short search reads it row by row, newest
// first), and a trigram index over it finds any longer part of a name or
// number without reading every row. Triggers keep the three in step; they
// are made after the texts of the calls already there have been filled in.
const QStringList kVersion2Tables = {
    QStringLiteral("CREATE TABLE call_search (id INTEGER PRIMARY KEY, text TEXT NOT NULL)"),
};
const QStringList kVersion2Index = {
    QStringLiteral("CREATE VIRTUAL TABLE calls_search USING fts5(text, content='call_search',"
                   " content_rowid='id', tokenize='trigram case_sensitive 1', detail='none',"
                   " columnsize=0)"),
    QStringLiteral("INSERT INTO calls_search(calls_search) VALUES ('rebuild')"),
    QStringLiteral("CREATE TRIGGER call_search_insert AFTER INSERT ON call_search BEGIN"
                   " INSERT INTO calls_search(rowid, text) VALUES (new.id, new.text); END"),
    QStringLiteral("CREATE TRIGGER call_search_delete AFTER DELETE ON call_search BEGIN"
                   " INSERT INTO calls_search(calls_search, rowid, text)"
                   " VALUES ('delete', old.id, old.text); END"),
    QStringLiteral("CREATE TRIGGER call_search_update AFTER UPDATE OF text ON call_search"
                   " WHEN old.text IS NOT new.text BEGIN"
                   " INSERT INTO calls_search(calls_search, rowid, text)"
                   " VALUES ('delete', old.id, old.text);"
                   " INSERT INTO calls_search(rowid, text) VALUES (new.id, new.text); END"),
    QStringLiteral("CREATE TRIGGER calls_delete AFTER DELETE ON calls BEGIN"
                   " DELETE FROM call_search WHERE id = old.id; END"),
};

// Calls written before version 2 get their search text now.
void FillSearchTexts(QSqlDatabase& db) {
  QSqlQuery rows = Exec(db, QStringLiteral("SELECT id, matched_name, network_name, "
                                           "number_displayed, number_received FROM calls"));
  std::vector<std::pair<qint64, QString>> texts;
  while (rows.next()) {
    TLoggedCall call;
    call.matchedName = rows.value(1).toString();
    call.networkName = rows.value(2).toString();
    call.numberDisplayed = rows.value(3).toString();
    call.numberReceived = rows.value(4).toString();
    texts.emplace_back(rows.value(0).toLongLong(), SearchTextOf(call));
  }
  rows.finish();
  for (const auto& [id, text] : texts)
    Exec(db, QStringLiteral("INSERT INTO call_search (id, text) VALUES (?, ?)"), {id, text});
}

void RunStep(QSqlDatabase& db, int version) {
  if (version == 1) {
    for (const QString& sql : kVersion1) Exec(db, sql);
  } else {
    for (const QString& sql : kVersion2Tables) Exec(db, sql);
    FillSearchTexts(db);
    for (const QString& sql : kVersion2Index) Exec(db, sql);
  }
  // PRAGMA takes no bound values; the version is our own number.
  Exec(db, QStringLiteral("PRAGMA user_version = %1").arg(version));
}

}  // namespace

int SchemaVersion(QSqlDatabase& db) {
  return ExecScalar(db, QStringLiteral("PRAGMA user_version")).toInt();
}

void MigrateCallLog(QSqlDatabase& db, int target) {
  for (int version = SchemaVersion(db) + 1; version <= target; ++version)
    InTransaction(db, [&db, version] { RunStep(db, version); });
}
