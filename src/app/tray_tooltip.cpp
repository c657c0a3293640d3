#include "app/tray_tooltip.h"

#include "app/quorvel_form.h"

QString TrayToolTipText(const QString& line, const QString& state, const QString& note) {
  QString tip = QString::fromUtf8(kTrayToolTip);
  if (!line.isEmpty()) tip += QStringLiteral(" - ") + line + QStringLiteral(": ") + state;
  if (!note.isEmpty()) tip += QLatin1Char('\n') + note;
  return tip;
}
