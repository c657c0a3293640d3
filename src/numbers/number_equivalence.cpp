#include "numbers/number_equivalence.h"

#include <phonenumbers/phonenumber.pb.h>
#include <phonenumbers/phonenumberutil.h>

namespace numbers {

using i18n::phonenumbers::PhoneNumber;
using i18n::phonenumbers::PhoneNumberUtil;

TNumberEquivalence::TNumberEquivalence(std::string homeRegion)
    : homeRegion_(std::move(homeRegion)) {}

namespace {

bool Parse(const PhoneNumberUtil& util, std::string_view text, const std::string& region,
           PhoneNumber& number) {
  return util.Parse(std::string(text), region, &number) == PhoneNumberUtil::NO_PARSING_ERROR;
}

}  // namespace

std::string TNumberEquivalence::Identity(std::string_view text) const {
  const PhoneNumberUtil& util = *PhoneNumberUtil::GetInstance();
  PhoneNumber number;
  if (!Parse(util, text, homeRegion_, number)) return std::string();
  // A digit or two is a room, an extension or a typing slip, not a number
  // to recognise a caller by.
  const PhoneNumberUtil::ValidationResult possible = util.IsPossibleNumberWithReason(number);
  if (possible != PhoneNumberUtil::IS_POSSIBLE &&
      possible != PhoneNumberUtil::IS_POSSIBLE_LOCAL_ONLY)
    return std::string();
  // Both sides are read with the home region, so both carry a country code,
  // and the library's exact match is then equality of these three parts
  // (the national significant number keeps Italian-style leading zeros).
  std::string nationalNumber;
  util.GetNationalSignificantNumber(number, &nationalNumber);
  std::string identity = "+" + std::to_string(number.country_code()) + " " + nationalNumber;
  if (number.has_extension() && !number.extension().empty())
    identity += " ext " + number.extension();
  return identity;
}

bool TNumberEquivalence::Equivalent(std::string_view a, std::string_view b) const {
  const std::string identity = Identity(a);
  return !identity.empty() && identity == Identity(b);
}

std::string TNumberEquivalence::NationalDigits(std::string_view text) const {
  const PhoneNumberUtil& util = *PhoneNumberUtil::GetInstance();
  PhoneNumber number;
  if (!Parse(util, text, homeRegion_, number) || number.has_extension() ||
      number.country_code() != util.GetCountryCodeForRegion(homeRegion_))
    return std::string();
  std::string national;
  util.Format(number, PhoneNumberUtil::NATIONAL, &national);
  std::string digits;
  for (char c : national) {
    if (c >= '0' && c <= '9') digits += c;
  }
  return digits;
}

}  // namespace numbers
