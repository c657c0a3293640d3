#include "remote/setup_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWhatsThis>

#include "platform/message_dialogs.h"
#include "platform/settings_store.h"
#include "remote/profile_list.h"

using namespace remote;

namespace {

// Client area and screen position of the dialog.
constexpr int kClientWidth = 323;
constexpr int kClientHeight = 269;
constexpr int kScreenLeft = 323;
constexpr int kScreenTop = 191;

// The fixed places below were laid out for a font 11 pixels high; with the
// desktop's usual larger font the captions would be cut off. A caption that
// is still wider than its room gets a smaller font, down to a legible size.
constexpr int kFontPixelSize = 11;
constexpr int kSmallestFontPixelSize = 8;
constexpr int kLabelRoom = 60;           // from a row's label to its field
constexpr int kPokeLocationLabelRoom = 52;
constexpr int kButtonTextMargin = 8;     // a push button's frame and padding

// The Command(s) panel's place in each layout; its memo sits against the
// panel's right edge over the panel's full height.
constexpr int kCommandsTopDde = 176;
constexpr int kCommandsHeightDde = 65;
constexpr int kCommandsTopScript = 56;
constexpr int kCommandsHeightScript = 185;
constexpr int kCommandsPanelWidth = 321;
constexpr int kCommandsMemoWidth = 257;

template <class W>
W* MakeControl(QWidget* parent, const char* name, int left, int top, int width, int height) {
  auto* w = new W(parent);
  w->setObjectName(QLatin1String(name));
  w->setGeometry(left, top, width, height);
  return w;
}

template <class W>
W* MakeCaptioned(QWidget* parent, const char* name, const QString& caption, int left, int top,
                 int width, int height) {
  W* w = MakeControl<W>(parent, name, left, top, width, height);
  w->setText(caption);
  return w;
}

// `shown` is the caption as it appears on the screen.
void FitCaption(QWidget* w, const QString& shown, int room) {
  QFont f = w->font();
  while (QFontMetrics(f).horizontalAdvance(shown) > room &&
         f.pixelSize() > kSmallestFontPixelSize) {
    f.setPixelSize(f.pixelSize() - 1);
  }
  w->setFont(f);
}

// Labels size themselves to their caption.
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, int left, int top) {
  auto* l = new QLabel(caption, parent);
  l->setObjectName(QLatin1String(name));
  l->adjustSize();
  l->move(left, top);
  return l;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, int left,
                        int top, int width, int height) {
  auto* b = MakeCaptioned<QPushButton>(parent, name, caption, left, top, width, height);
  b->setAutoDefault(false);  // Enter in a field does not close the dialog
  return b;
}

// A radio button that is cleared stays cleared even when its partner is
// not selected either (a stored type that is neither DDE nor VBS).
void SetRadioChecked(QRadioButton* button, bool checked) {
  if (checked || !button->isChecked()) {
    button->setChecked(checked);
    return;
  }
  button->setAutoExclusive(false);
  button->setChecked(false);
  button->setAutoExclusive(true);
}

// The memo shows LF line ends; the stored text has CR LF.
QString MemoText(const QString& stored) {
  QString text = stored;
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

}  // namespace

TfDDESetup::TfDDESetup(QWidget* fileDialogOwner) : QDialog(nullptr), fileDialogOwner_(fileDialogOwner) {
  setObjectName(QStringLiteral("fDDESetup"));
  setWindowTitle(tr(kCaption));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                 Qt::WindowContextHelpButtonHint);
  setFixedSize(kClientWidth, kClientHeight);
  move(kScreenLeft, kScreenTop);
  QFont designFont = font();
  designFont.setPixelSize(kFontPixelSize);
  setFont(designFont);
  CreateControls();
  ConnectHandlers();
  FormCreate();
}

TfDDESetup::~TfDDESetup() = default;

