// The IBAN and BIC of an account a DTAUS file names by bank code and account
// number: from the list the user gave, else by the bank's standard rule from
// the central bank's bank-code file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "io/EntryNames.h"
#include "payments/AccountTables.h"
#include "payments/BankCodeSource.h"
#include "zordta/AccountTables.h"
#include "zordta/BankCodes.h"
#include "zordta/DtausReader.h"
#include "zordta/Sepa.h"
#include "zordta/entry/Diagnostics.h"

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

  /// The account's IBAN and BIC into `out`, whose texts keep their room;
  /// true when the standard rule was assumed. Raises zor::BankCodeError when
  /// there is none to be had, the unreadable bank-code file's among them.
  bool Make(std::int64_t blz, std::int64_t konto, zor::SepaAccount& out);
  /// As Make, without a word: false when there is no IBAN to be had, whatever
  /// the reason (the bank-code file unreadable included).
  bool Quietly(std::int64_t blz, std::int64_t konto, zor::SepaAccount& out);
  /// As Make, ahead of it: false when there is no IBAN to be had, which
  /// Make then raises; `standardRule` is what Make answers.
  bool Prepared(std::int64_t blz, std::int64_t konto, zor::SepaAccount& out, bool& standardRule);

 private:
  const RunBankCodes& fBanks;
  std::optional<zor::DtausIbans> fIbans;  // once the bank-code file is known to be there
  zor::GermanIbanOptions fOptions;
  const IbanList* fList;
};

/// Where messages about the bank-code file as a whole are placed.
inline constexpr const char* kBankCodeFileWhere = "Bankleitzahlendatei";

}  // namespace zcli
