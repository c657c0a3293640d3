#include "quorvel_form.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QWhatsThis>
#include <exception>

#include "app/app_globals.h"
#include "app/app_help.h"
#include "app/notification_link.h"
#include "app/program_icon.h"
#include "app/reg_setting.h"
#include "app/tray_tooltip.h"
#include "calls/caller_desk.h"
#include "calls/caller_pictures.h"
#include "contacts/import_dialog.h"
#include "numbers/region_dialog.h"
#include "platform/message_dialogs.h"

namespace {

constexpr char kAboutCaption[] = QT_TRANSLATE_NOOP("TQuorvelForm", "About Quorvel");
constexpr char kFormFont[] = "MS Sans Serif";
constexpr int kFormFontPointSize = 8;
// The import's summary lists this many problems; the rest are counted.
constexpr int kImportListedProblems = 15;

// Gives a control or menu entry its name as object name.
template <class T>
T* Named(T* object, const char* name) {
  object->setObjectName(QLatin1String(name));
  return object;
}

}  // namespace

TQuorvelForm::TQuorvelForm(const QString& programFile, QWidget* parent)
    : QMainWindow(parent),
      programFile_(programFile.isEmpty() ? QCoreApplication::applicationFilePath() : programFile) {
  setWindowTitle(tr(kFormCaption));
  setWindowIcon(ProgramIcon());
  // A single fixed border, the system menu, the close and the caption help
  // button; no minimise or maximise buttons.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                 Qt::WindowContextHelpButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setFont(QFont(QString::fromLatin1(kFormFont), kFormFontPointSize));

  BuildMenus();
  BuildClientArea();

  int menuHeight = menuBar()->heightForWidth(kClientWidth);
  if (menuHeight < 0) menuHeight = menuBar()->sizeHint().height();
  setFixedSize(kClientWidth, menuHeight + kClientHeight);
  if (const QScreen* screen = this->screen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
  }

  // F1 on the window asks for its help like the caption help button.
  auto* f1 = new QShortcut(QKeySequence::HelpContents, this);
  connect(f1, &QShortcut::activated, this, &TQuorvelForm::RequestHelp);
  connect(&LineMonitor, &TLineMonitor::LineStateChanged, this, &TQuorvelForm::UpdateTrayToolTip);
}

TQuorvelForm::~TQuorvelForm() = default;

void TQuorvelForm::BuildMenus() {
  menuBar()->setNativeMenuBar(false);

  File1 = Named(menuBar()->addMenu(tr("&File")), "File1");
  Selectmodem1 = Named(File1->addMenu(tr("&Select modem")), "Selectmodem1");
  lineItemsEnd_ = Selectmodem1->addSeparator();
  AddNetworkLine1 = Named(Selectmodem1->addAction(tr("Add &Network Line...")), "AddNetworkLine1");
  connect(AddNetworkLine1, &QAction::triggered, this, &TQuorvelForm::AddNetworkLine1Click);
  CallLog1 = Named(File1->addAction(tr("Call &Log...")), "CallLog1");
  CallLog1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
  connect(CallLog1, &QAction::triggered, this, &TQuorvelForm::CallLogRequested);
  Region1 = Named(File1->addAction(tr("&Region...")), "Region1");
  connect(Region1, &QAction::triggered, this, &TQuorvelForm::Region1Click);
  File1->addSeparator();
  Exit1 = Named(File1->addAction(tr("&Exit")), "Exit1");
  connect(Exit1, &QAction::triggered, this, &TQuorvelForm::Exit1Click);

  Mode1 = Named(menuBar()->addMenu(tr("&Mode")), "Mode1");
  Active1 = Named(Mode1->addAction(tr("&Active")), "Active1");
  Passive1 = Named(Mode1->addAction(tr("&Passive")), "Passive1");
  Active1->setCheckable(true);
  Passive1->setCheckable(true);
  connect(Active1, &QAction::triggered, this, &TQuorvelForm::Active1Click);
  connect(Passive1, &QAction::triggered, this, &TQuorvelForm::Passive1Click);
  Mode1->addSeparator();
  Notify1 = Named(Mode1->addAction(tr("Desktop &Notifications")), "Notify1");
  Notify1->setCheckable(true);

  Record1 = Named(menuBar()->addMenu(tr("&Record")), "Record1");
  New1 = Named(Record1->addAction(tr("&New")), "New1");
  AddCurrent1 = Named(Record1->addAction(tr("&Add/Save Current")), "AddCurrent1");
  Delete1 = Named(Record1->addAction(tr("&Delete Current")), "Delete1");
  ChoosePicture1 = Named(Record1->addAction(tr("Choose &Picture...")), "ChoosePicture1");
  Record1->addSeparator();
  ImportContacts1 = Named(Record1->addAction(tr("&Import Contacts...")), "ImportContacts1");
  connect(ImportContacts1, &QAction::triggered, this, &TQuorvelForm::ImportContacts1Click);

  Setup1 = Named(menuBar()->addAction(tr("&Setup")), "Setup1");
  connect(Setup1, &QAction::triggered, this, &TQuorvelForm::Setup1Click);

  Help1 = Named(menuBar()->addMenu(tr("&?")), "Help1");
  Help2 = Named(Help1->addAction(tr("&Help")), "Help2");
  Help1->addSeparator();
  About1 = Named(Help1->addAction(tr("&About")), "About1");
  connect(Help2, &QAction::triggered, this, &TQuorvelForm::Help2Click);
  connect(About1, &QAction::triggered, this, &TQuorvelForm::About1Click);

  PopupMenu = Named(new QMenu(this), "PopupMenu");
  Open1 = Named(PopupMenu->addAction(tr("&Open")), "Open1");
  CallLog2 = Named(PopupMenu->addAction(tr("Call &Log")), "CallLog2");
  PopupMenu->addSeparator();
  Exit2 = Named(PopupMenu->addAction(tr("&Exit")), "Exit2");
  connect(CallLog2, &QAction::triggered, this, &TQuorvelForm::CallLogRequested);
  connect(Open1, &QAction::triggered, this, &TQuorvelForm::Open1Click);
  connect(Exit2, &QAction::triggered, this, &TQuorvelForm::Exit2Click);
}

