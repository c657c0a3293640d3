#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Length of the character that starts at `pos`: a well-formed UTF-8
// sequence counts as one character, any other byte as a character of its own.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t pos);

// Decodes UTF-8 to code points. A byte that is not part of a well-formed
// sequence is taken as Latin-1, which is what older files written in a
// Western code page most likely meant.
std::u32string DecodeUtf8(std::string_view text);
