// The least a Qt program does to show a tray icon, as the yardstick for the
// program's own start-up time: an application, an icon, show, event loop.
#include <QApplication>
#include <QPixmap>
#include <QSystemTrayIcon>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  app.setQuitOnLastWindowClosed(false);
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::darkBlue);
  QSystemTrayIcon icon{QIcon(pixmap)};
  icon.setToolTip(QStringLiteral("minimal"));
  icon.show();
  return app.exec();
}
