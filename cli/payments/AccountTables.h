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

#include "io/Diagnostics.h"
#include "zordta/Sepa.h"

namespace zcli {

class DtausAccounts;

struct AccountKey {
  std::int64_t blz = 0;
  std::int64_t konto = 0;
  auto operator<=>(const AccountKey&) const = default;
};

struct ListedAccount {
  std::string iban;
  std::string bic;    ///< empty when the list gives none
  std::string where;  ///< its row, for messages
};

/// A CSV of columns blz, konto, iban and optionally bic.
class IbanList {
 public:
  /// Every fault goes to `errors`, placed "<path>: Zeile N". An unreadable
  /// file raises zor::Exception.
  static IbanList Read(const std::string& path, Diagnostics& errors);

  const ListedAccount* Find(AccountKey account) const;

 private:
  std::map<AccountKey, ListedAccount> fAccounts;
};

struct Mandate {
  std::string id;
  std::chrono::year_month_day signedOn;
  zor::SepaSequence sequence = zor::SepaSequence::OneOff;
  std::string where;  ///< its row, for messages: "<table>: Zeile N"
  std::string row;    ///< "Zeile N"

  bool SameTerms(const Mandate& other) const {
    return id == other.id && signedOn == other.signedOn && sequence == other.sequence;
  }
};

/// A CSV of columns blz and konto, or iban (or all three), with mandat_id,
/// mandat_datum and sequenz (FRST, RCUR, OOFF, FNAL).
class MandateList {
 public:
  /// As IbanList::Read. The rows are not yet filed by their accounts: Settle does that.
  static MandateList Read(const std::string& path, Diagnostics& errors);

  /// Files every row under the account it names, as the run makes its IBANs,
  /// so that a debtor is never debited under another's mandate. Faults: a row
  /// whose bank code and account are another account than its IBAN, and an
  /// account of two rows with different mandates, by whichever forms the rows
  /// name it. Two rows that agree in every field are a note.
  void Settle(DtausAccounts& accounts, Diagnostics& errors, Diagnostics& notes);

  /// The mandate of an account, by bank code and account first, else by the
  /// IBAN (which may be empty). Counts its row as used.
  const Mandate* Find(AccountKey account, const std::string& iban) const;

  /// A note for every row no payment used.
  void NoteUnused(Diagnostics& notes) const;

 private:
  struct Row {
    std::optional<AccountKey> account;
    std::string iban;  ///< as the row gives it, or empty
    Mandate mandate;
    bool repeated = false;  ///< the same as a row before it, which stands for it
    mutable bool used = false;
  };

  std::vector<Row> fRows;
  std::map<AccountKey, std::size_t> fByAccount;
  std::map<std::string, std::size_t> fByIban;
};

}  // namespace zcli
