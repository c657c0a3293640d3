#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

#include "remote/remote_profile.h"
#include "remote/remote_profile_store.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

// The Remote Setup dialog. Created hidden once at start and kept until the
// program ends: its fields are the current forwarding profile, which a call
// in Passive mode takes as it stands (Profile()). Every detail the user
// changes is written to the profile at once; closing remembers which profile
// is chosen. Its controls are its own; tests reach them by object name.
class TfDDESetup : public QDialog {
  Q_OBJECT

 public:
  static constexpr char kCaption[] = QT_TR_NOOP("Remote Setup");
  static constexpr char kHelpTopic[] = "idh_setup";
  static constexpr char kFileButtonHint[] = QT_TR_NOOP("Click for file selection");
  static constexpr char kCreateQuestion[] = QT_TR_NOOP("Create new settings for [%1]");
  static constexpr char kDeleteQuestion[] = QT_TR_NOOP("Delete settings for [%1]");
  static constexpr char kExeFilter[] = QT_TR_NOOP("Applications (*.exe);;All files (*)");
  static constexpr char kAnyFileFilter[] = QT_TR_NOOP("All files (*)");

  // `fileDialogOwner` (the main window) owns the file selection dialogs.
  // Runs FormCreate: the stored profile is loaded before this returns.
  explicit TfDDESetup(QWidget* fileDialogOwner = nullptr);
  ~TfDDESetup() override;

  // Profile operations.
  void ListProfiles();
  void LoadProfile(const QString& application);
  void SaveProfile(const QString& application);
  void ClearProfileFields();
  QString SelectFile(const QString& filter, const QString& currentText);
  bool ProfileLoading() const { return profileLoading_; }

  // Event handlers.
  void FormCreate();
  void FormShow();
  void FormClose();
  void DetailsChange();
  void rbTypeScriptClick();
  void cbStartExeClick();
  void cbApplicationChange();
  void cbApplicationExit();
  void bNewClick();
  void bDeleteClick();
  void bCloseClick();
  void bHelpClick();
  void bSelectEXEPathClick();
  void bSelectDBPathClick();

  // The current profile: the fields as they stand right now. Its name is
  // the listed profile's own spelling when the box's text names one in any
  // letter case, the box's text otherwise.
  remote::TRemoteProfile Profile() const;

  // Ends the dialog; every way of closing it stores the chosen position.
  void done(int result) override;

 signals:
  // The dialog was shown: its help topic becomes the current one.
  void Shown();
  // The user asked for help on this dialog.
  void HelpRequested();

 protected:
  bool event(QEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  void CreateControls();
  void ConnectHandlers();
  QStringList ListedNames() const;
  int ListedPosition() const;  // of the box's text, -1 when not listed
  void SelectListPosition(int position);
  void SelectFirstAndLoad();
  void ApplicationTextEdited();
  void ApplicationActivated(int index);
  void CompleteApplicationText();
  void ShowFileRows(bool show);
  void RestoreTypedCase();
  QString CommandsText() const;  // the memo's text, lines joined by CR LF

  // The controls, named as in the dialog's design.
  QLabel* Label1;
  QComboBox* cbApplication;
  QLabel* Label6;
  QRadioButton* rbDDELink;
  QRadioButton* rbVBSScript;
  QWidget* pDDE;
  QLabel* Label3;
  QLineEdit* tbTopic;
  QCheckBox* cbStartExe;
  QLabel* lEXEPath;
  QLineEdit* tbEXEPath;
  QPushButton* bSelectEXEPath;
  QLabel* lDBPath;
  QLineEdit* tbDBPath;
  QPushButton* bSelectDBPath;
  QLabel* Label4;
  QLineEdit* tbPokeData;
  QLabel* Label5;
  QLineEdit* tbPokeLocation;
  QWidget* pCommands;
  QLabel* Label2;
  QPlainTextEdit* tbCommands;
  QPushButton* bClose;
  QPushButton* bDelete;
  QPushButton* bNew;
  QPushButton* bHelp;

  QPointer<QWidget> fileDialogOwner_;
  bool profileLoading_ = false;
  bool completeNextEdit_ = false;  // the last key typed a character
  QString typedBeforeCompletion_;  // as typed, when a completion replaced it
};
