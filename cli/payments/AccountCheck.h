// The account check by the bank's check method, done by libktoblzcheck.
#pragma once

#include <string>

namespace zcli {

enum class AccountVerdict { Valid, Invalid, UnknownMethod };

/// Checks the account by the method named, not by the library's own bank data:
/// so the method comes from the bank-code file the caller chose (--bankdaten).
AccountVerdict CheckAccount(const std::string& bankCode, const std::string& account,
                            const std::string& method);

}  // namespace zcli
