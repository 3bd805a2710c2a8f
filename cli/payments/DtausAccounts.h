// The IBAN and BIC of an account a DTAUS file names by bank code and account
// number: from the list the user gave, else by the bank's standard rule from
// the central bank's bank-code file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "io/Diagnostics.h"
#include "payments/AccountTables.h"
#include "payments/BankCodeSource.h"
#include "zordta/AccountTables.h"
#include "zordta/BankCodes.h"
#include "zordta/DtausReader.h"
#include "zordta/Sepa.h"

namespace zcli {

/// "Datensatz 7 (Byte 1024)".
std::string RecordPlace(const zor::DtausPlace& place);

/// A record's place as RecordPlace gives it, made when a message first needs
/// it: most payments need none, and making it costs more than most checks.
class RecordWhere {
 public:
  explicit RecordWhere(const zor::DtausPlace& place) : fPlace(place) {}
  const std::string& operator()() const {
    if (fText.empty()) fText = RecordPlace(fPlace);
    return fText;
  }

 private:
  const zor::DtausPlace& fPlace;
  mutable std::string fText;
};

class DtausAccounts {
 public:
  /// `banks`: the run's bank-code file, whose fault is raised when it is first
  /// needed; `list` may be null. Both must outlive this.
  DtausAccounts(const RunBankCodes& banks, bool assumeStandardRule, const IbanList* list);

  /// Puts the account's IBAN and BIC (empty when the bank has none or the list
  /// gives none) into `out`, whose texts keep their room. False when there
  /// is no IBAN to be had: the fault goes to `errors` at `where`, its field named "blz" or "konto"
  /// after `fieldPrefix`. A bank-code file without IBAN rules, without the standard rule assumed,
  /// is one fault for all accounts, and the standard rule assumed one warning. A bank-code file
  /// that cannot be read raises its zor::BankCodeError.
  bool Find(std::int64_t blz, std::int64_t konto, const RecordWhere& where,
            const std::string& fieldPrefix, Diagnostics& errors, Diagnostics& warnings,
            zor::SepaAccount& out);
  /// As Find, without a word: false when there is no IBAN to be had, whatever
  /// the reason (the bank-code file unreadable included).
  bool Quietly(std::int64_t blz, std::int64_t konto, zor::SepaAccount& out);

 private:
  /// The IBAN and BIC into `out`; true when the standard rule was assumed.
  /// Raises zor::BankCodeError, the unreadable bank-code file's among them.
  bool Made(std::int64_t blz, std::int64_t konto, zor::SepaAccount& out);

  const RunBankCodes& fBanks;
  std::optional<zor::DtausIbans> fIbans;  // once the bank-code file is known to be there
  zor::GermanIbanOptions fOptions;
  const IbanList* fList;
  bool fRulesMissingReported = false;
  bool fRuleAssumedReported = false;
};

/// Where messages about the bank-code file as a whole are placed.
inline constexpr const char* kBankCodeFileWhere = "Bankleitzahlendatei";

}  // namespace zcli
