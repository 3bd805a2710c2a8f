// Bank codes and accounts a bank would refuse, found before they go into a
// payment file: a bank code the bank-code file lacks or has deleted, an account
// that fails its bank's check method. The payment file is sound with them, so
// the caller decides whether they are warnings or faults:
//
//   const zor::AccountScreen screen(banks, "blz_20260303.txt", checkByMethod);
//   const zor::AccountScreenVerdict v = screen.Judge("37040044", "532013000");
//   if (v.kind != zor::AccountScreenKind::Sound)
//     warn(v.Field(), screen.Message(v, "37040044", "532013000"));  // "blz" or "konto"
//
// The check methods are not the library's: the caller plugs one in (an account
// checking library). Without one, only the bank is judged.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "zordta/BankCodes.h"
#include "zordta/Config.h"

namespace zor {

enum class AccountMethodVerdict { Valid, Invalid, UnknownMethod };

/// Checks an account by the method the bank-code file names for its bank.
using AccountMethodCheck = std::function<AccountMethodVerdict(
    std::string_view bankCode, std::string_view account, std::string_view method)>;

enum class AccountScreenKind {
  Sound,        ///< nothing to say; also for a method the check does not know
  UnknownBank,  ///< the file has no main record for the bank code
  DeletedBank,  ///< deleted or to be deleted; bank->successor (may be empty)
  FailsMethod,  ///< the account fails its bank's check method
};

struct AccountScreenVerdict {
  AccountScreenKind kind = AccountScreenKind::Sound;
  const BankCodeRecord* bank = nullptr;  ///< null for UnknownBank

  /// The field at fault: "blz" for the bank, "konto" for the account, empty when sound.
  std::string_view Field() const noexcept {
    switch (kind) {
      case AccountScreenKind::UnknownBank:
      case AccountScreenKind::DeletedBank:
        return "blz";
      case AccountScreenKind::FailsMethod:
        return "konto";
      case AccountScreenKind::Sound:
        break;
    }
    return {};
  }
};

/// Judges bank codes and accounts against one bank-code file. Judge keeps the
/// banks met, so one screen serves one thread.
class ZORDTA_API AccountScreen {
 public:
  /// `source` names the file in messages; `method` may be empty.
  AccountScreen(std::shared_ptr<const BankCodeFile> banks, std::string source,
                AccountMethodCheck method = {});

  /// The form is the caller's to check first (a bank code of 8 digits, an
  /// account of 1 to 10).
  AccountScreenVerdict Judge(std::string_view bankCode, std::string_view account) const;

  /// The German message of a verdict on `bankCode` and `account`; empty when
  /// sound. Apart from Judge, so that a caller keeping few messages makes few.
  std::string Message(const AccountScreenVerdict& verdict, std::string_view bankCode,
                      std::string_view account) const;

 private:
  const BankCodeRecord* Bank(std::string_view bankCode) const;

  std::shared_ptr<const BankCodeFile> fBanks;
  std::string fSource;
  AccountMethodCheck fMethod;
  // The banks met so far by their code: a file's payments go to few banks,
  // and a search of the whole file costs more than the account check. Only
  // banks the file has, so that it stays as small as the file.
  mutable std::unordered_map<std::uint32_t, const BankCodeRecord*> fBanksMet;
};

}  // namespace zor
