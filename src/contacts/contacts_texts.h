#pragma once

// Texts of the contacts import, named once. Card and record problems read
// "<what>: <reason>" in the summary.
namespace contacts {

inline constexpr char kCardDoesNotEnd[] = "the card has no END:VCARD";
inline constexpr char kLineIsNoProperty[] = "line %1 is not a vCard property";
inline constexpr char kNoName[] = "no name";
inline constexpr char kNoNumber[] = "no telephone number";
inline constexpr char kAlreadyStored[] = "already stored";
inline constexpr char kNameTwiceInFile[] = "an earlier contact in the file has this name";
inline constexpr char kPhotoUnreadable[] = "photo could not be read, the default picture is used";
inline constexpr char kPhotoNotReplaced[] = "photo could not be read, the picture is kept";

// How a card is named in the summary before its name is known.
inline constexpr char kCardAtLine[] = "card at line %1";

inline constexpr char kSummaryAdded[] = "Added: %1";
inline constexpr char kSummaryReplaced[] = "Replaced: %1";
inline constexpr char kSummarySkipped[] = "Skipped: %1";
inline constexpr char kSummaryNotes[] = "Notes:";
inline constexpr char kSummaryMore[] = "... and %1 more";
inline constexpr char kNoContactsInFile[] = "The file holds no contacts.";
inline constexpr char kImportStopped[] = "The import stopped: %1";
inline constexpr char kImportCancelled[] = "The import was cancelled.";
inline constexpr char kContactsLeftOut[] = "%1 contacts were left out.";
inline constexpr char kOneContactLeftOut[] = "1 contact was left out.";

}  // namespace contacts
