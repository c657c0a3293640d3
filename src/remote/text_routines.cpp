#include "remote/text_routines.h"

namespace {

bool IsContinuationByte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }

}  // namespace

std::string TextAfter(std::string_view text, std::string_view separator) {
  const std::size_t at = separator.empty() ? std::string_view::npos : text.find(separator);
  if (at == std::string_view::npos) return std::string(text);
  return std::string(text.substr(at + separator.size()));
}

std::string TextBefore(std::string_view text, std::string_view separator) {
  const std::size_t at = separator.empty() ? std::string_view::npos : text.find(separator);
  if (at == std::string_view::npos) return std::string(text);
  return std::string(text.substr(0, at));
}

std::string TextBetween(std::string_view text, std::string_view open, std::string_view close) {
  return TextBefore(TextAfter(text, open), close);
}

std::string LeftChars(std::string_view text, int count) {
  if (count <= 0) return {};
  if (static_cast<std::size_t>(count) >= text.size()) return std::string(text);
  std::size_t cut = static_cast<std::size_t>(count);
  while (cut > 0 && IsContinuationByte(text[cut])) --cut;
  return std::string(text.substr(0, cut));
}

std::string RightChars(std::string_view text, int count) {
  if (count <= 0) return {};
  if (static_cast<std::size_t>(count) >= text.size()) return std::string(text);
  std::size_t start = text.size() - static_cast<std::size_t>(count);
  while (start < text.size() && IsContinuationByte(text[start])) ++start;
  return std::string(text.substr(start));
}

std::string TrimBlanksAndControls(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlankOrControl(text[begin])) ++begin;
  while (end > begin && IsBlankOrControl(text[end - 1])) --end;
  return std::string(text.substr(begin, end - begin));
}

std::string WithoutControlCharacters(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (char c : text) {
    const auto code = static_cast<unsigned char>(c);
    if (code < 32 || code == 127) continue;
    result.push_back(c);
  }
  return result;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t begin = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    const char c = text[at];
    if (c != '\r' && c != '\n') {
      ++at;
      continue;
    }
    lines.emplace_back(text.substr(begin, at - begin));
    at += (c == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ? 2 : 1;
    begin = at;
  }
  if (begin < text.size()) lines.emplace_back(text.substr(begin));
  return lines;
}
