// The main window's creation and the line selection.
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <exception>

#include "app/app_globals.h"
#include "app/notification_link.h"
#include "app/network_line_dialog.h"
#include "app/reg_setting.h"
#include "calls/caller_desk.h"
#include "inidb/caller_database_config.h"
#include "platform/delay_with_messages.h"
#include "platform/message_dialogs.h"
#include "quorvel_form.h"
#include "telephony/line_list.h"

void TQuorvelForm::FormCreate() {
  // The one place that decides where the program's files and the user's
  // data are.
  SetAppFolders(platform::PrepareAppFolders(QFileInfo(programFile_).absolutePath(),
                                           {QString::fromLatin1(kCallersFileName)}));
  ConnectCallHandling();
  OpenDatabase();

  // The manual is found through AppDirectory by the help hook.
  SetHelpTopic(QString::fromLatin1(kMainHelpTopic));
  helpContext_ = kMainHelpContext;

  fullHeight_ = height();

  if (RegSetting(QString::fromLatin1(kModeSetting), false) == QLatin1String(kActiveModeValue))
    Active1Click();
  else
    Passive1Click();

  BuildLineMenu();
  if (lbModems->count() == 0) {
    // Each port that was there but not usable, and why: a user outside the
    // "dialout" group learns it here.
    QString text = tr(kNoModemsText);
    const QStringList reasons = LineMonitor.UnofferedLines();
    if (!reasons.isEmpty()) text += QStringLiteral("\n\n") + reasons.join(QLatin1Char('\n'));
    platform::ShowErrorDialog(text);
    throw EQuitProgram{};
  }
  SelectStoredLine();
  AddTrayIcon();
  notifyAtStart_ = NotificationsOnAtStart(RegSetting(QString::fromLatin1(kNotifySetting), false),
                                          trayIcon_ != nullptr);
  Notify1->setChecked(notifyAtStart_);
}

void TQuorvelForm::ConnectCallHandling() {
  // The line monitor's OnCallerID and OnCallState, the Record menu,
  // cbCallerName's change and bSaveToDatabase's click.
  TCallerDesk::Parts parts;
  parts.widgets = {this, Image, cbCallerName, tbCallerID, bSaveToDatabase};
  parts.newRecord = New1;
  parts.addCurrent = AddCurrent1;
  parts.deleteCurrent = Delete1;
  parts.choosePicture = ChoosePicture1;
  parts.lineMonitor = &LineMonitor;
  parts.isActiveMode = [this] { return IsActiveMode(); };
  Calls = std::make_unique<TCallerDesk>(DB, AppFolders(), parts);
  Calls->Handler().SetHomeRegion(HomeRegionSetting());
  notifications_ =
      std::make_unique<TNotificationLink>(*Calls, LineMonitor, [this] { return NotificationsOn(); });
  // Passive mode hands each call to the remote action here:
  // Calls->Handler().RunRemoteAction, reading the call's data from
  // Calls->Handler().CurrentCallerID() and CurrentCallerName().
}

void TQuorvelForm::OpenDatabase() {
  // A database that cannot be read is reported, and creation goes on: the
  // line and the tray icon matter more than the caller list.
  try {
    ApplyCallerDatabaseConfig(DB);
    DB.SetFileName(QFile::encodeName(DataDirectory() + QString::fromLatin1(kCallersFileName))
                       .toStdString());
    const QSignalBlocker quiet(cbCallerName);
    cbCallerName->clear();
    for (const std::string& name : DB.GetRecordList())
      cbCallerName->addItem(QString::fromStdString(name));
    // Filling the list leaves the shown text as it was.
    cbCallerName->setCurrentIndex(-1);
    cbCallerName->setEditText(tr(kUnknownCallerText));
    Calls->Handler().PrepareNumberLookup();
  } catch (const std::exception& error) {
    platform::ShowGeneralErrorReport(error);
  }
}

