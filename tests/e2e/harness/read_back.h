#pragma once

#include <QString>
#include <QStringList>

// What the program wrote, read as another program would.

// The text of the file at `path`; "" when it cannot be read.
QString ReadText(const QString& path);

// The first column of each row `sql` gives on the SQLite file `file`;
// nothing when the file cannot be opened or the query fails.
QStringList QueryRows(const QString& file, const QString& sql);
