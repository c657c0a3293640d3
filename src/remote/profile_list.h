#pragma once

#include <QString>
#include <QStringList>

// Rules of the Remote Setup dialog's list of profile names. The list is kept
// sorted without regard to letter case, and a name matches an entry without
// regard to case, as the settings store matches its keys.
namespace remote {

// Orders two profile names as the list shows them: by the user's locale
// without regard to case; names equal that way fall back to a fixed order.
bool ProfileNameLess(const QString& a, const QString& b);

// Returns where `name` goes in the sorted `names` (after equal entries).
int SortedInsertPosition(const QStringList& names, const QString& name);

// Returns the position of the entry equal to `text` without regard to case,
// or -1 when there is none.
int FindProfile(const QStringList& names, const QString& text);

// Returns the first entry, in list order, that begins with `typed` without
// regard to case, or -1. Empty `typed` matches nothing. The entry may be
// `typed` itself, and then there is nothing to complete.
int FindCompletion(const QStringList& names, const QString& typed);

// The list position to select at start from the stored "CurrentDDESetting"
// text: the first entry when nothing (or no number) is stored, the stored
// position when it is inside the list, and -1 (select nothing) otherwise.
int InitialProfilePosition(const QString& stored, int count);

}  // namespace remote