void TQuorvelForm::BuildLineMenu() {
  // A port whose modem answers only after the listing is offered then.
  connect(&LineMonitor, &TLineMonitor::LineFound, this, &TQuorvelForm::AddLineItem, Qt::UniqueConnection);
  // LineCount is asked again on every pass, as the monitor may change it.
  for (int i = 0; i <= LineMonitor.LineCount() - 1; ++i) {
    const QString name = LineMonitor.GetLineName(i);
    LineMonitor.SetLineName(name);
    if (LineMonitor.LineCapability() > 0) AddLineItem(name);
  }
}

void TQuorvelForm::AddLineItem(const QString& name) {
  for (int i = 0; i < lbModems->count(); ++i) {
    if (lbModems->item(i)->text() == name) return;
  }
  auto* item = new QAction(name, Selectmodem1);
  Selectmodem1->insertAction(lineItemsEnd_, item);
  item->setCheckable(true);
  connect(item, &QAction::triggered, this, [this, item] { CommClick(item); });
  lbModems->addItem(name);
}

void TQuorvelForm::SelectStoredLine() {
  try {
    const QString stored = RegSetting(QString::fromLatin1(kModemSetting), false);
    LineMonitor.SetLineName(stored.isEmpty() ? lbModems->item(0)->text() : stored);
    LineMonitor.SetMediaMode(TLineMonitor::kDataModemMediaMode);
    LineMonitor.SetCallPrivilege(TLineMonitor::kMonitorOwnerPrivilege);
    LineMonitor.SetLineOpen(true);
  } catch (const ELineError& error) {
    ShowLineFailure(error.what());
  }
  TickWatchedLine();
}

void TQuorvelForm::TickWatchedLine() {
  const QString watched = LineMonitor.LineOpen() ? LineMonitor.LineName() : QString();
  // A stored line that is not offered but opened is watched all the same.
  if (!watched.isEmpty()) AddLineItem(watched);
  const QList<QAction*> items = Selectmodem1->actions();
  for (int i = 0; i < items.size() && i < lbModems->count(); ++i) {
    items[i]->setChecked(lbModems->item(i)->text() == watched);
  }
  UpdateTrayToolTip();
}

int TQuorvelForm::LineIndex(const QString& name) const {
  for (int i = 0; i < lbModems->count(); ++i) {
    if (lbModems->item(i)->text() == name) return i;
  }
  return 0;
}

void TQuorvelForm::CommClick(QAction* item) {
  const QList<QAction*> items = Selectmodem1->actions();
  for (int i = 0; i < lbModems->count() && i < items.size(); ++i) items[i]->setChecked(false);
  try {
    LineMonitor.SetLineOpen(false);
    DelayWithMessages(kLineSwitchPauseMs);
    LineMonitor.SetMediaMode(TLineMonitor::kDataModemMediaMode);
    LineMonitor.SetCallPrivilege(TLineMonitor::kMonitorOwnerPrivilege);
    LineMonitor.SetLineName(lbModems->item(int(Selectmodem1->actions().indexOf(item)))->text());
    DelayWithMessages(kLineSwitchPauseMs);
    LineMonitor.SetLineOpen(true);
  } catch (const ELineError& error) {
    ShowLineFailure(error.what());
  }
  // The mark follows the line actually watched, also when another choice
  // made while this one waited has taken over.
  TickWatchedLine();
}

void TQuorvelForm::AddNetworkLine1Click() {
  TNetworkLineDialog dialog(this);
  if (dialog.exec() != QDialog::Accepted) return;
  // The same server already listed under another spelling keeps its name.
  const QString name = LineList::AddExtraLine(dialog.Choice().LineName());
  AddLineItem(name);
  CommClick(Selectmodem1->actions().at(LineIndex(name)));
}

void TQuorvelForm::ShowLineFailure(const char* message) {
  platform::ShowErrorDialog(LineMonitor.LineName() + tr(kModemNotAvailableText) +
                            LineMessages::Shown(message));
}
