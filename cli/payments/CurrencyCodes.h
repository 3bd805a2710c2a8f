// The currencies a payment can be made in: ISO 4217 List One (current
// currencies and funds) as published by its maintenance agency SIX on
// 2026-01-01 (178 codes; XCG and XAD came in 2025, BGN left with 2026), less
// the codes that name no money one can pay in: precious metals (XAU, XAG,
// XPT, XPD), units of account (XDR, XSU, XUA, XAD, XBA to XBD), the testing
// code XTS and XXX for "no currency".
#pragma once

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

namespace zcli {

// Sorted.
inline constexpr std::array<std::string_view, 164> kPayableCurrencies{{
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

static_assert(std::is_sorted(kPayableCurrencies.begin(), kPayableCurrencies.end()));

/// Three capitals that name a currency one can pay in.
constexpr bool IsPayableCurrency(std::string_view code) {
  return std::binary_search(kPayableCurrencies.begin(), kPayableCurrencies.end(), code);
}

/// "" for a currency one can pay in (letters in any case), else why not, naming the code.
std::string CurrencyProblem(std::string_view code);

}  // namespace zcli
