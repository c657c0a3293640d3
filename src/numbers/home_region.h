#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace numbers {

// The region numbers are read in when they carry no country code.
inline constexpr char kFallbackRegion[] = "US";

// True for a two-letter region code the number library knows ("US", "DE";
// upper case only).
bool IsSupportedRegion(std::string_view region);

// Every supported region code, sorted.
std::vector<std::string> SupportedRegions();

// The region of a locale name such as "de_CH.UTF-8" or "en_US@euro": "CH",
// "US"; empty when the name carries no supported region ("C", "POSIX", "de").
std::string RegionOfLocale(std::string_view localeName);

// The home region to use: `stored` when it names a supported region (in
// either letter case, blanks around it ignored), else the locale's region,
// else "US".
std::string HomeRegion(std::string_view stored, std::string_view localeName);

}  // namespace numbers
