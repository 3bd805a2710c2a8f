// Currency codes in the tool's words; the codes themselves are the library's
// (zordta/IsoCodes.h).
#pragma once

#include <string>
#include <string_view>

namespace zcli {

/// "" for a currency one can pay in (letters in any case), else why not, naming the code.
std::string CurrencyProblem(std::string_view code);

}  // namespace zcli
