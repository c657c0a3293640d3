#include "calls/caller_desk.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "calls/line_monitor_wiring.h"

TCallerDesk::TCallerDesk(TIniDBase& db, const QString& appDirectory, const Parts& parts)
    : view_(parts.widgets, parts.isActiveMode),
      pictures_(appDirectory),
      editor_(db, view_, pictures_),
      handler_(db, view_, editor_, pictures_) {
  // Errors of these handlers reach the application's general error report.
  TCallerEditor* editor = &editor_;
  QObject::connect(parts.newRecord, &QAction::triggered, parts.newRecord,
                   [editor] { editor->NewClick(); });
  QObject::connect(parts.addCurrent, &QAction::triggered, parts.addCurrent,
                   [editor] { editor->AddCurrent1Click(); });
  QObject::connect(parts.deleteCurrent, &QAction::triggered, parts.deleteCurrent,
                   [editor] { editor->Delete1Click(); });
  QObject::connect(parts.widgets.saveToDatabase, &QAbstractButton::clicked,
                   parts.widgets.saveToDatabase, [editor] { editor->bSaveToDatabaseClick(); });

  // Only the user's changes count: typing, or choosing an entry. Texts the
  // program sets itself do not.
  QComboBox* names = parts.widgets.callerName;
  QObject::connect(names->lineEdit(), &QLineEdit::textEdited, names,
                   [editor] { editor->cbCallerNameChange(); });
  QObject::connect(names, &QComboBox::textActivated, names,
                   [editor] { editor->cbCallerNameChange(); });

  ConnectLineMonitor(*parts.lineMonitor, handler_);
}
