#include "quorvel_application.h"

#include <exception>

#include "platform/message_dialogs.h"

TQuorvelApplication::TQuorvelApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TQuorvelApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    platform::ShowGeneralErrorReport(error);
  } catch (...) {
    platform::ShowGeneralErrorReport(QCoreApplication::translate("TQuorvelApplication", kUnknownErrorText));
  }
  return false;
}