void TfDDESetup::CreateControls() {
  Label1 = MakeLabel(this, "Label1", tr("Application"), 4, 4);
  cbApplication = MakeControl<QComboBox>(this, "cbApplication", 64, 0, 258, 21);
  cbApplication->setEditable(true);
  cbApplication->setInsertPolicy(QComboBox::NoInsert);
  cbApplication->setCompleter(nullptr);  // completion follows the list's own rule
  Label6 = MakeLabel(this, "Label6", tr("Type"), 4, 28);
  rbDDELink = MakeCaptioned<QRadioButton>(this, "rbDDELink", tr("DDE Link"), 64, 26, 97, 17);
  rbVBSScript = MakeCaptioned<QRadioButton>(this, "rbVBSScript", tr("VBS Script"), 184, 26, 97, 17);

  pDDE = MakeControl<QWidget>(this, "pDDE", 0, 56, 321, 113);
  Label3 = MakeLabel(pDDE, "Label3", tr("Topic"), 4, 4);
  tbTopic = MakeControl<QLineEdit>(pDDE, "tbTopic", 64, 0, 257, 21);
  cbStartExe = MakeCaptioned<QCheckBox>(pDDE, "cbStartExe", tr("Start if not yet running"), 64, 28,
                                        201, 13);
  lEXEPath = MakeLabel(pDDE, "lEXEPath", tr("EXE Path"), 4, 52);
  tbEXEPath = MakeControl<QLineEdit>(pDDE, "tbEXEPath", 64, 48, 237, 21);
  bSelectEXEPath = MakeButton(pDDE, "bSelectEXEPath", "...", 301, 48, 21, 21);
  bSelectEXEPath->setToolTip(tr(kFileButtonHint));
  lDBPath = MakeLabel(pDDE, "lDBPath", tr("DB Path"), 4, 76);
  tbDBPath = MakeControl<QLineEdit>(pDDE, "tbDBPath", 64, 72, 237, 21);
  bSelectDBPath = MakeButton(pDDE, "bSelectDBPath", "...", 301, 72, 21, 21);
  bSelectDBPath->setToolTip(tr(kFileButtonHint));
  Label4 = MakeLabel(pDDE, "Label4", tr("Poke data"), 4, 100);
  tbPokeData = MakeControl<QLineEdit>(pDDE, "tbPokeData", 64, 96, 101, 21);
  Label5 = MakeLabel(pDDE, "Label5", tr("to location"), 168, 100);
  tbPokeLocation = MakeControl<QLineEdit>(pDDE, "tbPokeLocation", 220, 96, 101, 21);

  pCommands = MakeControl<QWidget>(this, "pCommands", 0, kCommandsTopDde, kCommandsPanelWidth,
                                   kCommandsHeightDde);
  Label2 = MakeLabel(pCommands, "Label2", tr("Command(s)"), 4, 0);
  tbCommands = MakeControl<QPlainTextEdit>(pCommands, "tbCommands",
                                           kCommandsPanelWidth - kCommandsMemoWidth, 0,
                                           kCommandsMemoWidth, kCommandsHeightDde);
  tbCommands->setLineWrapMode(QPlainTextEdit::NoWrap);
  tbCommands->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  tbCommands->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  tbCommands->setTabChangesFocus(true);  // Tab moves on, as in the other fields

  bClose = MakeButton(this, "bClose", tr("Close && Select"), 4, 248, 77, 21);
  bDelete = MakeButton(this, "bDelete", tr("Delete"), 120, 249, 40, 21);
  bNew = MakeButton(this, "bNew", tr("New"), 163, 249, 42, 21);
  bHelp = MakeButton(this, "bHelp", tr("Help"), 252, 248, 69, 21);

  for (QLabel* l : {Label1, Label6, Label3, lEXEPath, lDBPath, Label4, Label2}) {
    FitCaption(l, l->text(), kLabelRoom);
  }
  FitCaption(Label5, Label5->text(), kPokeLocationLabelRoom);
  for (QLabel* l : {Label1, Label6, Label3, lEXEPath, lDBPath, Label4, Label2, Label5}) {
    l->adjustSize();
  }
  for (QPushButton* b : {bClose, bDelete, bNew, bHelp}) {
    // The captions have no mnemonics; "&&" shows as one "&".
    const QString shown = QString(b->text()).replace(QLatin1String("&&"), QLatin1String("&"));
    FitCaption(b, shown, b->width() - kButtonTextMargin);
  }
}

