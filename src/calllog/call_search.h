#pragma once

#include <QString>

struct TLoggedCall;

// How the log's search box finds calls: the typed text is looked for in one
// folded text per call that holds its names and numbers. Case, accents and
// the punctuation of numbers do not matter: "emile" finds "Émile", and
// "555 1234" finds 555-1234.

// Lower case (case-folded), compatibility-normalised, combining marks removed.
QString FoldForSearch(const QString& text);

// The text a call is found by.
QString SearchTextOf(const TLoggedCall& call);

// What to look for in SearchTextOf() for the typed text: the digits alone
// when the text looks like a phone number (digits with blanks, "-", "(",
// ")", ".", "/" or "+"), else the folded text. "" finds every call.
QString SearchNeedle(const QString& typed);
