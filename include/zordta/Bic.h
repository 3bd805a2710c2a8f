// A check of a BIC (ISO 9362) that names the rule it breaks, where
// TZorDTAZV::ValidateBIC only asks for 8 or 11 characters, six letters first:
//
//   const zor::BicCheck check = zor::CheckBIC("COBADEFFXXX");
//   switch (check.verdict) {
//     case zor::BicVerdict::Valid: ...
//     case zor::BicVerdict::Structure: /* a capital belongs at check.position */ ...
//     ...
//   }
//
// The BIC is taken in its electronic form: capitals and digits, no blanks.
#pragma once

#include <cstddef>
#include <string_view>

#include "zordta/Config.h"

namespace zor {

/// The first rule a BIC breaks, in the order they are checked.
enum class BicVerdict {
  Valid,
  Empty,       ///< no character at all
  Characters,  ///< a character other than A-Z and 0-9 (a blank, a small letter); `position`
  Length,      ///< not 8 or 11 characters
  Structure,   ///< no capital where the bank code (1-4) or the country (5-6) needs one; `position`
  Country,  ///< characters 5-6 name no country of ISO 3166-1 (XK, Kosovo, is taken); `position` 4
};

/// What the first four characters, the bank's code, may hold: letters up to
/// ISO 9362:2009, letters or digits since ISO 9362:2014 (as the current SEPA
/// schemas take it).
enum class BicBankCode {
  Letters,
  LettersOrDigits,
};

struct BicCheck {
  BicVerdict verdict = BicVerdict::Valid;
  /// 0-based offset of the character that breaks the rule (Characters,
  /// Structure, Country).
  std::size_t position = 0;

  bool IsValid() const { return verdict == BicVerdict::Valid; }
  bool operator==(const BicCheck&) const = default;
};

/// Checks a BIC: four characters of the bank, two capitals of its country,
/// two of its place and, in 11 characters, three of its branch; never throws.
ZORDTA_API BicCheck CheckBIC(std::string_view bic,
                             BicBankCode bankCode = BicBankCode::Letters) noexcept;

}  // namespace zor
