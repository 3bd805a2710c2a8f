// Bank codes and accounts a bank would refuse, found before they go into a
// payment file: a bank code the bank-code file lacks or has deleted, an account
// that fails its bank's check method. The payment file is sound with them, so
// the caller decides whether they are warnings or (with --streng) faults.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "io/Diagnostics.h"
#include "payments/AccountCheck.h"
#include "zordta/BankCodes.h"

namespace zcli {

class AccountWarnings {
 public:
  /// Checks against `banks`; `source` names the file in messages.
  AccountWarnings(zor::BankCodeFile banks, std::string source);

  /// For --bankdaten FILE, or the default file when `bankCodeFile` is empty.
  /// A file given that cannot be read raises zor::BankCodeError (File). When
  /// the default one cannot be read, a warning that the accounts go unchecked
  /// is printed and the answer is null: the payment file does not depend on it.
  static std::shared_ptr<const AccountWarnings> Load(const std::string& bankCodeFile);

  /// Adds to `findings`, under `where` and the field "blz" or "konto", what the
  /// bank would refuse. The form is the caller's to check first (a bank code of
  /// 8 digits, an account of 1 to 10). An unknown check method says nothing.
  void Check(std::string_view bankCode, std::string_view account, const std::string& where,
             Diagnostics& findings) const;
  void Check(std::int64_t bankCode, std::int64_t account, const std::string& where,
             Diagnostics& findings) const;

 private:
  zor::BankCodeFile fBanks;
  std::string fSource;
  AccountChecker fChecker;
};

}  // namespace zcli