void TQuorvelForm::BuildClientArea() {
  auto* client = new QWidget(this);
  setCentralWidget(client);

  Image = Named(new QLabel(client), "Image");
  Image->setGeometry(0, 0, kClientWidth, kClientHeight - kPanelHeight);
  Image->setAlignment(Qt::AlignCenter);
  Image->setScaledContents(true);
  Image->setPixmap(QPixmap::fromImage(calls::StartupPicture()));

  bSaveToDatabase = Named(new QPushButton(tr(kSaveToDatabaseCaption), client), "bSaveToDatabase");
  bSaveToDatabase->setGeometry(16, 180, 163, 17);
  bSaveToDatabase->hide();

  lbModems = Named(new QListWidget(client), "lbModems");
  lbModems->hide();

  Panel1 = Named(new QFrame(client), "Panel1");
  Panel1->setFrameShape(QFrame::NoFrame);
  Panel1->setGeometry(0, kClientHeight - kPanelHeight, kClientWidth, kPanelHeight);

  cbCallerName = Named(new QComboBox(Panel1), "cbCallerName");
  cbCallerName->setEditable(true);
  cbCallerName->setInsertPolicy(QComboBox::NoInsert);
  cbCallerName->setGeometry(0, 1, 198, 21);
  cbCallerName->setEditText(tr(kUnknownCallerText));

  tbCallerID = Named(new QLineEdit(tr(kNotTransmittedText), Panel1), "tbCallerID");
  tbCallerID->setGeometry(0, 25, 198, 21);
  tbCallerID->setToolTip(tr(kCallerIdHint));

  bSaveToDatabase->raise();
  imageHeight_ = Image->height();
  panelHeight_ = Panel1->height();
}

bool TQuorvelForm::IsActiveMode() const { return Active1->isChecked(); }

bool TQuorvelForm::NotificationsOn() const { return Notify1->isChecked(); }

void TQuorvelForm::Active1Click() {
  setFixedHeight(fullHeight_);
  Record1->menuAction()->setVisible(true);
  Setup1->setVisible(false);
  Passive1->setChecked(false);
  Active1->setChecked(true);
  Image->show();
  Panel1->show();
}

void TQuorvelForm::Passive1Click() {
  // The heights the two parts last had while visible, so choosing Passive
  // twice gives the same height.
  if (!Image->isHidden()) imageHeight_ = Image->height();
  if (!Panel1->isHidden()) panelHeight_ = Panel1->height();
  setFixedHeight(fullHeight_ - imageHeight_ - panelHeight_);
  Record1->menuAction()->setVisible(false);
  Setup1->setVisible(true);
  Passive1->setChecked(true);
  Active1->setChecked(false);
  Image->hide();
  Panel1->hide();
}

void TQuorvelForm::AddTrayIcon() {
  if (!platform::WaitForSystemTray(trayHostWaitMs_)) {
    // Without a tray a hidden program could be neither reached nor ended:
    // it stays on the taskbar, minimised.
    showMinimized();
    return;
  }
  trayIcon_ = std::make_unique<QSystemTrayIcon>(windowIcon());
  UpdateTrayToolTip();
  connect(trayIcon_.get(), &QSystemTrayIcon::activated, this, &TQuorvelForm::SysTrayPopUp);
  trayIcon_->show();
}

void TQuorvelForm::SetTrayToolTipNote(const QString& note) {
  trayToolTipNote_ = note;
  UpdateTrayToolTip();
}

