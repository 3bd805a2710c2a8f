// The tables that "sepa convert" takes besides the DTAUS file, keyed by the
// accounts a DTAUS file names (bank code and account number): the IBANs of
// accounts whose bank does not follow the standard rule, and the mandates of
// direct debits. Both are small and held whole.
#pragma once

#include <chrono>
#include <compare>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "io/EntryNames.h"
#include "zordta/AccountTables.h"
#include "zordta/Sepa.h"
#include "zordta/entry/Diagnostics.h"

namespace zcli {

class DtausAccounts;

using AccountKey = zor::DtausAccount;

/// A CSV of columns blz, konto, iban and optionally bic: the library's
/// zor::IbanTable, read and worded.
class IbanList {
 public:
  /// Every fault goes to `errors`, placed "<path>: Zeile N". An unreadable
  /// file raises zor::Exception.
  static IbanList Read(const std::string& path, Diagnostics& errors);

  const zor::IbanRow* Find(AccountKey account) const { return fTable.Find(account); }
  const zor::IbanTable& Table() const { return fTable; }

 private:
  zor::IbanTable fTable;
  std::vector<std::string> fWhere;  ///< "<table>: Zeile N", by a row's place
};

/// A CSV of columns blz and konto, or iban (or all three), with mandat_id,
/// mandat_datum and sequenz (FRST, RCUR, OOFF, FNAL): the library's
/// zor::MandateTable, read and worded.
class MandateList {
 public:
  /// As IbanList::Read. The rows are not yet filed by their accounts: Settle does that.
  static MandateList Read(const std::string& path, Diagnostics& errors);

  /// Files every row by the IBAN the run makes for its account; the faults
  /// go to `errors`, the notes to `notes`.
  void Settle(DtausAccounts& accounts, Diagnostics& errors, Diagnostics& notes);

  const zor::MandateRow* Find(AccountKey account, const std::string& iban) const {
    return fTable.Find({account.blz, account.konto}, iban);
  }

  const zor::MandateTable& Table() const { return fTable; }

  /// A note for every row no payment used.
  void NoteUnused(Diagnostics& notes) const;

 private:
  void Word(const zor::MandateIssue& issue, Diagnostics& errors, Diagnostics& notes) const;

  zor::MandateTable fTable;
  std::vector<std::string> fWhere;  ///< "<table>: Zeile N", by a row's place
  std::vector<std::string> fRow;    ///< "Zeile N", by a row's place
};

}  // namespace zcli
