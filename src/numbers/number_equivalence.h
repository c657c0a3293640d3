#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace numbers {

// Telephone numbers compared the way people write them. Each text is read
// as a number dialled in the home region, so with region "US" the texts
// "+1 212 555 0101", "1-212-555-0101", "(212) 555-0101" and "2125550101"
// are one number, and with region "DE" so are "+49 30 1234567",
// "0049 30 1234567" and "030 1234567".
class TNumberEquivalence {
 public:
  // `homeRegion` is a two-letter region code such as "US" or "DE".
  explicit TNumberEquivalence(std::string homeRegion);

  const std::string& HomeRegion() const { return homeRegion_; }

  // A text equal for exactly the texts that name the same number: country
  // code, national number and extension. Empty for a text that is no
  // possible telephone number ("BLOCKED", "NO DATA", a name, "", "12").
  std::string Identity(std::string_view text) const;

  // True when both texts are telephone numbers and name the same number.
  bool Equivalent(std::string_view a, std::string_view b) const;

  // The digits a call from this number shows when it comes from inside the
  // home region: its national form without punctuation ("+1 212 555-0101"
  // gives "2125550101" with region "US", "+49 30 1234567" gives
  // "0301234567" with region "DE"). Empty for a number of another country,
  // a number with an extension, and a text that is no number.
  std::string NationalDigits(std::string_view text) const;

 private:
  std::string homeRegion_;
};

}  // namespace numbers
