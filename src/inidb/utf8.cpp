#include "inidb/utf8.h"

namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

std::size_t Utf8SequenceLength(std::string_view text, std::size_t pos) {
  const auto at = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = at(pos);
  std::size_t length = 0;
  unsigned char min2 = 0x80, max2 = 0xBF;  // allowed range of the second byte
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) min2 = 0xA0;  // overlong
    if (lead == 0xED) max2 = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) min2 = 0x90;
    if (lead == 0xF4) max2 = 0x8F;
  } else {
    return 1;
  }
  if (pos + length > text.size()) return 1;
  if (at(pos + 1) < min2 || at(pos + 1) > max2) return 1;
  for (std::size_t i = 2; i < length; ++i) {
    if (!IsContinuation(at(pos + i))) return 1;
  }
  return length;
}

std::u32string DecodeUtf8(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t length = Utf8SequenceLength(text, pos);
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (length == 1) {
      out.push_back(char32_t(lead));
    } else {
      char32_t cp = lead & (length == 2 ? 0x1F : length == 3 ? 0x0F : 0x07);
      for (std::size_t i = 1; i < length; ++i) {
        cp = (cp << 6) | (static_cast<unsigned char>(text[pos + i]) & 0x3F);
      }
      out.push_back(cp);
    }
    pos += length;
  }
  return out;
}
