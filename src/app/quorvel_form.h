#pragma once

#include <QMainWindow>
#include <QString>
#include <QSystemTrayIcon>
#include <memory>

#include "inidb/ini_dbase.h"
#include "platform/dde_client_conv.h"
#include "platform/tray_availability.h"
#include "telephony/line_monitor.h"

class QAction;
class QComboBox;
class TCallerDesk;
class TNotificationLink;
class QDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;

// The program's texts shown on the main window and by its creation (the
// tooltip's name is the program's and stays as it is).
inline constexpr char kFormCaption[] = QT_TRANSLATE_NOOP("TQuorvelForm", "Calling...");
inline constexpr char kUnknownCallerText[] = QT_TRANSLATE_NOOP("TQuorvelForm", "(Unknown)");
inline constexpr char kNotTransmittedText[] = QT_TRANSLATE_NOOP("TQuorvelForm", "(Not transmitted)");
inline constexpr char kCallerIdHint[] = QT_TRANSLATE_NOOP("TQuorvelForm", "Caller ID");
inline constexpr char kSaveToDatabaseCaption[] = QT_TRANSLATE_NOOP("TQuorvelForm", "Save to database");
inline constexpr char kNoModemsText[] = QT_TRANSLATE_NOOP(
    "TQuorvelForm", "There are no modems defined on this computer. The application will quit!");
inline constexpr char kModemNotAvailableText[] = QT_TRANSLATE_NOOP("TQuorvelForm", " => Modem not available ");
inline constexpr char kTrayToolTip[] = "Quorvel";

// Client area and its two parts at full height.
inline constexpr int kClientWidth = 197;
inline constexpr int kClientHeight = 246;
inline constexpr int kPanelHeight = 46;

// The pause on each side of a line change.
inline constexpr int kLineSwitchPauseMs = 100;

// Thrown by creation when the program must end at once (no usable line);
// the entry catches it and ends with exit code 0.
struct EQuitProgram {};

// The main window: the caller display, the settings, the two modes, the
// line menu, the tray icon, exit and help. It owns the caller database and
// the line monitor. Created hidden; FormCreate() must run right after
// construction.
class TQuorvelForm : public QMainWindow {
  Q_OBJECT

 public:
  // `programFile` is the program's full path; its folder becomes AppDirectory.
  explicit TQuorvelForm(const QString& programFile = QString(), QWidget* parent = nullptr);
  ~TQuorvelForm() override;

  // The creation steps: database, help, modes, line menu, line, tray icon.
  // Throws EQuitProgram after telling the user when no line can be offered.
  void FormCreate();

  // The parts the other subsystems work with.
  TIniDBase& Database() { return DB; }
  TLineMonitor& Line() { return LineMonitor; }
  const TLineMonitor& Line() const { return LineMonitor; }
  // The conversation Passive-mode calls are forwarded through (DDE Link profiles).
  platform::TDdeClientConv& Conversation() { return DDEClient; }
  // Call handling and caller editing on this window; nullptr before FormCreate.
  TCallerDesk* Desk() const { return Calls.get(); }

  // How long creation waits for the desktop's tray to appear.
  void SetTrayHostWait(int ms) { trayHostWaitMs_ = ms; }
  // The Remote Setup dialog that "&Setup" shows modally (owned elsewhere).
  void SetSetupDialog(QDialog* dialog) { setupDialog_ = dialog; }

  // Active mode exactly when "&Active" carries its check mark.
  bool IsActiveMode() const;
  // Whether Mode > "Desktop &Notifications" is checked.
  bool NotificationsOn() const;
  int FullHeight() const { return fullHeight_; }
  int HelpContext() const { return helpContext_; }
  // The tray icon, or nullptr while none is shown (no tray, or after exit).
  QSystemTrayIcon* TrayIcon() const { return trayIcon_.get(); }
  // A line of the tray icon's tooltip below the line's state (the call
  // log's count of missed calls); "" for none.
  void SetTrayToolTipNote(const QString& note);
  // Position of the first `lbModems` entry equal to `name` (case-sensitive), else 0.
  int LineIndex(const QString& name) const;

