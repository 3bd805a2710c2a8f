// The countries of the IBAN registry: each one's IBAN length and BBAN format.
#pragma once

#include <cstddef>
#include <string_view>

namespace zor::detail::dtazv {

struct IbanCountryFormat {
  std::string_view country;  ///< two capitals
  std::size_t length;        ///< of the whole IBAN
  /// The registry's notation: runs of "<count>!<class>", the class n (digits),
  /// a (capitals) or c (capitals or digits), e.g. "5!n5!n11!c2!n".
  std::string_view bban;
};

/// The country's row; nullptr for a code the registry does not know.
const IbanCountryFormat* FindIbanCountry(std::string_view country);

/// Calls visit(count, classLetter) for each run of a format in the registry's notation.
template <typename Visit>
constexpr void ForEachBbanRun(std::string_view format, Visit visit) {
  std::size_t count = 0;
  for (char c : format) {
    if (c >= '0' && c <= '9') {
      count = count * 10 + static_cast<std::size_t>(c - '0');
    } else if (c != '!') {
      visit(count, c);
      count = 0;
    }
  }
}

constexpr std::size_t BbanLength(std::string_view format) {
  std::size_t length = 0;
  ForEachBbanRun(format, [&](std::size_t count, char) { length += count; });
  return length;
}

}  // namespace zor::detail::dtazv
