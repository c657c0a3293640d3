#include "platform/serial_ports.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace platform {
namespace {

constexpr const char* kTtyClass = "/sys/class/tty";
// What a serial port's "type" attribute says when no UART answered at boot.
constexpr const char* kUnknownUart = "0";

// "ttyS10" sorts after "ttyS9".
bool NameOrder(const QString& a, const QString& b) {
  static const QRegularExpression split(QStringLiteral("^(.*?)(\\d*)$"));
  const QRegularExpressionMatch ma = split.match(a);
  const QRegularExpressionMatch mb = split.match(b);
  if (ma.captured(1) != mb.captured(1)) return ma.captured(1) < mb.captured(1);
  return ma.captured(2).toULongLong() < mb.captured(2).toULongLong();
}

}  // namespace

QStringList SerialPortPaths() {
  QStringList names;
  const QDir ttys(QString::fromLatin1(kTtyClass));
  for (const QString& name : ttys.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System)) {
    // Consoles, pseudo-terminals and virtual terminals have no device behind them.
    if (!QFileInfo::exists(ttys.filePath(name + QStringLiteral("/device")))) continue;
    QFile type(ttys.filePath(name + QStringLiteral("/type")));
    if (type.open(QIODevice::ReadOnly) && type.readAll().trimmed() == kUnknownUart) continue;
    names << name;
  }
  std::sort(names.begin(), names.end(), NameOrder);
  QStringList paths;
  for (const QString& name : names) paths << QStringLiteral("/dev/") + name;
  return paths;
}

}  // namespace platform
