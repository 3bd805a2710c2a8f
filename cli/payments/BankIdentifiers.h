// What is wrong with an IBAN or a BIC, said precisely. The library's checks
// answer one message for every fault; the tool names the one it found.
#pragma once

#include <string>
#include <string_view>

#include "zordta/ZorDTAZV.h"

namespace zcli {

/// "" for a valid IBAN (capitals, no blanks), else what is wrong with it, as
/// zor::CheckIBAN finds it: a character that does not belong, a country without
/// IBANs, a length that is not the country's, a character the country's format
/// does not allow at its place, or check digits that do not agree.
std::string IbanProblem(std::string_view iban);

/// "" for a valid BIC (capitals, no blanks, a country at characters 5 and 6),
/// else what is wrong with it, as zor::CheckBIC finds it.
std::string BicProblem(std::string_view bic);

}  // namespace zcli
