#include "read_back.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>

QString ReadText(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList QueryRows(const QString& file, const QString& sql) {
  QStringList rows;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "e2e-reader");
    db.setDatabaseName(file);
    QSqlQuery query(db);
    if (db.open() && query.exec(sql)) {
      while (query.next()) rows << query.value(0).toString();
    }
  }
  QSqlDatabase::removeDatabase("e2e-reader");
  return rows;
}
