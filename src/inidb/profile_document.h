#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Names compare without regard to letter case (name_fold.h), surrounding
// blanks ignored.
std::string_view TrimProfileBlanks(std::string_view text);
bool SameProfileName(std::string_view a, std::string_view b);

// True when reading an entry holding `value` gives `value` back: no blanks
// around it and not wrapped in a pair of quotes.
bool ReadsBackAsWritten(std::string_view value);

// An INI file held as its lines, with the lookups and edits of the profile
// routines. Lines that an edit does not touch keep their exact content;
// the file is written back with CR LF after every line.
class TProfileDocument {
 public:
  // An empty document (a file that does not exist yet).
  TProfileDocument() = default;
  // Parses `content`; any bytes are accepted. LF, CR LF and lone CR end lines.
  explicit TProfileDocument(std::string_view content);

  std::string Serialize() const;
  // Bytes the document takes when written.
  std::size_t ContentSize() const;
  bool Modified() const { return IsModified; }
  void ClearModified() { IsModified = false; }

  // The value of section/key without surrounding blanks (quotes kept), or
  // nothing when the section or entry is absent.
  std::optional<std::string_view> FindValue(std::string_view section, std::string_view key) const;

  // The value as a read gives it before any cut (quotes removed), or the
  // default; valid while the document is.
  std::string_view ReadView(std::string_view section, std::string_view key,
                            std::string_view defaultValue) const;
  std::size_t ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue, char* buffer, std::size_t room) const;
  // The same as text (without the zero byte).
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue, std::size_t room) const;
  std::int32_t ReadInteger(std::string_view section, std::string_view key,
                           std::int32_t defaultValue) const;
  std::size_t ReadKeys(std::string_view section, char* buffer, std::size_t room) const;

  // Edits; false when the text cannot be stored (nothing changed then).
  bool WriteString(std::string_view section, std::string_view key, std::string_view value);
  bool DeleteKey(std::string_view section, std::string_view key);
  bool DeleteSection(std::string_view section);

 private:
  enum class TLineKind : std::uint8_t { Blank, Comment, Header, Entry, Other };
  struct TLine {
    std::string Text;
    TLineKind Kind = TLineKind::Blank;
    // Header: the name; Entry: the key. Offsets into Text.
    std::size_t NameBegin = 0, NameEnd = 0;
    // Entry: the value.
    std::size_t ValueBegin = 0, ValueEnd = 0;

    std::string_view Name() const {
      return std::string_view(Text).substr(NameBegin, NameEnd - NameBegin);
    }
    std::string_view Value() const {
      return std::string_view(Text).substr(ValueBegin, ValueEnd - ValueBegin);
    }
  };
  struct TSection {
    std::size_t Header = 0;  // line of the header
    std::size_t End = 0;     // first line after the section
  };
  // One slot of the open-addressing tables that find a section by name and
  // an entry by its section and key (the first of duplicates only). Kept
  // flat: lookups run for every operation and should touch little memory.
  struct TSlot {
    std::uint64_t Hash = 0;
    std::size_t Line = std::string::npos;  // npos: empty slot
    std::size_t Section = 0;               // the section (ordinal) it names or lies in
  };

  static TLine ParseLine(std::string text);
  void Reindex();
  // Slot of (section, name): where it is, or the empty slot where it would go.
  std::size_t ProbeSection(std::uint64_t hash, std::string_view name) const;
  std::size_t ProbeKey(std::uint64_t hash, std::size_t section, std::string_view name) const;
  // Ordinal of the first section named `section`, or npos.
  std::size_t FindSectionIndex(std::string_view section) const;
  const TSection* FindSection(std::string_view section) const;
  // Line of the first entry `key` in the section with that ordinal, or npos.
  std::size_t FindKeyIn(std::size_t section, std::string_view key) const;
  // Line of section/key, or npos.
  std::size_t FindEntry(std::string_view section, std::string_view key) const;

  std::vector<TLine> Lines;
  std::vector<TSection> Sections;
  std::vector<TSlot> SectionSlots;
  std::vector<TSlot> KeySlots;
  bool IsModified = false;
};
