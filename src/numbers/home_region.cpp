#include "numbers/home_region.h"

#include <phonenumbers/phonenumberutil.h>

#include <set>

namespace numbers {
namespace {

using i18n::phonenumbers::PhoneNumberUtil;

const std::set<std::string>& Regions() {
  static const std::set<std::string> regions = [] {
    std::set<std::string> all;
    PhoneNumberUtil::GetInstance()->GetSupportedRegions(&all);
    return all;
  }();
  return regions;
}

std::string UpperAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

bool IsSupportedRegion(std::string_view region) {
  return Regions().count(std::string(region)) != 0;
}

std::vector<std::string> SupportedRegions() {
  return std::vector<std::string>(Regions().begin(), Regions().end());
}

std::string RegionOfLocale(std::string_view localeName) {
  // language[_script][_territory][.codeset][@modifier]; Qt writes "de-CH" too.
  const std::size_t end = localeName.find_first_of(".@");
  if (end != std::string_view::npos) localeName = localeName.substr(0, end);
  const std::size_t separator = localeName.find_last_of("_-");
  if (separator == std::string_view::npos) return std::string();
  const std::string region = UpperAscii(localeName.substr(separator + 1));
  return IsSupportedRegion(region) ? region : std::string();
}

std::string HomeRegion(std::string_view stored, std::string_view localeName) {
  const std::string region = UpperAscii(TrimBlanks(stored));
  if (IsSupportedRegion(region)) return region;
  const std::string localeRegion = RegionOfLocale(localeName);
  return localeRegion.empty() ? std::string(kFallbackRegion) : localeRegion;
}

}  // namespace numbers