void TfDDESetup::ConnectHandlers() {
  // Typing and choosing from the list are the box's changes; the texts the
  // dialog itself puts there are not.
  connect(cbApplication->lineEdit(), &QLineEdit::textEdited, this,
          &TfDDESetup::ApplicationTextEdited);
  connect(cbApplication, &QComboBox::activated, this, &TfDDESetup::ApplicationActivated);
  cbApplication->installEventFilter(this);
  cbApplication->lineEdit()->installEventFilter(this);

  // Selecting a type button switches the layout; clearing one does not.
  for (QRadioButton* rb : {rbDDELink, rbVBSScript}) {
    connect(rb, &QRadioButton::toggled, this, [this](bool on) {
      if (on) rbTypeScriptClick();
    });
  }
  connect(cbStartExe, &QCheckBox::toggled, this, &TfDDESetup::cbStartExeClick);
  for (QLineEdit* e : {tbTopic, tbEXEPath, tbDBPath, tbPokeData, tbPokeLocation}) {
    connect(e, &QLineEdit::textChanged, this, &TfDDESetup::DetailsChange);
  }
  connect(tbCommands, &QPlainTextEdit::textChanged, this, &TfDDESetup::DetailsChange);

  connect(bSelectEXEPath, &QPushButton::clicked, this, &TfDDESetup::bSelectEXEPathClick);
  connect(bSelectDBPath, &QPushButton::clicked, this, &TfDDESetup::bSelectDBPathClick);
  connect(bClose, &QPushButton::clicked, this, &TfDDESetup::bCloseClick);
  connect(bDelete, &QPushButton::clicked, this, &TfDDESetup::bDeleteClick);
  connect(bNew, &QPushButton::clicked, this, &TfDDESetup::bNewClick);
  connect(bHelp, &QPushButton::clicked, this, &TfDDESetup::bHelpClick);
}

// ---- List bookkeeping -------------------------------------------------------

QStringList TfDDESetup::ListedNames() const {
  QStringList names;
  for (int i = 0; i < cbApplication->count(); ++i) names << cbApplication->itemText(i);
  return names;
}

int TfDDESetup::ListedPosition() const {
  return FindProfile(ListedNames(), cbApplication->currentText());
}

void TfDDESetup::SelectListPosition(int position) {
  typedBeforeCompletion_.clear();
  cbApplication->setCurrentIndex(position);
  cbApplication->setEditText(position >= 0 ? cbApplication->itemText(position) : QString());
}

void TfDDESetup::SelectFirstAndLoad() {
  SelectListPosition(cbApplication->count() > 0 ? 0 : -1);
  LoadProfile(cbApplication->currentText());
}

// ---- Profile operations -----------------------------------------------------

void TfDDESetup::ListProfiles() {
  cbApplication->clear();
  for (const QString& name : StoredProfileNames()) {
    cbApplication->insertItem(SortedInsertPosition(ListedNames(), name), name);
  }
}

void TfDDESetup::LoadProfile(const QString& application) {
  profileLoading_ = true;
  const TRemoteProfile p = ReadProfile(application);
  SetRadioChecked(rbDDELink, p.DdeLink);
  SetRadioChecked(rbVBSScript, p.VbsScript);
  tbTopic->setText(p.Topic);
  tbEXEPath->setText(p.ExePath);
  tbDBPath->setText(p.DBPath);
  tbPokeData->setText(p.PokeData);
  tbPokeLocation->setText(p.PokeLocation);
  tbCommands->setPlainText(MemoText(p.Commands));
  cbStartExe->setChecked(p.StartExe);
  ShowFileRows(cbStartExe->isChecked());
  profileLoading_ = false;
}

TRemoteProfile TfDDESetup::Profile() const {
  TRemoteProfile p;
  // Bus names are case-sensitive: a profile typed in another case is still
  // forwarded under the name it is stored with.
  const int listed = ListedPosition();
  p.Application = listed >= 0 ? cbApplication->itemText(listed) : cbApplication->currentText();
  p.DdeLink = rbDDELink->isChecked();
  p.VbsScript = rbVBSScript->isChecked();
  p.Topic = tbTopic->text();
  p.ExePath = tbEXEPath->text();
  p.DBPath = tbDBPath->text();
  p.PokeData = tbPokeData->text();
  p.PokeLocation = tbPokeLocation->text();
  p.Commands = CommandsText();
  p.StartExe = cbStartExe->isChecked();
  return p;
}

