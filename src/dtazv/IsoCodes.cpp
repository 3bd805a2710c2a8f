// The tables of ISO 3166-1 and ISO 4217 codes. Both are constant data, made
// at compile time: no work at load.
#include "zordta/IsoCodes.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace zor {
namespace {

bool IsCapital(char c) {
  return c >= 'A' && c <= 'Z';
}

// Made from Debian's iso-codes when the build is configured.
constexpr std::string_view kIso3166Codes[] = {
#include "Iso3166Codes.inc"
};

// A build against a broken or truncated file fails here, not at the banks.
static_assert(std::size(kIso3166Codes) >= 249, "iso-codes lists too few countries");

// One row per first letter, one bit per second: every BIC of a file asks.
constexpr std::array<std::uint32_t, 26> kCountries = [] {
  std::array<std::uint32_t, 26> rows{};
  const auto add = [&rows](std::string_view code) {
    rows[static_cast<unsigned>(code[0] - 'A')] |= std::uint32_t{1} << (code[1] - 'A');
  };
  for (const std::string_view code : kIso3166Codes) add(code);
  // Kosovo's code in use at the banks, not assigned by ISO.
  add("XK");
  return rows;
}();

// ISO 4217 List One as published by its maintenance agency SIX on 2026-01-01
// (178 codes; XCG and XAD came in 2025, BGN left with 2026). Typed here, not
// taken from iso-codes: the iso_4217.json of Debian 12 (iso-codes 4.15) still
// lists HRK, SLL, BGN and ANG and lacks XCG and ZWG.
//
// The codes one can pay in, sorted.
constexpr std::array<std::string_view, 164> kPayableCurrencies{{
    "AED", "AFN", "ALL", "AMD", "AOA", "ARS", "AUD", "AWG", "AZN", "BAM", "BBD", "BDT", "BHD",
    "BIF", "BMD", "BND", "BOB", "BOV", "BRL", "BSD", "BTN", "BWP", "BYN", "BZD", "CAD", "CDF",
    "CHE", "CHF", "CHW", "CLF", "CLP", "CNY", "COP", "COU", "CRC", "CUP", "CVE", "CZK", "DJF",
    "DKK", "DOP", "DZD", "EGP", "ERN", "ETB", "EUR", "FJD", "FKP", "GBP", "GEL", "GHS", "GIP",
    "GMD", "GNF", "GTQ", "GYD", "HKD", "HNL", "HTG", "HUF", "IDR", "ILS", "INR", "IQD", "IRR",
    "ISK", "JMD", "JOD", "JPY", "KES", "KGS", "KHR", "KMF", "KPW", "KRW", "KWD", "KYD", "KZT",
    "LAK", "LBP", "LKR", "LRD", "LSL", "LYD", "MAD", "MDL", "MGA", "MKD", "MMK", "MNT", "MOP",
    "MRU", "MUR", "MVR", "MWK", "MXN", "MXV", "MYR", "MZN", "NAD", "NGN", "NIO", "NOK", "NPR",
    "NZD", "OMR", "PAB", "PEN", "PGK", "PHP", "PKR", "PLN", "PYG", "QAR", "RON", "RSD", "RUB",
    "RWF", "SAR", "SBD", "SCR", "SDG", "SEK", "SGD", "SHP", "SLE", "SOS", "SRD", "SSP", "STN",
    "SVC", "SYP", "SZL", "THB", "TJS", "TMT", "TND", "TOP", "TRY", "TTD", "TWD", "TZS", "UAH",
    "UGX", "USD", "USN", "UYI", "UYU", "UYW", "UZS", "VED", "VES", "VND", "VUV", "WST", "XAF",
    "XCD", "XCG", "XOF", "XPF", "YER", "ZAR", "ZMW", "ZWG",
}};

// The codes that name no money: precious metals (XAU, XAG, XPT, XPD), units of
// account (XDR, XSU, XUA, XAD, XBA to XBD), testing (XTS) and none (XXX); sorted.
constexpr std::array<std::string_view, 14> kNoMoney{{"XAD", "XAG", "XAU", "XBA", "XBB", "XBC",
                                                     "XBD", "XDR", "XPD", "XPT", "XSU", "XTS",
                                                     "XUA", "XXX"}};

static_assert(std::is_sorted(kPayableCurrencies.begin(), kPayableCurrencies.end()));
static_assert(std::is_sorted(kNoMoney.begin(), kNoMoney.end()));

}  // namespace

bool IsCountryCode(std::string_view code) noexcept {
  return code.size() == 2 && IsCapital(code[0]) && IsCapital(code[1]) &&
         (kCountries[static_cast<unsigned>(code[0] - 'A')] >> (code[1] - 'A') & 1) != 0;
}

bool IsPayableCurrency(std::string_view code) noexcept {
  return std::binary_search(kPayableCurrencies.begin(), kPayableCurrencies.end(), code);
}

bool IsCurrencyCode(std::string_view code) noexcept {
  return IsPayableCurrency(code) || std::binary_search(kNoMoney.begin(), kNoMoney.end(), code);
}

}  // namespace zor
