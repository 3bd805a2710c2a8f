#include "zordta/SepaCountries.h"

#include <array>
#include <cstddef>

namespace zor {

namespace {

// The list by its two kinds, as the European Payments Council keeps it. The
// French territories, the Åland Islands and the Crown Dependencies use the
// IBANs of France, Finland and the United Kingdom; their own codes are here
// for a BIC or an address that names them.
constexpr std::string_view kEea[] = {"AT", "BE", "BG", "CY", "CZ", "DE", "DK", "EE", "ES", "FI",
                                     "FR", "GR", "HR", "HU", "IE", "IS", "IT", "LI", "LT", "LU",
                                     "LV", "MT", "NL", "NO", "PL", "PT", "RO", "SE", "SI", "SK",
                                     // Territories of France and Finland inside the EEA.
                                     "AX", "BL", "GF", "GP", "MF", "MQ", "RE", "YT"};

constexpr std::string_view kOutsideEea[] = {"AD", "CH", "GB", "GG", "GI", "IM", "JE", "MC", "PM",
                                            "SM", "VA",
                                            // In the schemes since 2025.
                                            "AL", "MD", "ME", "MK"};

// One cell for every pair of capitals: every payment asks twice.
constexpr std::size_t Cell(std::string_view code) {
  return static_cast<std::size_t>(code[0] - 'A') * 26 + static_cast<std::size_t>(code[1] - 'A');
}

constexpr std::array<SepaArea, 26 * 26> kAreas = [] {
  std::array<SepaArea, 26 * 26> areas{};
  const auto mark = [&areas](const auto& codes, SepaArea area) {
    for (const std::string_view code : codes) areas[Cell(code)] = area;
  };
  mark(kEea, SepaArea::Eea);
  mark(kOutsideEea, SepaArea::OutsideEea);
  return areas;
}();

}  // namespace

SepaArea SepaAreaOf(std::string_view country) noexcept {
  if (country.size() != 2) return SepaArea::Outside;
  const auto capital = [](char c) { return c >= 'A' && c <= 'Z'; };
  if (!capital(country[0]) || !capital(country[1])) return SepaArea::Outside;
  return kAreas[Cell(country)];
}

}  // namespace zor
