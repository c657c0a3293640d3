#pragma once

#include <string>
#include <string_view>
#include <vector>

// Small text routines for forwarding texts. Texts are UTF-8 bytes; counts are
// bytes and a cut never splits a character. A separator that does not occur
// (an empty one never occurs) leaves the text whole.

// The text after the first occurrence of `separator`.
std::string TextAfter(std::string_view text, std::string_view separator);

// The text before the first occurrence of `separator`.
std::string TextBefore(std::string_view text, std::string_view separator);

// TextBefore(TextAfter(text, open), close).
std::string TextBetween(std::string_view text, std::string_view open, std::string_view close);

// The first `count` bytes, fewer where the cut would split a character;
// empty for a count of 0 or less.
std::string LeftChars(std::string_view text, int count);

// The last `count` bytes, fewer where the cut would split a character;
// empty for a count of 0 or less.
std::string RightChars(std::string_view text, int count);

// The text without bytes of code 32 (blank) or lower at either end.
std::string TrimBlanksAndControls(std::string_view text);

// The text with every control character (codes below 32 and 127) removed, so
// that a value pasted into a script or command can never add a line to it.
std::string WithoutControlCharacters(std::string_view text);

// The lines of `text`; a line ends at CR LF, at a lone CR or at a lone LF.
// A break at the very end starts no further line; an empty text has none.
std::vector<std::string> SplitLines(std::string_view text);
