#pragma once

#include <QApplication>

// The application object. Whatever escapes an event handler ends that
// handler and is shown by the general error report; the program carries on.
class TQuorvelApplication : public QApplication {
  Q_OBJECT
 public:
  TQuorvelApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;
};

inline constexpr char kUnknownErrorText[] = QT_TRANSLATE_NOOP("TQuorvelApplication", "Unknown error");
