#include "inidb/profile_document.h"

#include <algorithm>
#include <cstring>

#include "inidb/name_fold.h"
#include "inidb/profile_file.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

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

bool ReadsBackAsWritten(std::string_view value) {
  return TrimProfileBlanks(value).size() == value.size() && Unquote(value).size() == value.size();
}

bool SameProfileName(std::string_view a, std::string_view b) {
  return SameFoldedName(TrimProfileBlanks(a), TrimProfileBlanks(b));
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

namespace {

// Room for `count` names at most half full; a power of two.
std::size_t TableSize(std::size_t count) {
  std::size_t size = 8;
  while (size < 2 * count + 1) size *= 2;
  return size;
}

std::uint64_t KeyHash(std::string_view name, std::size_t section) {
  std::uint64_t hash = FoldedNameHash(name) ^ ((section + 1) * 0x9E3779B97F4A7C15ull);
  return hash ^ (hash >> 29);
}

}  // namespace

void TProfileDocument::Reindex() {
  std::size_t headers = 0, entries = 0;
  for (const TLine& line : Lines) {
    if (line.Kind == TLineKind::Header) ++headers;
    if (line.Kind == TLineKind::Entry && headers > 0) ++entries;
  }
  Sections.clear();
  Sections.reserve(headers);
  SectionSlots.assign(TableSize(headers), TSlot{});
  KeySlots.assign(TableSize(entries), TSlot{});
  for (std::size_t i = 0; i < Lines.size(); ++i) {
    const TLine& line = Lines[i];
    if (line.Kind == TLineKind::Header) {
      if (!Sections.empty()) Sections.back().End = i;
      Sections.push_back(TSection{i, Lines.size()});
      const std::uint64_t hash = FoldedNameHash(line.Name());
      TSlot& slot = SectionSlots[ProbeSection(hash, line.Name())];
      if (slot.Line == npos) slot = TSlot{hash, i, Sections.size() - 1};
    } else if (line.Kind == TLineKind::Entry && !Sections.empty()) {
      const std::size_t section = Sections.size() - 1;
      const std::uint64_t hash = KeyHash(line.Name(), section);
      TSlot& slot = KeySlots[ProbeKey(hash, section, line.Name())];
      if (slot.Line == npos) slot = TSlot{hash, i, section};
    }
  }
}

std::size_t TProfileDocument::ProbeSection(std::uint64_t hash, std::string_view name) const {
  const std::size_t mask = SectionSlots.size() - 1;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    const TSlot& slot = SectionSlots[i];
    if (slot.Line == npos) return i;
    if (slot.Hash == hash && SameFoldedName(Lines[slot.Line].Name(), name)) return i;
  }
}

std::size_t TProfileDocument::ProbeKey(std::uint64_t hash, std::size_t section,
                                       std::string_view name) const {
  const std::size_t mask = KeySlots.size() - 1;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    const TSlot& slot = KeySlots[i];
    if (slot.Line == npos) return i;
    if (slot.Hash == hash && slot.Section == section &&
        SameFoldedName(Lines[slot.Line].Name(), name)) {
      return i;
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

std::size_t TProfileDocument::FindSectionIndex(std::string_view section) const {
  if (SectionSlots.empty()) return npos;
  const std::string_view name = TrimProfileBlanks(section);
  const TSlot& slot = SectionSlots[ProbeSection(FoldedNameHash(name), name)];
  return slot.Line == npos ? npos : slot.Section;
}

const TProfileDocument::TSection* TProfileDocument::FindSection(std::string_view section) const {
  const std::size_t index = FindSectionIndex(section);
  return index == npos ? nullptr : &Sections[index];
}

std::size_t TProfileDocument::FindKeyIn(std::size_t section, std::string_view key) const {
  if (KeySlots.empty()) return npos;
  const std::string_view name = TrimProfileBlanks(key);
  return KeySlots[ProbeKey(KeyHash(name, section), section, name)].Line;
}

std::size_t TProfileDocument::FindEntry(std::string_view section, std::string_view key) const {
  const std::size_t index = FindSectionIndex(section);
  return index == npos ? npos : FindKeyIn(index, key);
}

std::optional<std::string_view> TProfileDocument::FindValue(std::string_view section,
                                                            std::string_view key) const {
  const std::size_t line = FindEntry(section, key);
  if (line == npos) return std::nullopt;
  return Lines[line].Value();
}

std::string_view TProfileDocument::ReadView(std::string_view section, std::string_view key,
                                           std::string_view defaultValue) const {
  const std::optional<std::string_view> value = FindValue(section, key);
  return value ? Unquote(*value) : defaultValue;
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
  const std::size_t sectionIndex = FindSectionIndex(sectionName);
  const TSection* found = sectionIndex == npos ? nullptr : &Sections[sectionIndex];
  if (found == nullptr) {
    Lines.push_back(ParseLine("[" + std::string(sectionName) + "]"));
    Lines.push_back(ParseLine(std::string(keyName) + "=" + std::string(value)));
  } else if (const std::size_t entry = FindKeyIn(sectionIndex, keyName); entry != npos) {
    TLine& line = Lines[entry];
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
