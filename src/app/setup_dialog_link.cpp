#include "app/setup_dialog_link.h"

#include <QObject>

#include "app/app_globals.h"
#include "app/app_help.h"
#include "app/quorvel_form.h"
#include "remote/setup_dialog.h"

void AttachSetupDialog(TQuorvelForm& form, TfDDESetup& dialog) {
  form.SetSetupDialog(&dialog);
  QObject::connect(&dialog, &TfDDESetup::Shown, &form,
                   [] { SetHelpTopic(QString::fromLatin1(kSetupHelpTopic)); });
  QObject::connect(&dialog, &TfDDESetup::HelpRequested, &form, [] {
    SetHelpTopic(QString::fromLatin1(kSetupHelpTopic));
    bool callHelp = true;
    AppOnHelp(kHelpSetPopupPos, 0, callHelp);  // the request of the Help menu
  });
}
