#include "app/tray_tooltip.h"

#include "app/quorvel_form.h"

QString TrayToolTipText(const QString& line, const QString& state) {
  const QString name = QString::fromUtf8(kTrayToolTip);
  if (line.isEmpty()) return name;
  return name + QStringLiteral(" - ") + line + QStringLiteral(": ") + state;
}
