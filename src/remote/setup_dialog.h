#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

#include "remote/remote_profile_fields.h"
#include "remote/remote_profile_store.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

// The Remote Setup dialog. Created hidden once at start and kept until the
// program ends: its fields are the current forwarding profile, which the
// remote action reads when a call arrives. Every detail the user changes is
// written to the profile at once; closing remembers which profile is chosen.
class TfDDESetup : public QDialog, public TRemoteProfileFields {
  Q_OBJECT

 public:
  static constexpr char kCaption[] = "Remote Setup";
  static constexpr char kHelpTopic[] = "idh_setup";
  static constexpr char kFileButtonHint[] = "Click for file selection";
  static constexpr char kCreateQuestion[] = "Create new settings for [";
  static constexpr char kDeleteQuestion[] = "Delete settings for [";
  static constexpr char kExeFilter[] = "Applications (*.exe);;All files (*)";
  static constexpr char kAnyFileFilter[] = "All files (*)";

  // `fileDialogOwner` (the main window) owns the file selection dialogs.
  // Runs FormCreate: the stored profile is loaded before this returns.
  explicit TfDDESetup(QWidget* fileDialogOwner = nullptr);
  ~TfDDESetup() override;

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

  // TRemoteProfileFields: the fields as they stand right now.
  bool DdeLinkSelected() const override;
  QString Application() const override;
  QString Topic() const override;
  bool StartExe() const override;
  QString ExePath() const override;
  QString DBPath() const override;
  QString PokeData() const override;
  QString PokeLocation() const override;
  int CommandLineCount() const override;
  QString CommandLine(int index) const override;
  QString CommandsText() const override;

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
  remote::TRemoteProfile FieldsAsProfile() const;
  QStringList CommandLines() const;

  QPointer<QWidget> fileDialogOwner_;
  bool profileLoading_ = false;
  bool completeNextEdit_ = false;  // the last key typed a character
};
