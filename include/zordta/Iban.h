// A strict check of an IBAN against the IBAN registry: the country, its length,
// the structure of its BBAN and the check digits (MOD 97-10). It names the rule
// an IBAN breaks, where TZorDTAZV::ValidateIBAN only asks for 5 to 34 characters
// and a remainder of 1:
//
//   const zor::IbanCheck check = zor::CheckIBAN("DE89370400440532013000");
//   switch (check.verdict) {
//     case zor::IbanVerdict::Valid: ...
//     case zor::IbanVerdict::LengthForCountry: /* check.expectedLength */ ...
//     case zor::IbanVerdict::Structure: /* check.position, check.expected */ ...
//     ...
//   }
//
// The IBAN is taken in its electronic form: capitals and digits, no blanks.
#pragma once

#include <cstddef>
#include <string_view>

#include "zordta/Config.h"

namespace zor {

/// The first rule an IBAN breaks, in the order they are checked.
enum class IbanVerdict {
  Valid,
  Empty,             ///< no character at all
  Characters,        ///< a character other than A-Z and 0-9 (a blank, a small letter); `position`
  UnknownCountry,    ///< the first two characters are no country of the IBAN registry
  LengthForCountry,  ///< not the country's length; `expectedLength`
  Structure,    ///< a character the country's format does not allow there; `position`, `expected`
  CheckDigits,  ///< check digits 00, 01 or 99, or MOD 97-10 does not leave 1
};

/// What the registry allows at a position, in its own letters.
enum class IbanCharClass : char {
  Digit = 'n',           ///< 0-9
  Capital = 'a',         ///< A-Z
  CapitalOrDigit = 'c',  ///< A-Z or 0-9
};

struct IbanCheck {
  IbanVerdict verdict = IbanVerdict::Valid;
  /// 0-based offset of the character that breaks the rule (Characters, Structure).
  std::size_t position = 0;
  /// The length of the country's IBANs, once the country is known (0 before).
  std::size_t expectedLength = 0;
  /// Structure: what belongs at `position` (the check digits are digits).
  IbanCharClass expected = IbanCharClass::CapitalOrDigit;

  bool IsValid() const { return verdict == IbanVerdict::Valid; }
  bool operator==(const IbanCheck&) const = default;
};

/// Checks an IBAN against the IBAN registry; never throws.
ZORDTA_API IbanCheck CheckIBAN(std::string_view iban) noexcept;

}  // namespace zor
