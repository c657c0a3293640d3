#include "calls/caller_desk.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <exception>

#include "calls/line_monitor_wiring.h"
#include "platform/message_dialogs.h"

namespace {

// Runs `action` for a signal: an error it raises is shown by the general
// error report right here, so it never unwinds through Qt.
void Reporting(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& error) {
    platform::ShowGeneralErrorReport(error);
  }
}

bool OpensList(const QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress) return true;
  if (event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<const QKeyEvent*>(event);
  return key->key() == Qt::Key_F4 ||
         ((key->key() == Qt::Key_Down || key->key() == Qt::Key_Up) &&
          key->modifiers().testFlag(Qt::AltModifier));
}

}  // namespace

// Runs a function just before the user opens the name box's list.
class TCallerDesk::TListOpening : public QObject {
 public:
  TListOpening(QComboBox* box, std::function<void()> beforeOpening)
      : beforeOpening_(std::move(beforeOpening)) {
    box->installEventFilter(this);
    box->lineEdit()->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (OpensList(event)) Reporting(beforeOpening_);
    return false;
  }

 private:
  std::function<void()> beforeOpening_;
};

TCallerDesk::TCallerDesk(TIniDBase& db, const platform::TAppFolders& folders, const Parts& parts)
    : view_(parts.widgets, parts.isActiveMode),
      pictures_(folders.program, folders.data),
      editor_(db, view_, pictures_),
      handler_(db, view_, editor_, pictures_),
      connections_(ConnectLineMonitor(*parts.lineMonitor, handler_)) {
  TCallerEditor* editor = &editor_;
  const auto onAction = [this, editor](QAction* action, void (TCallerEditor::*handler)()) {
    if (action == nullptr) return;
    connections_.push_back(QObject::connect(action, &QAction::triggered, action, [editor, handler] {
      Reporting([editor, handler] { (editor->*handler)(); });
    }));
  };
  onAction(parts.newRecord, &TCallerEditor::NewClick);
  onAction(parts.addCurrent, &TCallerEditor::AddCurrent1Click);
  onAction(parts.deleteCurrent, &TCallerEditor::Delete1Click);
  onAction(parts.choosePicture, &TCallerEditor::ChoosePicture1Click);

  QAbstractButton* save = parts.widgets.saveToDatabase;
  connections_.push_back(QObject::connect(save, &QAbstractButton::clicked, save, [editor] {
    Reporting([editor] { editor->bSaveToDatabaseClick(); });
  }));

  // Only the user's changes count: typing, choosing an entry, or accepting
  // a completion. Texts the program sets itself do not.
  QComboBox* names = parts.widgets.callerName;
  const auto nameChange = [editor] { Reporting([editor] { editor->cbCallerNameChange(); }); };
  connections_.push_back(QObject::connect(names->lineEdit(), &QLineEdit::textEdited, names, nameChange));
  connections_.push_back(QObject::connect(names, &QComboBox::textActivated, names, nameChange));
  view_.NameCompletion().onAccepted = nameChange;

  // Other programs' changes to the database reach the list when it opens.
  listOpening_ = std::make_unique<TListOpening>(names, [editor] { editor->RefreshCallerNames(); });

  if (QAction* choose = parts.choosePicture) {
    // Enabled while the box names a listed caller.
    const auto update = [editor, choose] { choose->setEnabled(editor->CanChoosePicture()); };
    connections_.push_back(QObject::connect(names->lineEdit(), &QLineEdit::textChanged, choose, update));
    connections_.push_back(QObject::connect(names->lineEdit(), &QLineEdit::selectionChanged, choose, update));
    for (const auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved}) {
      connections_.push_back(QObject::connect(names->model(), signal, choose, update));
    }
    update();
  }
}

TCallerDesk::~TCallerDesk() {
  view_.NameCompletion().onAccepted = nullptr;
  for (const QMetaObject::Connection& connection : connections_) QObject::disconnect(connection);
}
