#pragma once

#include <QString>
#include <QtGlobal>

// Texts that are the framework's rather than the program's: the captions of
// the standard message dialogs, their buttons and the file errors. Qt's own
// catalogue has no captions and file errors, so the program's catalogue
// translates them, in the context "Framework" (the German desktop reads
// "Fehler", "Bestätigung", "Datei ... kann nicht geöffnet werden").
namespace platform {

inline constexpr char kErrorDialogCaption[] = QT_TRANSLATE_NOOP("Framework", "Error");
inline constexpr char kWarningDialogCaption[] = QT_TRANSLATE_NOOP("Framework", "Warning");
inline constexpr char kConfirmationDialogCaption[] = QT_TRANSLATE_NOOP("Framework", "Confirm");

// The standard buttons the dialogs show come from Qt, which translates them
// in this context. The program's catalogue holds them as well, so that they
// follow the program's language also where Qt's catalogues are missing.
inline constexpr const char* kStandardButtons[] = {
    QT_TRANSLATE_NOOP("QPlatformTheme", "OK"), QT_TRANSLATE_NOOP("QPlatformTheme", "Cancel"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "&Yes"), QT_TRANSLATE_NOOP("QPlatformTheme", "&No")};

// One of the captions above in the language shown.
QString FrameworkText(const char* text);

// The file errors, with the file's path.
QString CannotOpenFileText(const QString& path);
QString CannotCreateFileText(const QString& path);
QString FileNotFoundText(const QString& path);

}  // namespace platform
