// The widths and limits of the DTAUS and DTAZV records, for callers that check
// their data before they hand it to the components. Constants only: nothing to
// link, and the library's own record layouts are checked against these values.
// Offsets count bytes from 0 at the start of the record.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zor::limits {

/// The largest number a field of that many decimal digits holds.
constexpr std::int64_t MaxForDigits(std::size_t digits) {
  std::int64_t max = 0;
  for (std::size_t i = 0; i < digits; ++i) max = max * 10 + 9;
  return max;
}

// Bank codes and accounts, in both formats. A value is checked against the
// range; the field holds every value up to the maximum.
inline constexpr std::size_t kBLZDigits = 8;
inline constexpr std::int64_t kMinBLZ = 10'000'000;
inline constexpr std::int64_t kMaxBLZ = MaxForDigits(kBLZDigits);
inline constexpr std::size_t kKontoDigits = 10;
inline constexpr std::int64_t kMinKonto = 10;
inline constexpr std::int64_t kMaxKonto = MaxForDigits(kKontoDigits);

/// An execution date lies between today and today plus this many days.
inline constexpr int kExecutionWindowDays = 15;

/// The smallest amount either component books, in euro or currency units.
inline constexpr double kMinBetrag = 1;

namespace dtaus {

/// Every record is made of parts of this many bytes.
inline constexpr std::size_t kPartLength = 128;
/// A name or purpose line.
inline constexpr std::size_t kTextWidth = 27;
/// Purpose lines of one payment.
inline constexpr int kMaxPurposeLines = 14;
/// Amounts lie below this many euro.
inline constexpr double kBetragBelow = 1'000'000'000;
/// The amount of one payment in cents.
inline constexpr std::size_t kCentDigits = 11;
inline constexpr std::int64_t kMaxCent = MaxForDigits(kCentDigits);

/// Execution date of the A record, "ddmmyyyy" or blanks.
inline constexpr std::size_t kAAusfuehrungsdatumOffset = 95;
inline constexpr std::size_t kAAusfuehrungsdatumWidth = 8;

// The control figures of the E record.
inline constexpr std::size_t kECountOffset = 10;
inline constexpr std::size_t kECountWidth = 7;
inline constexpr std::size_t kEKontoSumOffset = 30;
inline constexpr std::size_t kEKontoSumWidth = 17;
inline constexpr std::size_t kEBLZSumOffset = 47;
inline constexpr std::size_t kEBLZSumWidth = 17;
inline constexpr std::size_t kECentSumOffset = 64;
inline constexpr std::size_t kECentSumWidth = 13;
/// Payments in one file.
inline constexpr std::int64_t kMaxCount = MaxForDigits(kECountWidth);
/// The sum of a file's amounts in cents.
inline constexpr std::int64_t kMaxCentSum = MaxForDigits(kECentSumWidth);

}  // namespace dtaus

namespace dtazv {

/// A name, address or purpose line, and the contact person.
inline constexpr std::size_t kLineWidth = 35;
/// The internal note for the client's statement.
inline constexpr std::size_t kNotizWidth = 27;
/// Purpose lines of one payment.
inline constexpr int kMaxPurposeLines = 4;
/// Running number, federal-state key and payment-type key: two digits each.
inline constexpr std::size_t kKeyDigits = 2;
inline constexpr std::int64_t kMaxKey = MaxForDigits(kKeyDigits);
inline constexpr std::size_t kFirmennummerDigits = 8;
inline constexpr std::int64_t kMaxFirmennummer = MaxForDigits(kFirmennummerDigits);

/// The whole currency units of one payment.
inline constexpr std::size_t kUnitDigits = 14;
inline constexpr std::int64_t kMaxUnits = MaxForDigits(kUnitDigits);
/// Amounts in euro: at most this much, or kMaxBetragEURWithKeys once the
/// federal-state key and the company number are set.
inline constexpr double kMaxBetragEUR = 12'500;
inline constexpr double kMaxBetragEURWithKeys = 50'000;
/// Amounts in another account currency lie below this many units.
inline constexpr double kBetragBelow = static_cast<double>(kMaxUnits) + 1;

// The totals of the Z record.
inline constexpr std::size_t kZUnitSumWidth = 15;
inline constexpr std::size_t kZCountWidth = 15;
/// The sum of a file's whole units.
inline constexpr std::int64_t kMaxUnitSum = MaxForDigits(kZUnitSumWidth);

}  // namespace dtazv

}  // namespace zor::limits
