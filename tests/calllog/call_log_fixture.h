#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <vector>

#include "calllog/call_store.h"
#include "wait_until.h"

// A call log in a temporary folder, the problems its store reports, and
// calls to fill it with.
class CallLogFixture : public ::testing::Test {
 protected:
  CallLogFixture() : store(LogFile()) {
    store.SetProblemHandler([this](const TStoreProblem& p) { problems.push_back(p); });
  }

  QString LogFile() const { return dir.filePath("log/calls.sqlite"); }

  // A call `minutesAgo` minutes old.
  static TLoggedCall Call(const QString& name, const QString& number, int minutesAgo = 0,
                          TCallEnding ending = TCallEnding::kUnknown) {
    TLoggedCall call;
    call.startUtc = QDateTime::currentDateTimeUtc().addSecs(-60 * minutesAgo);
    call.startUtc.setMSecsSinceEpoch(call.startUtc.toMSecsSinceEpoch());  // whole milliseconds
    call.utcOffsetSeconds = 3600;
    call.line = "/dev/ttyACM0";
    call.numberReceived = number;
    call.numberDisplayed = number;
    call.networkName = name;
    call.ending = ending;
    return call;
  }

  // Stores `calls` in order (the last is the newest); returns their ids.
  std::vector<qint64> Fill(std::vector<TLoggedCall> calls) {
    std::vector<qint64> ids;
    for (TLoggedCall& call : calls) {
      EXPECT_TRUE(store.Insert(call));
      ids.push_back(call.id);
    }
    return ids;
  }

  // The names shown for `filter`, newest first.
  std::vector<QString> Names(const TCallFilter& filter) {
    std::vector<QString> names;
    for (const TLoggedCall& call : store.Page(filter, std::numeric_limits<qint64>::max(), 1000))
      names.push_back(call.ShownName());
    return names;
  }

  QTemporaryDir dir;
  TCallStore store;
  std::vector<TStoreProblem> problems;
};

// Runs `sql` on `file` through a connection of its own: the first column of
// the first row, nothing when there is none, "error: ..." when it fails.
inline QVariant QueryFile(const QString& file, const QString& sql) {
  QVariant result;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "test-reader");
    db.setDatabaseName(file);
    if (db.open()) {
      QSqlQuery query(db);
      if (!query.exec(sql)) result = "error: " + query.lastError().text();
      else if (query.next()) result = query.value(0);
    } else {
      result = "error: " + db.lastError().text();
    }
  }
  QSqlDatabase::removeDatabase("test-reader");
  return result;
}
