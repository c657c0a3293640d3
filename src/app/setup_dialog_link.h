#pragma once

class TQuorvelForm;
class TfDDESetup;

// Hands the Remote Setup dialog to the main window's "&Setup" command and
// ties the dialog's help to the program's help: shown, it makes its topic
// the current one; its Help button, F1 and caption help button open the
// manual at that topic.
void AttachSetupDialog(TQuorvelForm& form, TfDDESetup& dialog);
