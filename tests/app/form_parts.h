#pragma once

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <stdexcept>
#include <string>

#include "app/quorvel_form.h"

// The main window's controls and menu entries, found by their object names
// as a user finds them by their place. A missing one fails the test.
struct FormParts {
  explicit FormParts(const TQuorvelForm& form) : form_(form) {}

  template <class T>
  T* Find(const char* name) const {
    T* part = form_.findChild<T*>(QLatin1String(name));
    if (!part) throw std::runtime_error(std::string("the main window has no ") + name);
    return part;
  }

 private:
  const TQuorvelForm& form_;

 public:
  QLabel* const Image = Find<QLabel>("Image");
  QPushButton* const bSaveToDatabase = Find<QPushButton>("bSaveToDatabase");
  QListWidget* const lbModems = Find<QListWidget>("lbModems");
  QFrame* const Panel1 = Find<QFrame>("Panel1");
  QComboBox* const cbCallerName = Find<QComboBox>("cbCallerName");
  QLineEdit* const tbCallerID = Find<QLineEdit>("tbCallerID");

  QMenu* const File1 = Find<QMenu>("File1");
  QMenu* const Selectmodem1 = Find<QMenu>("Selectmodem1");
  QAction* const AddNetworkLine1 = Find<QAction>("AddNetworkLine1");
  QAction* const CallLog1 = Find<QAction>("CallLog1");
  QAction* const Region1 = Find<QAction>("Region1");
  QAction* const Exit1 = Find<QAction>("Exit1");
  QMenu* const Mode1 = Find<QMenu>("Mode1");
  QAction* const Active1 = Find<QAction>("Active1");
  QAction* const Passive1 = Find<QAction>("Passive1");
  QAction* const Notify1 = Find<QAction>("Notify1");
  QMenu* const Record1 = Find<QMenu>("Record1");
  QAction* const New1 = Find<QAction>("New1");
  QAction* const AddCurrent1 = Find<QAction>("AddCurrent1");
  QAction* const Delete1 = Find<QAction>("Delete1");
  QAction* const ChoosePicture1 = Find<QAction>("ChoosePicture1");
  QAction* const ImportContacts1 = Find<QAction>("ImportContacts1");
  QAction* const Setup1 = Find<QAction>("Setup1");
  QMenu* const Help1 = Find<QMenu>("Help1");
  QAction* const Help2 = Find<QAction>("Help2");
  QAction* const About1 = Find<QAction>("About1");

  QMenu* const PopupMenu = Find<QMenu>("PopupMenu");
  QAction* const Open1 = Find<QAction>("Open1");
  QAction* const CallLog2 = Find<QAction>("CallLog2");
  QAction* const Exit2 = Find<QAction>("Exit2");
};

// A click on the tray icon, also where the desktop shows no tray.
void ClickTrayIcon(TQuorvelForm& form, QSystemTrayIcon::ActivationReason reason);
