#pragma once

#include <QString>

// The manual is one HTML page beside the program; each window's help opens
// it at its own anchor with the desktop's URL handler.
namespace platform {

inline constexpr char kHelpViewerProgram[] = "xdg-open";
inline constexpr char kManualPage[] = "html/manual.html";

// file://<appDirectory>html/manual.html#<topic>; `appDirectory` ends in "/".
QString HelpPageUrl(const QString& appDirectory, const QString& topic);

// Starts the URL handler for HelpPageUrl() as a separate process and returns
// at once; whether it started is not checked.
void StartHelpViewer(const QString& appDirectory, const QString& topic);

}  // namespace platform
