// The program's entry: one running copy per user, the main window, then the
// Remote Setup dialog, then the event loop. Every way out ends with code 0.
#include <exception>
#include <memory>

#include "app/call_log_link.h"
#include "app/quorvel_application.h"
#include "app/quorvel_form.h"
#include "app/remote_action_link.h"
#include "app/session_end_link.h"
#include "app/setup_dialog_link.h"
#include "platform/message_dialogs.h"
#include "platform/session_end.h"
#include "platform/single_instance.h"
#include "platform/tray_availability.h"
#include "platform/ui_language.h"
#include "remote/forwarding_outcome.h"
#include "remote/setup_dialog.h"

namespace {
constexpr char kAlreadyRunningText[] = QT_TRANSLATE_NOOP("main", "Application is already running");
}  // namespace

int main(int argc, char** argv) {
  // The command line is not interpreted; Qt sees only the program's name.
  (void)argc;
  int qtArgc = 1;
  char* qtArgv[] = {argv[0], nullptr};
  TQuorvelApplication app(qtArgc, qtArgv);
  // The desktop's language, for every text from the first one on.
  const platform::TUiLanguage language(QLocale::system(), QCoreApplication::applicationDirPath());

  const QString title = QString::fromLatin1(platform::kApplicationTitle);
  platform::SingleInstanceLock instance(title);
  if (!instance.TryLock()) {
    platform::ShowMessageBox(QCoreApplication::translate("main", kAlreadyRunningText), title,
                             platform::MessageIcon::None);
    platform::WaitUntilReportsClosed();
    return 0;
  }
  // Named only now: the lock records the name the program had while taking
  // it (its file name), which is how a later start recognises the owner.
  app.setApplicationName(title);
  app.setQuitOnLastWindowClosed(false);

  // The session may end at any moment from here on: during the start, and
  // while the last words are on screen too.
  std::unique_ptr<platform::SessionEndWatcher> sessionEnd;
  std::unique_ptr<TSessionEndLink> ending;
  try {
    sessionEnd = std::make_unique<platform::SessionEndWatcher>();
    ending = std::make_unique<TSessionEndLink>(*sessionEnd);
    // The wait for the desktop's tray keeps the event loop running; it comes
    // before any line is open, so no call can arrive while the window and
    // the Remote Setup dialog are only half made.
    platform::WaitForSystemTray(platform::kTrayHostWaitMs);
    if (ending->Ended()) return 0;
    TQuorvelForm QuorvelForm;
    QuorvelForm.SetTrayHostWait(0);
    QuorvelForm.FormCreate();
    if (ending->Ended()) return 0;
    ending->SetReadyForm(QuorvelForm);

    // The Remote Setup dialog comes right after the main window and lives,
    // hidden, until the end: its fields are the current forwarding profile.
    TfDDESetup fDDESetup(&QuorvelForm);
    AttachSetupDialog(QuorvelForm, fDDESetup);
    // Passive mode forwards each call as the dialog's fields say.
    TRemoteActionLink remoteAction(QuorvelForm, fDDESetup);
    // Every call is logged, with what became of its forwarding; the Call
    // Log window opens from the menus.
    TCallLogLink callLog(QuorvelForm);
    remoteAction.OnHandOff = [&callLog](std::uint64_t forwarding) {
      callLog.HandedOff(forwarding);
    };
    remoteAction.OnOutcome = [&callLog](const TForwardingOutcome& outcome) {
      callLog.Forwarded(outcome);
    };

    app.exec();
    remoteAction.OnHandOff = nullptr;  // the log ends first
    remoteAction.OnOutcome = nullptr;
  } catch (const EQuitProgram&) {
    // The program's last words stay on screen until read.
    platform::WaitUntilReportsClosed();
  } catch (const std::exception& error) {
    platform::ShowGeneralErrorReport(error);
    platform::WaitUntilReportsClosed();
  }
  return 0;
}
