// The country and currency codes of ISO 3166-1 and ISO 4217, as foreign
// payments and BICs name them:
//
//   zor::IsCountryCode("DE");       // true
//   zor::IsPayableCurrency("USD");  // true
//   zor::IsCurrencyCode("XAU");     // true: gold, though no money one pays in
//
// Codes are taken as they are written in files: capitals only.
#pragma once

#include <string_view>

#include "zordta/Config.h"

namespace zor {

/// The edition of ISO 4217 the currency codes follow (List One of its
/// maintenance agency).
inline constexpr std::string_view kCurrencyCodesEdition = "2026-01-01";

/// Two capitals that name a country of ISO 3166-1 alpha-2 (249 codes), or XK,
/// which banks use for Kosovo though ISO has not assigned it.
ZORDTA_API bool IsCountryCode(std::string_view code) noexcept;

/// Three capitals of ISO 4217 List One: a currency, a fund, or a code that
/// names no money (precious metals, units of account, XTS for testing, XXX).
ZORDTA_API bool IsCurrencyCode(std::string_view code) noexcept;

/// Three capitals that name a currency or fund one can pay in: List One less
/// precious metals, units of account, XTS and XXX.
ZORDTA_API bool IsPayableCurrency(std::string_view code) noexcept;

}  // namespace zor
