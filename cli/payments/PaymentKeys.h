// The payment keys of a DTAUS file as the tool takes them: five digits whose
// first two are a key of the library's table (zordta/DtausKeys.h).
#pragma once

#include <string>
#include <string_view>

#include "zordta/DtausKeys.h"

namespace zcli {

/// The key of five digits whose first two are known; null for any other text.
const zor::DtausKey* KeyOf(std::string_view key);

/// Empty when `key` is a key at all (five digits, known first two), else why not.
std::string KeyTextProblem(std::string_view key);

/// Empty when a file of debits (`debitFile`) or of credits takes `key`, else why not.
std::string KeyProblem(std::string_view key, bool debitFile);

}  // namespace zcli
