#pragma once

#include <QString>

// Process-wide values of the application shell. Only the UI thread touches
// them.

// The program file's folder with a trailing "/": base of "Callers.DB",
// "Default.BMP", the caller pictures and the manual. Set by the main
// window's creation.
const QString& AppDirectory();
void SetAppDirectory(const QString& directory);

// The anchor in the manual that the next help request opens.
const QString& HelpTopic();
void SetHelpTopic(const QString& topic);

inline constexpr char kMainHelpTopic[] = "idh_quorvel";
inline constexpr char kSetupHelpTopic[] = "idh_setup";
inline constexpr int kMainHelpContext = 1000;
