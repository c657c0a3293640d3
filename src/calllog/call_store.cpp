#include "calllog/call_store.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <atomic>

#include "calllog/call_log_schema.h"
#include "calllog/call_search.h"
#include "calllog/sql_exec.h"

namespace {

constexpr char kDriver[] = "QSQLITE";
// A lock held by another program (say, a tool reading the log) is waited
// for only briefly: the event loop must not stall.
constexpr char kConnectOptions[] = "QSQLITE_BUSY_TIMEOUT=20";
// SQLite's result codes for a file that is not, or no longer, a database.
constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteNotADatabase = 26;
constexpr char kDamagedSuffix[] = ".damaged-";
constexpr char kMissed[] = "missed";

const QString kColumns = QStringLiteral(
    "c.id, c.start_utc, c.utc_offset, c.line, c.number_received, c.number_displayed,"
    " c.network_name, c.matched_name, c.withheld, c.out_of_area, c.ending, c.duration,"
    " c.mode, c.forwarding, c.forwarding_detail");

// Text columns hold "" rather than NULL: Qt binds a null QString as NULL.
QString Text(const QString& text) { return text.isNull() ? QStringLiteral("") : text; }

// The stored columns of `call` in the order of kColumns without the id.
QVariantList ColumnValues(const TLoggedCall& call) {
  return {call.startUtc.toMSecsSinceEpoch(),
          call.utcOffsetSeconds,
          Text(call.line),
          Text(call.numberReceived),
          Text(call.numberDisplayed),
          Text(call.networkName),
          Text(call.matchedName),
          call.withheld ? 1 : 0,
          call.outOfArea ? 1 : 0,
          StoredWord(call.ending),
          call.durationSeconds ? QVariant(*call.durationSeconds) : QVariant(),
          StoredWord(call.mode),
          Text(StoredWord(call.forwarding.kind)),
          Text(call.forwarding.detail)};
}

TLoggedCall CallFromRow(const QSqlQuery& row) {
  TLoggedCall call;
  call.id = row.value(0).toLongLong();
  call.startUtc = QDateTime::fromMSecsSinceEpoch(row.value(1).toLongLong(), Qt::UTC);
  call.utcOffsetSeconds = row.value(2).toInt();
  call.line = row.value(3).toString();
  call.numberReceived = row.value(4).toString();
  call.numberDisplayed = row.value(5).toString();
  call.networkName = row.value(6).toString();
  call.matchedName = row.value(7).toString();
  call.withheld = row.value(8).toInt() != 0;
  call.outOfArea = row.value(9).toInt() != 0;
  call.ending = EndingFromWord(row.value(10).toString());
  if (!row.value(11).isNull()) call.durationSeconds = row.value(11).toInt();
  call.mode = ModeFromWord(row.value(12).toString());
  call.forwarding = {ForwardingFromWord(row.value(13).toString()), row.value(14).toString()};
  return call;
}

// A GLOB pattern that finds `needle` anywhere: its wildcard characters are
// bracketed so they stand for themselves.
QString ContainsPattern(const QString& needle) {
  QString pattern = QStringLiteral("*");
  for (const QChar c : needle) {
    if (c == u'*' || c == u'?' || c == u'[') pattern += u'[' + QString(c) + u']';
    else pattern += c;
  }
  return pattern + u'*';
}

// The trigram index finds needles of three characters or more.
constexpr int kIndexedNeedleLength = 3;

}  // namespace

TCallStore::TCallStore(QString path) : path_(std::move(path)) {
  static std::atomic<int> counter{0};
  connection_ = QStringLiteral("quorvel-calllog-%1").arg(++counter);
}

TCallStore::~TCallStore() { Close(); }

bool TCallStore::Open() {
  return Run([](QSqlDatabase&) {});
}

void TCallStore::Close() {
  if (QSqlDatabase::contains(connection_)) {
    QSqlDatabase::database(connection_, false).close();
    QSqlDatabase::removeDatabase(connection_);
  }
  open_ = false;
}

bool TCallStore::OpenFile() {
  if (!QSqlDatabase::isDriverAvailable(QString::fromLatin1(kDriver))) {
    Report(TStoreProblem::Kind::kNoDriver, QString::fromLatin1(kDriver));
    return false;
  }
  const QString folder = QFileInfo(path_).absolutePath();
  if (!QDir().mkpath(folder)) {
    Report(TStoreProblem::Kind::kUnwritable, folder);
    return false;
  }
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QString::fromLatin1(kDriver), connection_);
    db.setDatabaseName(path_);
    db.setConnectOptions(QString::fromLatin1(kConnectOptions));
    open_ = true;  // from here on Close() undoes what was done
    if (!db.open()) throw ESqlFailure(db.lastError());
  }
  QSqlDatabase db = QSqlDatabase::database(connection_, false);
  if (!Configure(db)) {
    db = QSqlDatabase();
    Close();
    Report(TStoreProblem::Kind::kTooNew, path_);
    return false;
  }
  return true;
}

