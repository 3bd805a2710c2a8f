// The IBAN and BIC of an account a DTAUS file names by bank code and account
// number: from the list the user gave, else by the bank's standard rule from
// the central bank's bank-code file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "io/Diagnostics.h"
#include "payments/AccountTables.h"
#include "zordta/BankCodes.h"

namespace zcli {

struct SepaAccountIds {
  std::string iban;
  std::string bic;  ///< empty when the bank has none or the list gives none
};

class DtausAccounts {
 public:
  /// `bankCodeFile`: --bankdaten (empty: the default file), read when first
  /// needed; `list` may be null.
  DtausAccounts(std::string bankCodeFile, bool assumeStandardRule, const IbanList* list);

  /// None when there is no IBAN to be had: the fault goes to `errors` at
  /// `where`, its field named "blz" or "konto" after `fieldPrefix`. A bank-code file without IBAN
  /// rules, without the standard rule assumed, is one fault for all accounts, and the standard rule
  /// assumed one warning. A bank-code file that cannot be read raises zor::BankCodeError.
  std::optional<SepaAccountIds> Find(std::int64_t blz, std::int64_t konto, const std::string& where,
                                     const std::string& fieldPrefix, Diagnostics& errors,
                                     Diagnostics& warnings);

 private:
  std::string fBankCodeFile;
  bool fAssumeStandardRule;
  const IbanList* fList;
  std::optional<zor::BankCodeFile> fBanks;
  bool fRulesMissingReported = false;
  bool fRuleAssumedReported = false;
};

/// Where messages about the bank-code file as a whole are placed.
inline constexpr const char* kBankCodeFileWhere = "Bankleitzahlendatei";

}  // namespace zcli
