#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// A record key as handed to the database: at most 31 bytes of UTF-8,
// longer texts are cut without splitting a character.
class TDBKeyStr {
 public:
  static constexpr std::size_t MaxLength = 31;

  TDBKeyStr() = default;
  TDBKeyStr(const std::string& text);  // NOLINT: implicit by design
  TDBKeyStr(std::string_view text);    // NOLINT
  TDBKeyStr(const char* text);         // NOLINT

  const std::string& str() const { return Text; }
  std::size_t size() const { return Text.size(); }
  bool empty() const { return Text.empty(); }

  friend bool operator==(const TDBKeyStr&, const TDBKeyStr&) = default;

 private:
  std::string Text;
};
