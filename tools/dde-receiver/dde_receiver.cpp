#include "dde_receiver.h"

#include <QDateTime>
#include <cstdio>

QString Quoted(const QString& text) {
  QString out = QStringLiteral("\"");
  for (QChar c : text) {
    switch (c.unicode()) {
      case '\\': out += QStringLiteral("\\\\"); break;
      case '"': out += QStringLiteral("\\\""); break;
      case '\n': out += QStringLiteral("\\n"); break;
      case '\r': out += QStringLiteral("\\r"); break;
      case '\t': out += QStringLiteral("\\t"); break;
      default:
        if (c.unicode() < 32 || c.unicode() == 127) {
          out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        } else {
          out += c;
        }
    }
  }
  return out + QLatin1Char('"');
}

namespace {

void PrintCall(const QString& what) {
  const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
  const QByteArray line = (stamp + QLatin1Char(' ') + what + QLatin1Char('\n')).toUtf8();
  std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stdout);
  std::fflush(stdout);
}

}  // namespace

void TDdeReceiver::Poke(const QString& topic, const QString& item, const QString& data) {
  PrintCall(QStringLiteral("Poke ") + Quoted(topic) + QLatin1Char(' ') + Quoted(item) +
            QLatin1Char(' ') + Quoted(data));
}

void TDdeReceiver::Execute(const QString& topic, const QString& command) {
  PrintCall(QStringLiteral("Execute ") + Quoted(topic) + QLatin1Char(' ') + Quoted(command));
}
