#include "remote/profile_list.h"

#include <QRegularExpression>

namespace remote {

bool ProfileNameLess(const QString& a, const QString& b) {
  int c = QString::localeAwareCompare(a.toCaseFolded(), b.toCaseFolded());
  if (c == 0) c = QString::compare(a, b, Qt::CaseInsensitive);
  if (c == 0) c = QString::compare(a, b, Qt::CaseSensitive);
  return c < 0;
}

int SortedInsertPosition(const QStringList& names, const QString& name) {
  int pos = 0;
  while (pos < names.size() && !ProfileNameLess(name, names[pos])) ++pos;
  return pos;
}

int FindProfile(const QStringList& names, const QString& text) {
  for (int i = 0; i < names.size(); ++i) {
    if (names[i].compare(text, Qt::CaseInsensitive) == 0) return i;
  }
  return -1;
}

int FindCompletion(const QStringList& names, const QString& typed) {
  if (typed.isEmpty()) return -1;
  for (int i = 0; i < names.size(); ++i) {
    if (names[i].startsWith(typed, Qt::CaseInsensitive)) return i;
  }
  return -1;
}

int InitialProfilePosition(const QString& stored, int count) {
  // Only ever written as a decimal number; anything else (a hand edit, a
  // damaged file) is treated like no stored choice rather than like a
  // position outside the list.
  static const QRegularExpression decimal(QStringLiteral("^\\s*[+-]?\\d+\\s*$"));
  if (!decimal.match(stored).hasMatch()) return count > 0 ? 0 : -1;
  bool ok = false;
  const qlonglong pos = stored.trimmed().toLongLong(&ok);
  if (!ok || pos < 0 || pos >= count) return -1;  // also numbers too large for any list
  return static_cast<int>(pos);
}

}  // namespace remote
