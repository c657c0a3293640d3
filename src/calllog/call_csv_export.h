#pragma once

#include <QObject>
#include <QSaveFile>
#include <QString>
#include <QStringList>

#include "calllog/call_store.h"

// Writes the calls matching a filter, newest first, to a CSV file: a header
// record, then one record per call (see CallCsvFields). A page of calls is
// written per turn of the event loop, so a large log never stalls it. The
// file appears complete or not at all.
class TCallCsvExport : public QObject {
  Q_OBJECT

 public:
  static constexpr int kPageSize = 2000;

  TCallCsvExport(TCallStore& store, const TCallFilter& filter, const QString& path,
                 QObject* parent = nullptr);

  // The header record's fields (stable: other tools read the file).
  static QStringList Header();
  // The fields of one call, in the header's order.
  static QStringList Fields(const TLoggedCall& call);

  void Start();

 signals:
  // `error` is empty on success.
  void Finished(int calls, const QString& error);

 private:
  void Step();
  void Fail(const QString& error);

  TCallStore& store_;
  TCallFilter filter_;
  QSaveFile file_;
  qint64 before_;
  int written_ = 0;
};