bool TCallStore::Configure(QSqlDatabase& db) {
  // Readers never wait for the writer; a commit costs no flush to disk,
  // and an ended process (even killed) loses nothing that was committed.
  Exec(db, QStringLiteral("PRAGMA journal_mode = WAL"));
  Exec(db, QStringLiteral("PRAGMA synchronous = NORMAL"));
  // A small page cache: the log is read by index, and idle memory stays low.
  Exec(db, QStringLiteral("PRAGMA cache_size = -64"));
  if (SchemaVersion(db) > kCallLogSchemaVersion) return false;
  MigrateCallLog(db);
  return true;
}

bool TCallStore::Run(const std::function<void(QSqlDatabase&)>& operation) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    try {
      if (!open_ && !OpenFile()) return false;
      QSqlDatabase db = QSqlDatabase::database(connection_, false);
      operation(db);
      return true;
    } catch (const ESqlFailure& failure) {
      Close();
      const int code = failure.Code();
      if (code == kSqliteCorrupt || code == kSqliteNotADatabase) {
        if (attempt == 0 && MoveDamagedFileAside()) continue;
        return false;
      }
      Report(TStoreProblem::Kind::kUnwritable, failure.Error().databaseText().isEmpty()
                                                   ? failure.Error().text()
                                                   : failure.Error().databaseText());
      return false;
    }
  }
  return false;
}

bool TCallStore::MoveDamagedFileAside() {
  const QString base = path_ + QLatin1String(kDamagedSuffix) +
                       QDate::currentDate().toString(Qt::ISODate);
  QString target = base;
  for (int n = 2; QFileInfo::exists(target); ++n) target = base + u'-' + QString::number(n);
  if (!QFile::rename(path_, target)) {
    Report(TStoreProblem::Kind::kUnwritable, path_);
    return false;
  }
  // The journal belongs to the damaged file; a new file must not read it.
  const QString wal = path_ + QStringLiteral("-wal");
  if (QFileInfo::exists(wal) && !QFile::rename(wal, target + QStringLiteral("-wal")))
    QFile::remove(wal);
  QFile::remove(path_ + QStringLiteral("-shm"));
  Report(TStoreProblem::Kind::kDamaged, target);
  return true;
}

void TCallStore::Report(TStoreProblem::Kind kind, const QString& detail) {
  if (problems_) problems_({kind, detail});
}

