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
      handler_(db, view_, editor_, pictures_),
      connections_(ConnectLineMonitor(*parts.lineMonitor, handler_)) {
  // Errors of these handlers reach the application's general error report.
  TCallerEditor* editor = &editor_;
  const auto onAction = [this, editor](QAction* action, void (TCallerEditor::*handler)()) {
    connections_.push_back(QObject::connect(action, &QAction::triggered, action,
                                            [editor, handler] { (editor->*handler)(); }));
  };
  onAction(parts.newRecord, &TCallerEditor::NewClick);
  onAction(parts.addCurrent, &TCallerEditor::AddCurrent1Click);
  onAction(parts.deleteCurrent, &TCallerEditor::Delete1Click);

  QAbstractButton* save = parts.widgets.saveToDatabase;
  connections_.push_back(QObject::connect(save, &QAbstractButton::clicked, save,
                                          [editor] { editor->bSaveToDatabaseClick(); }));

  // Only the user's changes count: typing, or choosing an entry. Texts the
  // program sets itself do not.
  QComboBox* names = parts.widgets.callerName;
  connections_.push_back(QObject::connect(names->lineEdit(), &QLineEdit::textEdited, names,
                                          [editor] { editor->cbCallerNameChange(); }));
  connections_.push_back(QObject::connect(names, &QComboBox::textActivated, names,
                                          [editor] { editor->cbCallerNameChange(); }));
}

TCallerDesk::~TCallerDesk() {
  for (const QMetaObject::Connection& connection : connections_) QObject::disconnect(connection);
}
