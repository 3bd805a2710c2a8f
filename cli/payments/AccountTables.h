// The tables that "sepa convert" takes besides the DTAUS file, keyed by the
// accounts a DTAUS file names (bank code and account number): the IBANs of
// accounts whose bank does not follow the standard rule, and the mandates of
// direct debits. Both are small and held whole.
#pragma once

#include <chrono>
#include <compare>
#include <cstdint>
#include <map>
#include <string>

#include "io/Diagnostics.h"
#include "zordta/Sepa.h"

namespace zcli {

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
  std::string where;  ///< its row, for messages
};

/// A CSV of columns blz and konto, or iban (or all three), with mandat_id,
/// mandat_datum and sequenz (FRST, RCUR, OOFF, FNAL).
class MandateList {
 public:
  /// As IbanList::Read.
  static MandateList Read(const std::string& path, Diagnostics& errors);

  /// The mandate of an account, by bank code and account first, else by the
  /// IBAN (which may be empty).
  const Mandate* Find(AccountKey account, const std::string& iban) const;

 private:
  std::map<AccountKey, Mandate> fByAccount;
  std::map<std::string, Mandate> fByIban;
};

}  // namespace zcli
