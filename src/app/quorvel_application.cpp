#include "quorvel_application.h"

#include <exception>

#include "platform/message_dialogs.h"

TQuorvelApplication::TQuorvelApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TQuorvelApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    platform::ShowGeneralErrorReport(QString::fromUtf8(error.what()));
  } catch (...) {
    platform::ShowGeneralErrorReport(QString::fromUtf8(kUnknownErrorText));
  }
  return false;
}