void TQuorvelForm::UpdateTrayToolTip() {
  if (!trayIcon_) return;
  trayIcon_->setToolTip(TrayToolTipText(LineMonitor.LineName(), LineMonitor.LineState(), trayToolTipNote_));
}

void TQuorvelForm::SysTrayPopUp(QSystemTrayIcon::ActivationReason reason) {
  // The right button opens the menu; the primary click (a left click, or
  // "Activate" on a status-notifier panel) does what "&Open" does.
  if (reason == QSystemTrayIcon::Context) PopupMenu->popup(QCursor::pos());
  else if (reason == QSystemTrayIcon::Trigger) Open1Click();
}

void TQuorvelForm::Open1Click() {
  if (isMinimized()) showNormal();
  else show();
  raise();
  activateWindow();
  if (Calls) Calls->Editor().DisplayFirstRecord();
}

void TQuorvelForm::Exit2Click() { Exit1Click(); }

void TQuorvelForm::Exit1Click() {
  RegSetting(QString::fromLatin1(kModemSetting), true, LineMonitor.LineName());
  RegSetting(QString::fromLatin1(kModeSetting), true,
             QString::fromLatin1(IsActiveMode() ? kActiveModeValue : kPassiveModeValue));
  // Stored once the user has chosen: until then the default follows the tray.
  if (NotificationsOn() != notifyAtStart_) {
    RegSetting(QString::fromLatin1(kNotifySetting), true,
               QString::fromLatin1(NotificationsOn() ? kSettingOn : kSettingOff));
  }
  trayIcon_.reset();
  // Ends the main loop (and any wait running inside it) without asking the
  // windows to close: the main window refuses every close.
  QCoreApplication::exit(0);
}

void TQuorvelForm::closeEvent(QCloseEvent* event) {
  bSaveToDatabase->hide();
  if (trayIcon_) hide();
  else showMinimized();
  event->ignore();
}

void TQuorvelForm::showEvent(QShowEvent* event) {
  SetHelpTopic(QString::fromLatin1(kMainHelpTopic));
  helpContext_ = kMainHelpContext;
  QMainWindow::showEvent(event);
}

bool TQuorvelForm::event(QEvent* event) {
  // The caption help button asks for this window's help at once instead of
  // the "What's This?" pointer.
  if (event->type() == QEvent::EnterWhatsThisMode && isActiveWindow()) {
    QWhatsThis::leaveWhatsThisMode();
    RequestHelp();
    return true;
  }
  return QMainWindow::event(event);
}

void TQuorvelForm::RequestHelp() {
  if (helpContext_ == 0) return;
  bool callHelp = true;
  AppOnHelp(kHelpSetPopupPos, helpContext_, callHelp);
}

void TQuorvelForm::Help2Click() {
  SetHelpTopic(QString::fromLatin1(kMainHelpTopic));
  bool callHelp = true;
  AppOnHelp(kHelpSetPopupPos, 0, callHelp);
}

void TQuorvelForm::Setup1Click() {
  // The Remote Setup dialog is handed over by the entry after creation.
  if (setupDialog_) setupDialog_->exec();
}

void TQuorvelForm::Region1Click() {
  TRegionDialog dialog(HomeRegionSetting(), this);
  if (dialog.exec() != QDialog::Accepted) return;
  try {
    RegSetting(QString::fromLatin1(kRegionSetting), true, QString::fromStdString(dialog.Region()));
    Calls->Handler().SetHomeRegion(dialog.Region());
    Calls->Handler().PrepareNumberLookup();
  } catch (const std::exception& error) {
    platform::ShowGeneralErrorReport(error);
  }
}

void TQuorvelForm::ImportContacts1Click() {
  TImportContactsDialog dialog(this);
  if (dialog.exec() != QDialog::Accepted) return;
  const contacts::TImportRequest request = dialog.Request();
  try {
    const TCallerPictures pictures(AppDirectory(), DataDirectory());
    contacts::TContactsImport import(DB, pictures, HomeRegionSetting(), request.ReplaceExisting,
                                     contacts::ReadContactsFile(request.FileName));
    RunContactsImport(import, this);
    Calls->Editor().ReloadCallerNames();
    platform::ShowMessageBox(import.Summary().Text(kImportListedProblems), dialog.windowTitle(),
                             import.Summary().AnythingImported() ? platform::MessageIcon::Information
                                                                 : platform::MessageIcon::Warning);
  } catch (const std::exception& error) {
    platform::ShowGeneralErrorReport(error);
  }
}

void TQuorvelForm::About1Click() {
  platform::ShowMessageBox(tr("Quorvel\nVersion %1").arg(QString::fromLatin1(QUORVEL_VERSION)),
                           tr(kAboutCaption), platform::MessageIcon::Information);
}
