// The tables a DTAUS file's way into SEPA takes besides the file: the IBANs of
// accounts whose bank does not follow the standard rule, and the mandates of
// direct debits, which a DTAUS file leaves out.
//
// A mandate row names its account by bank code and account number, by IBAN, or
// by both. The table is held to the accounts it names, by the IBANs the
// conversion makes for them, so that a debtor is never debited under another's
// mandate:
//
//   zor::MandateTable table;
//   table.Add({.account = zor::DtausAccount{37040044, 532013000}, .id = "M-1", ...});
//   for (const zor::MandateIssue& issue : table.Settle(ibanOf)) ...   // faults and notes
//   if (const zor::MandateRow* m = table.Find({blz, konto}, iban)) ...
//   for (const zor::MandateIssue& issue : table.Unused()) ...
#pragma once

#include <chrono>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "zordta/BankCodes.h"
#include "zordta/Config.h"
#include "zordta/Sepa.h"

namespace zor {

/// An account as a DTAUS file names it.
struct DtausAccount {
  std::int64_t blz = 0;
  std::int64_t konto = 0;
  auto operator<=>(const DtausAccount&) const = default;
};

/// One account's IBAN, and its bank's BIC where known.
struct IbanRow {
  DtausAccount account;
  std::string iban;       ///< electronic form
  std::string bic;        ///< empty: none given
  std::size_t place = 0;  ///< the caller's own mark (a line, an index), for its messages
};

/// One IBAN an account: a second row for an account is refused, never taken
/// over the first, since either may be the wrong one.
class ZORDTA_API IbanTable {
 public:
  /// Takes the row and answers null, or answers the earlier row of its account
  /// and leaves the table as it was.
  const IbanRow* Add(IbanRow row);
  const IbanRow* Find(DtausAccount account) const;

 private:
  std::map<DtausAccount, IbanRow> fRows;
};

/// The IBAN and BIC of the accounts a DTAUS file names: from the IBAN table
/// where it has the account, else made from the bank-code file by the bank's
/// rule. The banks met are kept by their code: a file names the same few banks
/// again and again, and looking one up costs more than making the IBAN.
class ZORDTA_API DtausIbans {
 public:
  /// Both must outlive this; `table` may be null.
  DtausIbans(const BankCodeFile& banks, const IbanTable* table, GermanIbanOptions options);

  /// The account's IBAN and BIC (empty when there is none) into `out`, whose
  /// texts keep their room. Answers true when the standard rule was assumed for
  /// a file without IBAN rules. Raises zor::BankCodeError when there is no
  /// IBAN to be had (the code's or account's form, an unknown or deleted bank,
  /// a rule of its own, a file without rules).
  bool Make(DtausAccount account, SepaAccount& out);

 private:
  const BankCodeRecord* BankMet(std::int64_t blz, std::string_view code);

  const BankCodeFile& fBanks;
  const IbanTable* fTable;
  GermanIbanOptions fOptions;
  std::unordered_map<std::uint32_t, const BankCodeRecord*> fBanksMet;
  GermanIbanResult fMade;  // reused: its texts keep their room
};

struct MandateRow {
  std::optional<DtausAccount> account{};  ///< none: named by IBAN only
  std::string iban{};                     ///< electronic form; empty: named by account only
  std::string id{};
  std::chrono::year_month_day signedOn{};
  SepaSequence sequence = SepaSequence::OneOff;
  std::size_t place = 0;  ///< the caller's own mark (a line, an index), for its messages

  /// The same mandate: reference, date of signature and sequence type.
  bool SameTerms(const MandateRow& other) const {
    return id == other.id && signedOn == other.signedOn && sequence == other.sequence;
  }
};

enum class MandateIssueKind {
  TwoAccounts,  ///< fault: the row's bank code and account are another account than its IBAN
  Conflict,     ///< fault: an account of an earlier row, with other mandate data
  Repeated,     ///< note: an account of an earlier row, with the same data; counted once
  Unused,       ///< note: no payment asked for the row's mandate
};

struct MandateIssue {
  MandateIssueKind kind;
  const MandateRow* row;      ///< the row it is about
  const MandateRow* earlier;  ///< Conflict, Repeated: the row that names the account first
  std::string madeIban;       ///< TwoAccounts: the IBAN of the row's bank code and account

  bool IsFault() const {
    return kind == MandateIssueKind::TwoAccounts || kind == MandateIssueKind::Conflict;
  }
};

class ZORDTA_API MandateTable {
 public:
  /// The IBAN the conversion makes for an account; none when it makes none
  /// (and then no payment of that account is converted).
  using IbanOf = std::function<std::optional<std::string>(DtausAccount)>;

  void Add(MandateRow row);
  /// Files every row added since the last call under the accounts it names and
  /// answers the faults and notes, in the order of the rows. A row with a fault
  /// is not filed. The issues point into the table: valid until the next Add.
  std::vector<MandateIssue> Settle(const IbanOf& ibanOf);
  /// The same with the IBANs `ibans` makes, as the conversion does.
  std::vector<MandateIssue> Settle(DtausIbans& ibans);

  /// The mandate of an account, by bank code and account first, else by its
  /// IBAN (which may be empty). Counts the row as used.
  const MandateRow* Find(DtausAccount account, std::string_view iban) const;
  /// A note for every filed row that no Find asked for.
  std::vector<MandateIssue> Unused() const;

  std::size_t Size() const noexcept { return fRows.size(); }

 private:
  struct Entry {
    MandateRow row;
    bool filed = false;
    mutable bool used = false;
  };

  std::vector<Entry> fRows;
  std::size_t fSettled = 0;  // rows before it are filed or refused
  std::map<DtausAccount, std::size_t> fByAccount;
  std::map<std::string, std::size_t, std::less<>> fByIban;
};

}  // namespace zor
