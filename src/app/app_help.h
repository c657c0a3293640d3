#pragma once

#include <QtGlobal>

// The help command that every context-help request issues first, and the
// only one that opens the manual.
inline constexpr int kHelpSetPopupPos = 13;

// The application's help hook. Never lets the framework start its own help
// (`callHelp` is always set to false); for kHelpSetPopupPos it starts the
// manual viewer at HelpTopic() without waiting. Always returns true.
bool AppOnHelp(int command, qintptr data, bool& callHelp);
