#pragma once

#include <QByteArray>
#include <QString>

// Longest number or name passed on, in characters.
constexpr int kMaxCallerTextChars = 80;

// Caller-ID text comes from the network and is not trusted, whatever kind
// of line brings it: decodes it (UTF-8, else Latin-1), removes control
// characters, trims blanks and cuts it to kMaxCallerTextChars characters
// without splitting a character.
QString SanitiseCallerText(const QByteArray& raw);
