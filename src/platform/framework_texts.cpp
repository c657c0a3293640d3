#include "framework_texts.h"

#include <QCoreApplication>

namespace platform {

QString FrameworkText(const char* text) { return QCoreApplication::translate("Framework", text); }

QString CannotOpenFileText(const QString& path) {
  return QCoreApplication::translate("Framework", "Cannot open file %1").arg(path);
}

QString CannotCreateFileText(const QString& path) {
  return QCoreApplication::translate("Framework", "Cannot create file %1").arg(path);
}

QString FileNotFoundText(const QString& path) {
  return QCoreApplication::translate("Framework", "File %1 not found").arg(path);
}

}  // namespace platform
