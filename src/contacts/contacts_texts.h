#pragma once

#include <QCoreApplication>
#include <QString>

// Texts of the contacts import, named once. Card and record problems read
// "<what>: <reason>" in the summary.
namespace contacts {

// One of the texts below in the language shown.
inline QString Tr(const char* text) { return QCoreApplication::translate("Contacts", text); }

inline constexpr char kCardDoesNotEnd[] = QT_TRANSLATE_NOOP("Contacts", "the card has no END:VCARD");
inline constexpr char kLineIsNoProperty[] = QT_TRANSLATE_NOOP("Contacts", "line %1 is not a vCard property");
inline constexpr char kNoName[] = QT_TRANSLATE_NOOP("Contacts", "no name");
inline constexpr char kNoNumber[] = QT_TRANSLATE_NOOP("Contacts", "no telephone number");
inline constexpr char kAlreadyStored[] = QT_TRANSLATE_NOOP("Contacts", "already stored");
inline constexpr char kNameTwiceInFile[] = QT_TRANSLATE_NOOP("Contacts", "an earlier contact in the file has this name");
inline constexpr char kPhotoUnreadable[] = QT_TRANSLATE_NOOP("Contacts", "photo could not be read, the default picture is used");
inline constexpr char kPhotoNotReplaced[] = QT_TRANSLATE_NOOP("Contacts", "photo could not be read, the picture is kept");

// How a card is named in the summary before its name is known.
inline constexpr char kCardAtLine[] = QT_TRANSLATE_NOOP("Contacts", "card at line %1");

inline constexpr char kSummaryAdded[] = QT_TRANSLATE_NOOP("Contacts", "Added: %1");
inline constexpr char kSummaryReplaced[] = QT_TRANSLATE_NOOP("Contacts", "Replaced: %1");
inline constexpr char kSummarySkipped[] = QT_TRANSLATE_NOOP("Contacts", "Skipped: %1");
inline constexpr char kSummaryNotes[] = QT_TRANSLATE_NOOP("Contacts", "Notes:");
inline constexpr char kSummaryMore[] = QT_TRANSLATE_NOOP("Contacts", "... and %1 more");
inline constexpr char kNoContactsInFile[] = QT_TRANSLATE_NOOP("Contacts", "The file holds no contacts.");
inline constexpr char kImportStopped[] = QT_TRANSLATE_NOOP("Contacts", "The import stopped: %1");
inline constexpr char kImportCancelled[] = QT_TRANSLATE_NOOP("Contacts", "The import was cancelled.");
inline constexpr char kContactsLeftOut[] = QT_TRANSLATE_NOOP("Contacts", "%1 contacts were left out.");
inline constexpr char kOneContactLeftOut[] = QT_TRANSLATE_NOOP("Contacts", "1 contact was left out.");

}  // namespace contacts
