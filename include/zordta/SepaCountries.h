// Where SEPA payments reach: the countries and territories of the SEPA schemes,
// by their ISO 3166-1 code, in two kinds. Inside the European Economic Area an
// IBAN is enough; a payment with an account outside it needs the BIC of the
// account's bank, and the banks refuse any account outside the schemes:
//
//   switch (zor::SepaAreaOf(iban.substr(0, 2))) {
//     case zor::SepaArea::Outside: /* no SEPA payment at all */ break;
//     case zor::SepaArea::OutsideEea: /* the BIC is needed */ break;
//     case zor::SepaArea::Eea: break;
//   }
#pragma once

#include <string_view>

#include "zordta/Config.h"

namespace zor {

enum class SepaArea {
  Outside,     ///< not a country of the SEPA schemes
  Eea,         ///< the EU, Iceland, Liechtenstein, Norway and their territories in the schemes
  OutsideEea,  ///< in the schemes, outside the EEA: Switzerland, the United Kingdom, ...
};

/// The edition of the scheme countries' list this library holds: the
/// European Payments Council's list of SEPA scheme countries.
inline constexpr std::string_view kSepaCountriesEdition = "EPC409-09, 2025";

/// The area of a country code (two capitals); Outside for anything else.
ZORDTA_API SepaArea SepaAreaOf(std::string_view country) noexcept;

}  // namespace zor
