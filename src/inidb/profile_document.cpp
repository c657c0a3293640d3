#include "inidb/profile_document.h"

#include <algorithm>
#include <cstring>

#include "inidb/profile_file.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// A value wrapped in a matching pair of quotes reads without them.
std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

constexpr std::size_t npos = std::string::npos;

}  // namespace

std::string_view TrimProfileBlanks(std::string_view text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::string FoldProfileName(std::string_view name) {
  const std::string_view trimmed = TrimProfileBlanks(name);
  std::string folded(trimmed);
  for (char& c : folded) c = FoldAscii(c);
  return folded;
}

TProfileDocument::TProfileDocument(std::string_view content) {
  std::size_t pos = 0;
  while (pos < content.size()) {
    const std::size_t end = content.find_first_of("\r\n", pos);
    if (end == npos) {
      Lines.push_back(ParseLine(std::string(content.substr(pos))));
      break;
    }
    Lines.push_back(ParseLine(std::string(content.substr(pos, end - pos))));
    pos = end + 1;
    if (content[end] == '\r' && pos < content.size() && content[pos] == '\n') ++pos;
  }
  Reindex();
}

TProfileDocument::TLine TProfileDocument::ParseLine(std::string text) {
  TLine line;
  line.Text = std::move(text);
  const std::string_view t = line.Text;
  std::size_t first = 0;
  while (first < t.size() && IsBlank(t[first])) ++first;
  if (first == t.size()) return line;  // blank
  if (t[first] == ';') {
    line.Kind = TLineKind::Comment;
    return line;
  }
  if (t[first] == '[') {
    const std::size_t close = t.find(']', first + 1);
    if (close != npos) {
      std::size_t begin = first + 1, end = close;
      while (begin < end && IsBlank(t[begin])) ++begin;
      while (end > begin && IsBlank(t[end - 1])) --end;
      line.Kind = TLineKind::Header;
      line.NameBegin = begin;
      line.NameEnd = end;
      return line;
    }
  }
  const std::size_t equals = t.find('=');
  if (equals == npos) {
    line.Kind = TLineKind::Other;
    return line;
  }
  std::size_t keyEnd = equals;
  while (keyEnd > first && IsBlank(t[keyEnd - 1])) --keyEnd;
  std::size_t valueBegin = equals + 1, valueEnd = t.size();
  while (valueBegin < valueEnd && IsBlank(t[valueBegin])) ++valueBegin;
  while (valueEnd > valueBegin && IsBlank(t[valueEnd - 1])) --valueEnd;
  line.Kind = TLineKind::Entry;
  line.NameBegin = first;
  line.NameEnd = keyEnd;
  line.ValueBegin = valueBegin;
  line.ValueEnd = valueEnd;
  return line;
}

void TProfileDocument::Reindex() {
  Sections.clear();
  FirstSection.clear();
  for (std::size_t i = 0; i < Lines.size(); ++i) {
    const TLine& line = Lines[i];
    if (line.Kind == TLineKind::Header) {
      if (!Sections.empty()) Sections.back().End = i;
      Sections.push_back(TSection{i, Lines.size(), {}});
      FirstSection.try_emplace(FoldProfileName(line.Name()), Sections.size() - 1);
    } else if (line.Kind == TLineKind::Entry && !Sections.empty()) {
      Sections.back().FirstKey.try_emplace(FoldProfileName(line.Name()), i);
    }
  }
}

std::size_t TProfileDocument::ContentSize() const {
  std::size_t total = 0;
  for (const TLine& line : Lines) total += line.Text.size() + 2;
  return total;
}

std::string TProfileDocument::Serialize() const {
  std::string out;
  out.reserve(ContentSize());
  for (const TLine& line : Lines) {
    out += line.Text;
    out += "\r\n";
  }
  return out;
}

const TProfileDocument::TSection* TProfileDocument::FindSection(std::string_view section) const {
  const auto it = FirstSection.find(FoldProfileName(section));
  return it == FirstSection.end() ? nullptr : &Sections[it->second];
}

std::size_t TProfileDocument::FindEntry(std::string_view section, std::string_view key) const {
  const TSection* found = FindSection(section);
  if (found == nullptr) return npos;
  const auto it = found->FirstKey.find(FoldProfileName(key));
  return it == found->FirstKey.end() ? npos : it->second;
}

std::optional<std::string_view> TProfileDocument::FindValue(std::string_view section,
                                                            std::string_view key) const {
  const std::size_t line = FindEntry(section, key);
  if (line == npos) return std::nullopt;
  return Lines[line].Value();
}

std::size_t TProfileDocument::ReadString(std::string_view section, std::string_view key,
                                         std::string_view defaultValue, char* buffer,
                                         std::size_t room) const {
  if (room == 0 || buffer == nullptr) return 0;
  const std::optional<std::string_view> value = FindValue(section, key);
  const std::string_view text = value ? Unquote(*value) : defaultValue;
  const std::size_t length = std::min(text.size(), room - 1);
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
  return length;
}

std::string TProfileDocument::ReadString(std::string_view section, std::string_view key,
                                         std::string_view defaultValue, std::size_t room) const {
  if (room == 0) return {};
  const std::optional<std::string_view> value = FindValue(section, key);
  const std::string_view text = value ? Unquote(*value) : defaultValue;
  return std::string(text.substr(0, std::min(text.size(), room - 1)));
}

std::int32_t TProfileDocument::ReadInteger(std::string_view section, std::string_view key,
                                           std::int32_t defaultValue) const {
  const std::optional<std::string_view> value = FindValue(section, key);
  if (!value) return defaultValue;
  const std::string_view text = Unquote(*value);
  if (TrimProfileBlanks(text).empty()) return defaultValue;
  std::size_t pos = 0;
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  // Past 32 bits the number wraps, as the classic routines do.
  std::uint32_t number = 0;
  for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
    number = number * 10u + static_cast<std::uint32_t>(text[pos] - '0');
  }
  if (negative) number = 0u - number;
  return static_cast<std::int32_t>(number);
}

