// IBAN and BIC tests of the foreign payment writer.
#pragma once

#include <cstdint>
#include <string_view>

#include "zordta/host/Types.h"

namespace zor::detail::dtazv {

/// The remainder modulo 97 of the IBAN's number (its first four characters
/// moved to the end, each letter as two digits); 0 when the IBAN holds a
/// character other than A-Z, a-z and 0-9.
std::int32_t IBANMod97(std::string_view iban);

/// The same for a German IBAN: "DE", `checkDigits` and the 18 digits of the
/// BBAN, given as their number. With check digits 00 it is what 98 minus the
/// right check digits leaves.
std::uint32_t GermanIbanMod97(std::uint64_t bban, unsigned checkDigits);

/// Length 5 to 34 and a remainder of exactly 1.
bool IsValidIBAN(const AnsiString& iban);

/// Exactly 8 or 11 characters, the first six letters A-Z or a-z.
bool IsValidBIC(const AnsiString& bic);

/// Only letters A-Z or a-z and digits: a BIC or IBAN the record can hold once
/// its letters are capitals, which go into capitals (one pass for both, as
/// every booking asks both). Length and shape are the checks' to judge.
bool WritableInCapitals(std::string_view identifier, AnsiString& capitals);

/// Only letters A-Z or a-z and blanks: a country code the record can hold once
/// its letters are capitals (blank when the caller gives none).
bool IsWritableCountryCode(std::string_view code);

}  // namespace zor::detail::dtazv
