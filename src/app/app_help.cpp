#include "app_help.h"

#include "app/app_globals.h"
#include "platform/help_viewer.h"

bool AppOnHelp(int command, qintptr /*data*/, bool& callHelp) {
  callHelp = false;
  if (command == kHelpSetPopupPos) platform::StartHelpViewer(AppDirectory(), HelpTopic());
  return true;
}
