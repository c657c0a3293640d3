#pragma once

#include <QString>

#include "platform/app_folders.h"

// Process-wide values of the application shell. Only the UI thread touches
// them.

// The program file's folder with a trailing "/": the files that come with
// the program, "Default.BMP" and the manual. Set by the main window's
// creation.
const QString& AppDirectory();
// The folder with a trailing "/" that holds the user's data: "Callers.DB",
// the caller pictures and the forwarding script. AppDirectory() when the
// user may write there, else the user's data folder. Set with AppDirectory.
const QString& DataDirectory();
const platform::TAppFolders& AppFolders();
void SetAppFolders(const platform::TAppFolders& folders);
// A portable program in `directory`: both folders are the same.
void SetAppDirectory(const QString& directory);

// The anchor in the manual that the next help request opens.
const QString& HelpTopic();
void SetHelpTopic(const QString& topic);

inline constexpr char kMainHelpTopic[] = "idh_quorvel";
inline constexpr char kSetupHelpTopic[] = "idh_setup";
inline constexpr int kMainHelpContext = 1000;
