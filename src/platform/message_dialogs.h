#pragma once

#include <QString>
#include <exception>

#include "platform/framework_texts.h"

// The program's message dialogs. The framework's standard dialogs carry the
// framework's captions and buttons in the desktop's language ("Error",
// "Confirm", "&Yes", "&No"; on a German desktop "Fehler", "Bestätigung",
// "&Ja", "&Nein"); plain message boxes carry the program's own captions. All
// are application-modal and have no owner window.
//
// A report (a box whose only button is "OK") does not wait for the user: it
// is shown and the caller goes on, so a report that nobody reads never stops
// the program from watching the line. While a report is on screen, a further
// report of the same caption and text is not shown again; the open one is
// brought to the front instead. Questions (a box with a choice) wait for the
// answer; the event loop keeps running meanwhile.
namespace platform {

inline constexpr char kApplicationTitle[] = "Quorvel";

enum class MessageIcon { None, Information, Warning, Error, Question };

// The framework's error dialog: caption "Error", error icon, one "OK" button.
// A report: does not wait.
void ShowErrorDialog(const QString& text);

// The framework's confirmation dialog: caption "Confirm", question icon,
// buttons "&Yes" and "&No". Waits, and returns true for "&Yes".
bool AskConfirmation(const QString& text);

// A plain message box with the program's own caption. With `withCancel` it
// has "OK" and "Cancel", waits, and returns true exactly when "OK" was
// chosen. Without, it is a report: it does not wait and returns true.
bool ShowMessageBox(const QString& text, const QString& caption, MessageIcon icon,
                    bool withCancel = false);

// The message as the general error report shows it: a full stop is added
// when the last character sorts after ".".
QString WithFullStop(const QString& message);

// The application's general error report: caption "Quorvel", error icon, "OK",
// the message with the full-stop rule applied. A report: does not wait.
void ShowGeneralErrorReport(const QString& message);
// The same for an error that escaped a handler. The caller database's
// messages (which know nothing of languages) are shown translated.
void ShowGeneralErrorReport(const std::exception& error);

// Number of reports on screen now.
int OpenReportCount();

// Keeps the event loop running until the user has closed every report on
// screen, or the application is told to end (QCoreApplication::exit). For
// the program's last words, shown just before it ends.
void WaitUntilReportsClosed();

}  // namespace platform