std::size_t TProfileDocument::ReadKeys(std::string_view section, char* buffer,
                                       std::size_t room) const {
  if (room == 0 || buffer == nullptr) return 0;
  buffer[0] = '\0';
  if (room == 1) return 0;
  buffer[1] = '\0';
  const TSection* found = FindSection(section);
  if (found == nullptr) return 0;
  std::size_t used = 0;
  for (std::size_t i = found->Header + 1; i < found->End; ++i) {
    const TLine& line = Lines[i];
    // An empty name would read as the end of the list.
    if (line.Kind != TLineKind::Entry || line.NameEnd == line.NameBegin) continue;
    const std::string_view key = line.Name();
    if (used + key.size() + 2 > room) {
      // Cut: as much of this key as fits, then two zero bytes at the end.
      // The previous key may already reach into the last two bytes.
      const std::size_t part = used < room - 2 ? room - 2 - used : 0;
      std::memcpy(buffer + used, key.data(), part);
      buffer[room - 2] = '\0';
      buffer[room - 1] = '\0';
      return room - 2;
    }
    std::memcpy(buffer + used, key.data(), key.size());
    used += key.size();
    buffer[used++] = '\0';
  }
  buffer[used] = '\0';
  // A list that fills the buffer exactly is reported like a cut one.
  return used + 1 == room ? room - 2 : used;
}

bool TProfileDocument::WriteString(std::string_view section, std::string_view key,
                                   std::string_view value) {
  if (!IsStorableSectionName(section) || !IsStorableKey(key) || !IsStorableValue(value)) {
    return false;
  }
  const std::string_view sectionName = TrimProfileBlanks(section);
  const std::string_view keyName = TrimProfileBlanks(key);
  const TSection* found = FindSection(sectionName);
  if (found == nullptr) {
    Lines.push_back(ParseLine("[" + std::string(sectionName) + "]"));
    Lines.push_back(ParseLine(std::string(keyName) + "=" + std::string(value)));
  } else if (const auto it = found->FirstKey.find(FoldProfileName(keyName));
             it != found->FirstKey.end()) {
    TLine& line = Lines[it->second];
    if (line.Value() == value) return true;
    line = ParseLine(std::string(line.Name()) + "=" + std::string(value));
  } else {
    // After the last non-blank line of the section, so blank lines that
    // separate it from the next one stay where they are.
    std::size_t last = found->Header;
    for (std::size_t i = found->Header + 1; i < found->End; ++i) {
      if (Lines[i].Kind != TLineKind::Blank) last = i;
    }
    Lines.insert(Lines.begin() + static_cast<std::ptrdiff_t>(last + 1),
                 ParseLine(std::string(keyName) + "=" + std::string(value)));
  }
  IsModified = true;
  Reindex();
  return true;
}

bool TProfileDocument::DeleteKey(std::string_view section, std::string_view key) {
  const std::size_t line = FindEntry(section, key);
  if (line == npos) return true;
  Lines.erase(Lines.begin() + static_cast<std::ptrdiff_t>(line));
  IsModified = true;
  Reindex();
  return true;
}

bool TProfileDocument::DeleteSection(std::string_view section) {
  const TSection* found = FindSection(section);
  if (found == nullptr) return true;
  Lines.erase(Lines.begin() + static_cast<std::ptrdiff_t>(found->Header),
              Lines.begin() + static_cast<std::ptrdiff_t>(found->End));
  IsModified = true;
  Reindex();
  return true;
}
