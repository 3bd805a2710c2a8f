// The century of a two-digit year in a DTAUS or DTAZV date.
#pragma once

namespace zor::detail {

/// Within the hundred years that begin fifty years before this year.
constexpr int FullYear(int twoDigits, int thisYear) {
  const int first = thisYear - 50;
  int year = first - first % 100 + twoDigits;
  if (year < first) year += 100;
  return year;
}

}  // namespace zor::detail
