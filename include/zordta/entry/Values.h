// Strict readers for the values of CSV cells, job files and options. They answer
// nothing instead of guessing: a payment file must not carry a misread number.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "zordta/Config.h"
#include "zordta/detail/TextScan.h"
#include "zordta/host/Types.h"

namespace zor::entry {

/// Without leading and trailing blanks and tabs.
ZORDTA_API std::string Trimmed(std::string_view text);
/// The text with a-z raised to capitals; other bytes as they are.
ZORDTA_API std::string AsciiUpper(std::string_view text);
/// Without leading and trailing blanks and tabs, without a copy.
using zor::detail::TrimmedView;

/// A non-negative whole number of at most 18 digits.
ZORDTA_API std::optional<std::int64_t> ParseDigits(std::string_view text);

/// "1234.56".
ZORDTA_API std::string FormatCent(std::int64_t cent);

/// YYYY-MM-DD or DD.MM.YYYY.
ZORDTA_API std::optional<zor::TDate> ParseDate(std::string_view text);
/// YYYY-MM-DD.
ZORDTA_API std::string FormatIsoDate(zor::TDate date);
ZORDTA_API std::string FormatIsoDate(const std::chrono::year_month_day& date);

/// true/false, ja/nein, 1/0.
ZORDTA_API std::optional<bool> ParseBool(std::string_view text);

}  // namespace zor::entry
