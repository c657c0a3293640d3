#include "startup_picture.h"

#include <QPainter>

QImage StartupPicture() {
  QImage built(QString::fromLatin1(kStartupPictureResource));
  if (!built.isNull()) return built;

  QImage drawn(197, 200, QImage::Format_RGB32);
  drawn.fill(QColor(0, 0, 128));
  QPainter painter(&drawn);
  painter.setPen(Qt::white);
  QFont font = painter.font();
  font.setPointSize(18);
  font.setBold(true);
  painter.setFont(font);
  painter.drawText(drawn.rect(), Qt::AlignCenter, QStringLiteral("Quorvel"));
  return drawn;
}