  // The program's orderly end, as File > "&Exit" takes it: stores the
  // settings, removes the tray icon and ends the event loop.
  void Exit() { Exit1Click(); }

 signals:
  // File > "Call &Log..." or the tray's "Call &Log" was chosen.
  void CallLogRequested();

 protected:
  void closeEvent(QCloseEvent* event) override;  // FormCloseQuery
  void showEvent(QShowEvent* event) override;    // FormShow
  bool event(QEvent* event) override;

 private slots:
  // A slot so that a test without a tray can click the icon all the same.
  void SysTrayPopUp(QSystemTrayIcon::ActivationReason reason);

 private:
  void BuildClientArea();
  void BuildMenus();
  void OpenDatabase();
  void ConnectCallHandling();
  void BuildLineMenu();
  // Appends `name` to "Select modem" and lbModems, unless it is there.
  void AddLineItem(const QString& name);
  void SelectStoredLine();
  // Puts the check mark on the line being watched, and on no other.
  void TickWatchedLine();
  // The tray icon's tooltip tells the line and its state.
  void UpdateTrayToolTip();
  void ShowLineFailure(const char* message);
  void RequestHelp();
  void AddTrayIcon();

  // Handlers.
  void Active1Click();
  void Passive1Click();
  void CommClick(QAction* item);
  // Asks for a network line, adds it to the "ExtraLines" setting and the
  // menu, and selects it.
  void AddNetworkLine1Click();
  void Exit1Click();
  void Exit2Click();
  void Open1Click();
  void Setup1Click();
  void Region1Click();
  void ImportContacts1Click();
  void Help2Click();
  void About1Click();

  // Components.
  TIniDBase DB;
  TLineMonitor LineMonitor;
  std::unique_ptr<TCallerDesk> Calls;  // created by FormCreate
  platform::TDdeClientConv DDEClient;

  // Widgets (owned by the window; each has its name as object name, which
  // is how tests find them).
  QLabel* Image = nullptr;
  QPushButton* bSaveToDatabase = nullptr;
  QListWidget* lbModems = nullptr;
  QFrame* Panel1 = nullptr;
  QComboBox* cbCallerName = nullptr;
  QLineEdit* tbCallerID = nullptr;

  // Main menu.
  QMenu* File1 = nullptr;
  QMenu* Selectmodem1 = nullptr;
  QAction* AddNetworkLine1 = nullptr;  // "Add &Network Line...", after the lines
  QAction* CallLog1 = nullptr;
  QAction* Region1 = nullptr;
  QAction* Exit1 = nullptr;
  QMenu* Mode1 = nullptr;
  QAction* Active1 = nullptr;
  QAction* Passive1 = nullptr;
  QAction* Notify1 = nullptr;  // "Desktop &Notifications"
  QMenu* Record1 = nullptr;
  QAction* New1 = nullptr;
  QAction* AddCurrent1 = nullptr;
  QAction* Delete1 = nullptr;
  QAction* ChoosePicture1 = nullptr;
  QAction* ImportContacts1 = nullptr;
  QAction* Setup1 = nullptr;
  QMenu* Help1 = nullptr;
  QAction* Help2 = nullptr;
  QAction* About1 = nullptr;

  // Tray menu.
  QMenu* PopupMenu = nullptr;
  QAction* Open1 = nullptr;
  QAction* CallLog2 = nullptr;  // "Call &Log"
  QAction* Exit2 = nullptr;

  QString programFile_;
  int trayHostWaitMs_ = platform::kTrayHostWaitMs;
  int fullHeight_ = 0;
  int imageHeight_ = 0;  // last height while visible
  int panelHeight_ = 0;  // last height while visible
  int helpContext_ = 0;
  std::unique_ptr<QSystemTrayIcon> trayIcon_;
  QDialog* setupDialog_ = nullptr;
  bool notifyAtStart_ = false;
  std::unique_ptr<TNotificationLink> notifications_;
  // Ends the lines in "Select modem"; what follows it is no line.
  QAction* lineItemsEnd_ = nullptr;
  QString trayToolTipNote_;
};