void TfDDESetup::SaveProfile(const QString& application) { WriteProfile(application, Profile()); }

void TfDDESetup::ClearProfileFields() {
  SetRadioChecked(rbDDELink, false);
  tbTopic->clear();
  tbEXEPath->clear();
  tbDBPath->clear();
  tbCommands->clear();
  cbStartExe->setChecked(false);
  ShowFileRows(false);
}

QString TfDDESetup::SelectFile(const QString& filter, const QString& currentText) {
  QWidget* owner = fileDialogOwner_ ? fileDialogOwner_.data() : this;
  QFileDialog dialog(owner);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters(filter.split(QStringLiteral(";;")));
  if (dialog.exec() != QDialog::Accepted) return currentText;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty() || chosen.first().isEmpty()) return currentText;
  return chosen.first();
}

void TfDDESetup::ShowFileRows(bool show) {
  for (QWidget* w : {static_cast<QWidget*>(lEXEPath), static_cast<QWidget*>(tbEXEPath),
                     static_cast<QWidget*>(bSelectEXEPath), static_cast<QWidget*>(lDBPath),
                     static_cast<QWidget*>(tbDBPath), static_cast<QWidget*>(bSelectDBPath)}) {
    w->setVisible(show);
  }
}

// ---- Handlers ---------------------------------------------------------------

void TfDDESetup::FormCreate() {
  ListProfiles();
  const QString stored = platform::ReadSettingValue(QLatin1String(kSettingsKey),
                                                    QLatin1String(kCurrentDDESettingValue));
  SelectListPosition(InitialProfilePosition(stored, cbApplication->count()));
  LoadProfile(cbApplication->currentText());
}

void TfDDESetup::FormShow() { emit Shown(); }

void TfDDESetup::FormClose() {
  platform::WriteSettingValue(QLatin1String(kSettingsKey), QLatin1String(kCurrentDDESettingValue),
                              QString::number(ListedPosition()));
}

void TfDDESetup::DetailsChange() {
  if (profileLoading_) return;
  if (ListedPosition() < 0) return;
  SaveProfile(Profile().Application);
}

void TfDDESetup::rbTypeScriptClick() {
  const bool dde = rbDDELink->isChecked();
  pDDE->setVisible(dde);
  const int top = dde ? kCommandsTopDde : kCommandsTopScript;
  const int height = dde ? kCommandsHeightDde : kCommandsHeightScript;
  pCommands->setGeometry(0, top, kCommandsPanelWidth, height);
  tbCommands->setGeometry(kCommandsPanelWidth - kCommandsMemoWidth, 0, kCommandsMemoWidth, height);
}

void TfDDESetup::cbStartExeClick() {
  ShowFileRows(cbStartExe->isChecked());
  DetailsChange();
}

void TfDDESetup::cbApplicationChange() {
  if (ListedPosition() >= 0) LoadProfile(cbApplication->currentText());
  else ClearProfileFields();
}

void TfDDESetup::cbApplicationExit() {
  const QString name = cbApplication->currentText();
  if (ListedPosition() >= 0) return;
  if (name.isEmpty()) {
    SelectFirstAndLoad();
    return;
  }
  if (!IsValidProfileName(name)) {
    // Such a name would address another key in the store; it is refused
    // and the box goes back to a stored profile, as after "No".
    platform::ShowErrorDialog(
        tr("Cannot create settings for [%1]: a profile name must not contain \"/\" or \"\\\".")
            .arg(name));
    SelectFirstAndLoad();
    return;
  }
  if (platform::AskConfirmation(tr(kCreateQuestion).arg(name))) {
    const int pos = SortedInsertPosition(ListedNames(), name);
    cbApplication->insertItem(pos, name);
    SelectListPosition(pos);
  } else {
    SelectFirstAndLoad();
  }
}

void TfDDESetup::bNewClick() {
  cbApplication->setEditText(QString());
  ClearProfileFields();
}

