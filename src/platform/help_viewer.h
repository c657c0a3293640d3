#pragma once

#include <QString>

#include "platform/ui_language.h"

// The manual is one HTML page beside the program; each window's help opens
// it at its own anchor with the desktop's URL handler. A program running in
// another language than English opens the manual's translation in
// html/<language>/ when there is one.
namespace platform {

inline constexpr char kHelpViewerProgram[] = "xdg-open";
inline constexpr char kManualPage[] = "html/manual.html";

// file://<appDirectory>html/manual.html#<topic>, or the page in
// html/<language>/; `appDirectory` ends in "/".
QString HelpPageUrl(const QString& appDirectory, const QString& topic,
                    const QString& language = CurrentUiLanguage());

// Starts the URL handler for HelpPageUrl() as a separate process and returns
// at once; whether it started is not checked.
void StartHelpViewer(const QString& appDirectory, const QString& topic);

}  // namespace platform
