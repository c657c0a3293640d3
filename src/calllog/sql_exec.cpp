#include "calllog/sql_exec.h"

#include <QSqlDatabase>

ESqlFailure::ESqlFailure(const QSqlError& error)
    : std::runtime_error(error.text().toStdString()), error_(error) {}

int ESqlFailure::Code() const {
  bool ok = false;
  const int code = error_.nativeErrorCode().toInt(&ok);
  // Extended result codes carry the primary code in their low byte.
  return ok ? (code & 0xff) : -1;
}

QSqlQuery Exec(QSqlDatabase& db, const QString& sql, const QVariantList& values) {
  QSqlQuery query(db);
  query.setForwardOnly(true);
  if (!query.prepare(sql)) throw ESqlFailure(query.lastError());
  for (const QVariant& value : values) query.addBindValue(value);
  if (!query.exec()) throw ESqlFailure(query.lastError());
  return query;
}

QVariant ExecScalar(QSqlDatabase& db, const QString& sql, const QVariantList& values) {
  QSqlQuery query = Exec(db, sql, values);
  if (!query.next()) {
    if (query.lastError().isValid()) throw ESqlFailure(query.lastError());
    return QVariant();
  }
  return query.value(0);
}

void InTransaction(QSqlDatabase& db, const std::function<void()>& statements) {
  if (!db.transaction()) throw ESqlFailure(db.lastError());
  try {
    statements();
  } catch (...) {
    db.rollback();
    throw;
  }
  if (!db.commit()) {
    const QSqlError error = db.lastError();
    db.rollback();
    throw ESqlFailure(error);
  }
}
