// The structured creditor reference of ISO 11649 ("RF18 5390 0754 7034"): "RF",
// two check digits and a reference of up to 21 letters and digits. A SEPA payment
// carries it as its structured remittance (type SCOR); a wrong check digit would
// send the payer's money to an invoice nobody can match.
#pragma once

#include <string>
#include <string_view>

#include "zordta/Config.h"

namespace zor {

/// Empty when `reference` (electronic form, no blanks; letters in either case) is
/// a valid creditor reference, else why not, in German.
ZORDTA_API std::string CreditorReferenceProblem(std::string_view reference);

/// The creditor reference of a reference of 1 to 21 letters and digits, in
/// capitals with its check digits: "539007547034" -> "RF18539007547034". Empty
/// when `reference` cannot be one.
ZORDTA_API std::string MakeCreditorReference(std::string_view reference);

}  // namespace zor
