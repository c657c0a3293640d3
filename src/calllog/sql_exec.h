#pragma once

#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <functional>
#include <stdexcept>

class QSqlDatabase;

// A failed statement on the call log, with SQLite's own error.
class ESqlFailure : public std::runtime_error {
 public:
  explicit ESqlFailure(const QSqlError& error);
  const QSqlError& Error() const { return error_; }
  // SQLite's primary result code (SQLITE_CORRUPT is 11, SQLITE_FULL 13, ...), or -1.
  int Code() const;

 private:
  QSqlError error_;
};

// Runs one statement with its values bound in order (never pasted into the
// text); throws ESqlFailure when it fails. The query is positioned before
// its first row.
QSqlQuery Exec(QSqlDatabase& db, const QString& sql, const QVariantList& values = {});

// Runs `sql` and returns the first column of its first row (invalid when none).
QVariant ExecScalar(QSqlDatabase& db, const QString& sql, const QVariantList& values = {});

// Runs `statements` as one transaction: all of it is written or nothing.
// Throws ESqlFailure.
void InTransaction(QSqlDatabase& db, const std::function<void()>& statements);
