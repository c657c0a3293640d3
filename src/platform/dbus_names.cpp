#include "platform/dbus_names.h"

#include <QStringList>

namespace platform {
namespace {

constexpr int kMaxBusNameLength = 255;

bool IsElementCharacter(QChar c) {
  const char16_t code = c.unicode();
  return (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z') ||
         (code >= '0' && code <= '9') || code == '_' || code == '-';
}

}  // namespace

bool IsValidBusName(const QString& name) {
  if (name.isEmpty() || name.size() > kMaxBusNameLength) return false;
  const bool unique = name.startsWith(QLatin1Char(':'));
  const QStringList elements = (unique ? name.mid(1) : name).split(QLatin1Char('.'));
  if (elements.size() < 2) return false;
  for (const QString& element : elements) {
    if (element.isEmpty()) return false;
    if (!unique && element.front().isDigit()) return false;
    for (QChar c : element) {
      if (!IsElementCharacter(c)) return false;
    }
  }
  return true;
}

}  // namespace platform
