#pragma once

#include <QString>
#include <string>

// Text rules for caller names and numbers: what the network may send, how a
// number is shown, and what can be stored as a caller or used as a file name.
namespace calls {

// The program's 8-bit text is UTF-8.
std::string ToEightBit(const QString& text);
QString FromEightBit(const std::string& text);

// Removes C0 and C1 control characters and DEL. Caller-ID data comes from the
// network and later ends up in scripts and remote commands.
QString StripControlCharacters(const QString& text);

// The number as displayed and looked up: control characters removed, and a
// text of exactly ten characters (of any kind) rewritten as ddd-ddd-dddd.
std::string FormatCallerNumber(const QString& number);

// A name that may become a picture file in the data folder: no "/" and not
// "." or "..", so it never addresses a file outside that folder.
bool IsSafePictureName(const QString& name);

// A name the database stores faithfully and that is a safe picture name and
// not "Default": not empty, no control characters, no blanks around it, no
// "=" or "]", not starting with "[" or ";".
bool IsStorableCallerName(const QString& name);

// A number the database stores faithfully: no control characters, no blanks
// around it, not quoted, not "#".
bool IsStorableCallerID(const QString& number);

// A name or number as a record keeps it: without the blanks around it that
// the file would drop, cut to the record's 20 bytes without splitting a
// character.
QString StoredCallerText(const QString& text);

}  // namespace calls
