#pragma once

#include <QString>

// The program's message dialogs. The framework's standard dialogs carry the
// German captions and button texts its users have always seen ("Fehler",
// "Bestätigung", "&Ja", "&Nein"); plain message boxes carry the program's own
// captions. All are application-modal and have no owner window.
namespace platform {

inline constexpr char kApplicationTitle[] = "Quorvel";
inline constexpr char kErrorDialogCaption[] = "Fehler";
inline constexpr char kWarningDialogCaption[] = "Warnung";
inline constexpr char kConfirmationDialogCaption[] = "Bestätigung";
inline constexpr char kOkButton[] = "OK";
inline constexpr char kCancelButton[] = "Cancel";
inline constexpr char kYesButton[] = "&Ja";
inline constexpr char kNoButton[] = "&Nein";

enum class MessageIcon { None, Information, Warning, Error, Question };

// The framework's error dialog: caption "Fehler", error icon, one "OK" button.
void ShowErrorDialog(const QString& text);

// The framework's confirmation dialog: caption "Bestätigung", question icon,
// buttons "&Ja" and "&Nein". Returns true for "&Ja".
bool AskConfirmation(const QString& text);

// A plain message box with the program's own caption. With `withCancel` it
// has "OK" and "Cancel"; returns true exactly when "OK" was chosen.
bool ShowMessageBox(const QString& text, const QString& caption, MessageIcon icon,
                    bool withCancel = false);

// The message as the general error report shows it: a full stop is added
// when the last character sorts after ".".
QString WithFullStop(const QString& message);

// The application's general error report: caption "Quorvel", error icon, "OK",
// the message with the full-stop rule applied.
void ShowGeneralErrorReport(const QString& message);

}  // namespace platform