void TfDDESetup::bDeleteClick() {
  const int pos = ListedPosition();
  if (pos < 0) return;
  const QString name = cbApplication->currentText();
  if (!platform::AskConfirmation(tr(kDeleteQuestion).arg(name))) {
    return;
  }
  DeleteProfile(name);
  cbApplication->removeItem(pos);
  SelectFirstAndLoad();
}

void TfDDESetup::bCloseClick() { accept(); }

void TfDDESetup::bHelpClick() { emit HelpRequested(); }

void TfDDESetup::bSelectEXEPathClick() {
  tbEXEPath->setText(SelectFile(tr(kExeFilter), tbEXEPath->text()));
}

void TfDDESetup::bSelectDBPathClick() {
  tbDBPath->setText(SelectFile(tr(kAnyFileFilter), tbDBPath->text()));
}

// ---- Typing in the application box -----------------------------------------

void TfDDESetup::ApplicationTextEdited() {
  const bool complete = completeNextEdit_;
  completeNextEdit_ = false;
  RestoreTypedCase();
  if (complete) CompleteApplicationText();
  cbApplicationChange();
}

// A completion shows the listed name's own spelling, also over the part the
// user typed; typing on (or deleting the completed part) gives that part back
// as it was typed, so a new name keeps the user's case.
void TfDDESetup::RestoreTypedCase() {
  const QString typed = typedBeforeCompletion_;
  typedBeforeCompletion_.clear();
  QLineEdit* edit = cbApplication->lineEdit();
  const QString text = edit->text();
  if (typed.isEmpty() || !text.startsWith(typed, Qt::CaseInsensitive) ||
      text.startsWith(typed, Qt::CaseSensitive)) {
    return;
  }
  const int cursor = edit->cursorPosition();
  edit->setText(typed + text.mid(typed.size()));
  edit->setCursorPosition(cursor);
}

void TfDDESetup::ApplicationActivated(int index) {
  typedBeforeCompletion_.clear();
  // The box may still hold typed text while the list's current entry is the
  // one chosen again; the chosen entry is what counts.
  cbApplication->setEditText(cbApplication->itemText(index));
  cbApplicationChange();
}

void TfDDESetup::CompleteApplicationText() {
  QLineEdit* edit = cbApplication->lineEdit();
  const QString typed = edit->text();
  if (edit->cursorPosition() != typed.size()) return;  // only typing at the end completes
  const int match = FindCompletion(ListedNames(), typed);
  if (match < 0) return;
  const QString entry = cbApplication->itemText(match);
  if (entry.size() <= typed.size()) return;
  typedBeforeCompletion_ = typed;
  edit->setText(entry);
  edit->setSelection(typed.size(), entry.size() - typed.size());
}

bool TfDDESetup::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::KeyPress) {
    // Only a typed character completes; deleting must be able to remove
    // the completed part.
    const QString text = static_cast<QKeyEvent*>(e)->text();
    completeNextEdit_ = !text.isEmpty() && text.at(0).isPrint();
  } else if (e->type() == QEvent::FocusOut && watched == cbApplication) {
    // Leaving the box for another control of this dialog, not switching
    // windows or opening the box's own list.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(e)->reason();
    if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
      typedBeforeCompletion_.clear();  // what the box holds now is accepted
      cbApplicationExit();
    }
  }
  return QDialog::eventFilter(watched, e);
}

// ---- Help, showing and closing ----------------------------------------------

void TfDDESetup::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  FormShow();
}

void TfDDESetup::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_F1 && e->modifiers() == Qt::NoModifier) {
    bHelpClick();
    return;
  }
  QDialog::keyPressEvent(e);
}

bool TfDDESetup::event(QEvent* e) {
  // The title bar's help button asks for this dialog's help page.
  if (e->type() == QEvent::EnterWhatsThisMode && isActiveWindow()) {
    QWhatsThis::leaveWhatsThisMode();
    bHelpClick();
    return true;
  }
  return QDialog::event(e);
}

void TfDDESetup::done(int result) {
  FormClose();
  QDialog::done(result);
}

// ---- The memo's text ---------------------------------------------------------

QString TfDDESetup::CommandsText() const {
  QString text = tbCommands->toPlainText();
  text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
  return text;
}