bool TCallStore::Insert(TLoggedCall& call) {
  return Run([&call](QSqlDatabase& db) {
    qint64 id = 0;
    InTransaction(db, [&] {
      const QSqlQuery query = Exec(
          db,
          QStringLiteral("INSERT INTO calls (start_utc, utc_offset, line, number_received,"
                         " number_displayed, network_name, matched_name, withheld, out_of_area,"
                         " ending, duration, mode, forwarding, forwarding_detail)"
                         " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
          ColumnValues(call));
      id = query.lastInsertId().toLongLong();
      Exec(db, QStringLiteral("INSERT INTO call_search (id, text) VALUES (?, ?)"),
           {id, SearchTextOf(call)});
    });
    call.id = id;  // only once the call is really stored
  });
}

bool TCallStore::Update(const TLoggedCall& call) {
  QVariantList values = ColumnValues(call);
  values << call.id;
  return Run([&values, &call](QSqlDatabase& db) {
    InTransaction(db, [&] {
      Exec(db,
           QStringLiteral("UPDATE calls SET start_utc = ?, utc_offset = ?, line = ?,"
                          " number_received = ?, number_displayed = ?, network_name = ?,"
                          " matched_name = ?, withheld = ?, out_of_area = ?, ending = ?,"
                          " duration = ?, mode = ?, forwarding = ?, forwarding_detail = ?"
                          " WHERE id = ?"),
           values);
      Exec(db, QStringLiteral("UPDATE call_search SET text = ? WHERE id = ?"),
           {SearchTextOf(call), call.id});
    });
  });
}

bool TCallStore::Delete(qint64 id) {
  return Run([id](QSqlDatabase& db) {
    Exec(db, QStringLiteral("DELETE FROM calls WHERE id = ?"), {id});
  });
}

bool TCallStore::Clear() {
  // A new file rather than deleting row by row: quick at any size, and the
  // old calls do not linger in freed pages.
  Close();
  for (const QString& file : {path_, path_ + QStringLiteral("-wal"), path_ + QStringLiteral("-shm")}) {
    if (QFileInfo::exists(file) && !QFile::remove(file)) {
      Report(TStoreProblem::Kind::kUnwritable, file);
      return false;
    }
  }
  return Open();
}

std::vector<TLoggedCall> TCallStore::Select(const TCallFilter& filter, const QString& idCondition,
                                            qint64 id, int limit, bool* ok) {
  const QString needle = SearchNeedle(filter.text);
  QString sql;
  QVariantList values;
  // The search index hands out its rows newest first only when ordered by
  // its own rowid; ordered by the table's id they would all be read and sorted.
  QString order = QStringLiteral("c.id");
  if (needle.size() >= kIndexedNeedleLength) {
    order = QStringLiteral("s.rowid");
    sql = QStringLiteral("SELECT %1 FROM calls_search s JOIN calls c ON c.id = s.rowid"
                         " WHERE s.text GLOB ? AND s.rowid %2 ?")
              .arg(kColumns, idCondition);
    values << ContainsPattern(needle);
  } else if (!needle.isEmpty()) {
    // Too short for the index: the narrow table is read from the newest call.
    order = QStringLiteral("t.id");
    sql = QStringLiteral("SELECT %1 FROM call_search t JOIN calls c ON c.id = t.id"
                         " WHERE instr(t.text, ?) > 0 AND t.id %2 ?")
              .arg(kColumns, idCondition);
    values << needle;
  } else {
    sql = QStringLiteral("SELECT %1 FROM calls c WHERE c.id %2 ?").arg(kColumns, idCondition);
  }
  values << id;
  if (filter.missedOnly) {
    sql += QStringLiteral(" AND c.ending = ?");
    values << QString::fromLatin1(kMissed);
  }
  sql += QStringLiteral(" ORDER BY %1 DESC").arg(order);
  if (limit > 0) {
    sql += QStringLiteral(" LIMIT ?");
    values << limit;
  }
  std::vector<TLoggedCall> calls;
  const bool read = Run([&](QSqlDatabase& db) {
    calls.clear();
    QSqlQuery rows = Exec(db, sql, values);
    while (rows.next()) calls.push_back(CallFromRow(rows));
    if (rows.lastError().isValid()) throw ESqlFailure(rows.lastError());
  });
  if (!read) calls.clear();
  if (ok) *ok = read;
  return calls;
}

std::vector<TLoggedCall> TCallStore::Page(const TCallFilter& filter, qint64 beforeId, int limit,
                                          bool* ok) {
  return Select(filter, QStringLiteral("<"), beforeId, limit, ok);
}

std::vector<TLoggedCall> TCallStore::Newer(const TCallFilter& filter, qint64 afterId) {
  return Select(filter, QStringLiteral(">"), afterId, 0, nullptr);
}

std::optional<TLoggedCall> TCallStore::Get(qint64 id) {
  std::optional<TLoggedCall> call;
  Run([&](QSqlDatabase& db) {
    QSqlQuery row =
        Exec(db, QStringLiteral("SELECT %1 FROM calls c WHERE c.id = ?").arg(kColumns), {id});
    if (row.next()) call = CallFromRow(row);
  });
  return call;
}

int TCallStore::UnseenMissedCount() {
  int count = 0;
  Run([&count](QSqlDatabase& db) {
    count = ExecScalar(db, QStringLiteral("SELECT count(*) FROM calls WHERE ending = ? AND id >"
                                          " coalesce((SELECT value FROM log_state"
                                          " WHERE key = 'last_seen_id'), 0)"),
                       {QString::fromLatin1(kMissed)})
                .toInt();
  });
  return count;
}

bool TCallStore::MarkAllSeen() {
  return Run([](QSqlDatabase& db) {
    Exec(db, QStringLiteral("INSERT OR REPLACE INTO log_state (key, value)"
                            " SELECT 'last_seen_id', coalesce(max(id), 0) FROM calls"));
  });
}

int TCallStore::PruneStep(const std::optional<QDateTime>& olderThan, qint64 cap, int batch) {
  int deleted = 0;
  const bool ok = Run([&](QSqlDatabase& db) {
    deleted = 0;
    if (olderThan) {
      const QSqlQuery old = Exec(db,
                                 QStringLiteral("DELETE FROM calls WHERE id IN (SELECT id FROM calls"
                                                " WHERE start_utc < ? ORDER BY start_utc LIMIT ?)"),
                                 {olderThan->toMSecsSinceEpoch(), batch});
      deleted += old.numRowsAffected();
    }
    if (deleted >= batch) return;
    // Ids only grow, so the newest `cap` calls have the highest `cap` ids;
    // after deletions fewer calls may be kept, never more.
    const qint64 newest = ExecScalar(db, QStringLiteral("SELECT coalesce(max(id), 0) FROM calls"))
                              .toLongLong();
    if (newest <= cap) return;
    const QSqlQuery over = Exec(db,
                                QStringLiteral("DELETE FROM calls WHERE id IN (SELECT id FROM calls"
                                               " WHERE id <= ? ORDER BY id LIMIT ?)"),
                                {newest - cap, batch - deleted});
    deleted += over.numRowsAffected();
  });
  return ok ? deleted : -1;
}

void TCallStore::ReleaseMemory() {
  if (!open_) return;
  Run([](QSqlDatabase& db) { Exec(db, QStringLiteral("PRAGMA shrink_memory")); });
}
