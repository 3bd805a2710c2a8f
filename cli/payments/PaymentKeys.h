// The payment keys of DTAUS: two digits that say what a payment is, then three
// digits of supplement. A file holds debits (04, 05) or credits (51, 53, 54,
// 56), never both, and its record A says which.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zcli {

enum class KeyKind { kCredit, kDebit };

/// The kind of a key of five digits whose first two are known; nothing for
/// any other text.
std::optional<KeyKind> KindOfKey(std::string_view key);

/// Empty when `key` is a key at all (five digits, known first two), else why not.
std::string KeyTextProblem(std::string_view key);

/// Empty when a file of debits (`debitFile`) or of credits takes `key`, else why not.
std::string KeyProblem(std::string_view key, bool debitFile);

}  // namespace zcli
