#include "calllog/call_csv_export.h"

#include <QTimer>
#include <limits>

#include "calllog/csv_writer.h"

TCallCsvExport::TCallCsvExport(TCallStore& store, const TCallFilter& filter, const QString& path,
                               QObject* parent)
    : QObject(parent),
      store_(store),
      filter_(filter),
      file_(path),
      before_(std::numeric_limits<qint64>::max()) {}

QStringList TCallCsvExport::Header() {
  return {QStringLiteral("start_utc"),       QStringLiteral("start_local"),
          QStringLiteral("line"),            QStringLiteral("number_received"),
          QStringLiteral("number"),          QStringLiteral("network_name"),
          QStringLiteral("caller"),          QStringLiteral("withheld"),
          QStringLiteral("out_of_area"),     QStringLiteral("ended"),
          QStringLiteral("duration"),        QStringLiteral("mode"),
          QStringLiteral("forwarding"),      QStringLiteral("forwarding_detail")};
}

QStringList TCallCsvExport::Fields(const TLoggedCall& call) {
  return {call.startUtc.toString(Qt::ISODate),
          call.LocalStart().toString(Qt::ISODate),
          call.line,
          call.numberReceived,
          call.numberDisplayed,
          call.networkName,
          call.matchedName,
          call.withheld ? QStringLiteral("1") : QStringLiteral("0"),
          call.outOfArea ? QStringLiteral("1") : QStringLiteral("0"),
          StoredWord(call.ending),
          call.durationSeconds ? QString::number(*call.durationSeconds) : QString(),
          StoredWord(call.mode),
          StoredWord(call.forwarding.kind),
          call.forwarding.detail};
}

void TCallCsvExport::Start() {
  if (!file_.open(QIODevice::WriteOnly) || file_.write(CsvRecord(Header())) < 0) {
    Fail(file_.errorString());
    return;
  }
  QTimer::singleShot(0, this, &TCallCsvExport::Step);
}

void TCallCsvExport::Step() {
  bool read = true;
  const std::vector<TLoggedCall> page = store_.Page(filter_, before_, kPageSize, &read);
  if (!read) {
    Fail(tr("The call log cannot be read."));
    return;
  }
  QByteArray bytes;
  for (const TLoggedCall& call : page) bytes += CsvRecord(Fields(call));
  if (!bytes.isEmpty() && file_.write(bytes) < 0) {
    Fail(file_.errorString());
    return;
  }
  written_ += int(page.size());
  if (int(page.size()) == kPageSize) {
    before_ = page.back().id;
    QTimer::singleShot(0, this, &TCallCsvExport::Step);
    return;
  }
  if (!file_.commit()) {
    Fail(file_.errorString());
    return;
  }
  emit Finished(written_, QString());
}

void TCallCsvExport::Fail(const QString& error) {
  file_.cancelWriting();
  emit Finished(written_, error.isEmpty() ? tr("The file cannot be written.") : error);
}
