// The length of an IBAN in each country of the IBAN registry. A bank refuses an
// IBAN of another length even when its check digits happen to agree.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

namespace zcli {

struct IbanCountry {
  std::string_view code;
  std::size_t length;
};

// Sorted by code.
inline constexpr std::array<IbanCountry, 89> kIbanCountries{{
    {"AD", 24}, {"AE", 23}, {"AL", 28}, {"AT", 20}, {"AZ", 28}, {"BA", 20}, {"BE", 16}, {"BG", 22},
    {"BH", 22}, {"BI", 27}, {"BR", 29}, {"BY", 28}, {"CH", 21}, {"CR", 22}, {"CY", 28}, {"CZ", 24},
    {"DE", 22}, {"DJ", 27}, {"DK", 18}, {"DO", 28}, {"EE", 20}, {"EG", 29}, {"ES", 24}, {"FI", 18},
    {"FK", 18}, {"FO", 18}, {"FR", 27}, {"GB", 22}, {"GE", 22}, {"GI", 23}, {"GL", 18}, {"GR", 27},
    {"GT", 28}, {"HN", 28}, {"HR", 21}, {"HU", 28}, {"IE", 22}, {"IL", 23}, {"IQ", 23}, {"IS", 26},
    {"IT", 27}, {"JO", 30}, {"KW", 30}, {"KZ", 20}, {"LB", 28}, {"LC", 32}, {"LI", 21}, {"LT", 20},
    {"LU", 20}, {"LV", 21}, {"LY", 25}, {"MC", 27}, {"MD", 24}, {"ME", 22}, {"MK", 19}, {"MN", 20},
    {"MR", 27}, {"MT", 31}, {"MU", 30}, {"NI", 28}, {"NL", 18}, {"NO", 15}, {"OM", 23}, {"PK", 24},
    {"PL", 28}, {"PS", 29}, {"PT", 25}, {"QA", 29}, {"RO", 24}, {"RS", 22}, {"RU", 33}, {"SA", 24},
    {"SC", 31}, {"SD", 18}, {"SE", 24}, {"SI", 19}, {"SK", 24}, {"SM", 27}, {"SO", 23}, {"ST", 25},
    {"SV", 28}, {"TL", 23}, {"TN", 24}, {"TR", 26}, {"UA", 29}, {"VA", 22}, {"VG", 24}, {"XK", 20},
    {"YE", 30},
}};

static_assert(std::is_sorted(kIbanCountries.begin(), kIbanCountries.end(),
                             [](const IbanCountry& a, const IbanCountry& b) {
                               return a.code < b.code;
                             }));

/// The length of the IBANs of a country (its two capital letters); 0 when the
/// country has none.
constexpr std::size_t IbanLength(std::string_view country) {
  const auto it =
      std::lower_bound(kIbanCountries.begin(), kIbanCountries.end(), country,
                       [](const IbanCountry& c, std::string_view code) { return c.code < code; });
  return it != kIbanCountries.end() && it->code == country ? it->length : 0;
}

}  // namespace zcli
