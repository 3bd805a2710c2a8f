// A DTAUS file as SEPA documents: every logical file one document, credits as
// pain.001, direct debits as pain.008. Record A becomes the document's
// settings, each record C a payment; the IBANs come from an IBAN table or the
// bank-code file, the mandates of direct debits from a mandate table.
//
// The conversion reads the file twice and holds no payment in memory: the
// first reading plans (converts, checks and counts every payment), the second
// writes, once every fault is known to be absent. For a file on disk or any
// seekable stream, ConvertDtausToSepa does both:
//
//   zor::BankCodeFile banks = zor::BankCodeFile::Read("blz.txt");
//   zor::DtausIbans ibans(banks, nullptr, {});
//   std::ifstream in("lohn.dta", std::ios::binary);
//   const zor::DtausToSepaOutcome outcome = zor::ConvertDtausToSepa(
//       in, {.creditorId = "DE98ZZZ09999999999"}, ibans, &mandates,
//       [&](std::size_t k) -> std::ostream& { ... });
//
// A caller that reads the file itself (to read standard input twice, or to
// place the faults in its own words) drives DtausToSepa record by record.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "zordta/AccountTables.h"
#include "zordta/BankCodes.h"
#include "zordta/Config.h"
#include "zordta/DtausReader.h"
#include "zordta/Sepa.h"

namespace zor {

namespace detail {
struct DtausToSepaState;
}

/// What holds for every document of a file.
struct DtausToSepaSettings {
  SepaVersion version = SepaVersion::Current;
  bool strict = false;       ///< texts that would be transliterated or cut are faults
  std::string messageId{};   ///< empty: made; "-k" added to the k-th when there are several
  std::string clientIban{};  ///< empty: from record A's bank code and account
  std::string clientBic{};   ///< empty: the bank's, or none with a client IBAN given
  std::string creditorId{};  ///< direct debits need it
  /// None: record A's execution date, else its file date; neither may be past.
  std::optional<std::chrono::year_month_day> executionDate{};
  /// The day the dates are judged against; none: the system's date.
  std::optional<std::chrono::year_month_day> today{};
};

enum class DtausToSepaIssueKind {
  // Faults: nothing may be written.
  DmFile,        ///< record A: a DM file; SEPA payments are in euro only
  NoCreditorId,  ///< record A of direct debits, and no creditor ID given
  PastDate,      ///< record A's execution date, or without one its file date, is past
  NoIban,        ///< no IBAN for the account (`bankFault` says why)
  NoIbanRules,   ///< the bank-code file has no IBAN rules; said once, at no record
  NotADebitKey,  ///< a direct debit with a key for credits
  TwoSchemes,    ///< a direct debit of another scheme than the logical file's first
  NoMandate,     ///< no mandate for the debtor's account (or no mandate table at all)
  Refused,       ///< the SEPA rules refuse a value (`sepaFault`, `sepaPlace`)
  NoPayments,    ///< a logical file without payments; a document needs one
  // Warnings: the documents are sound, but not quite what the file said.
  RuleAssumed,  ///< IBANs made by the standard rule for a file without rules; once
  TextDropped,  ///< a client's extension line, for which SEPA has no room
  TextChanged,  ///< the SEPA rules transliterated or cut a text (`sepaPlace`)
};

/// One fault or warning, with what a caller needs to word it anew.
struct DtausToSepaIssue {
  DtausToSepaIssueKind kind{};
  /// Record A or C; record 0 for the bank-code file as a whole.
  DtausPlace place;
  /// The DTAUS field ("blz", "auftraggeber.konto", "zahlungsschluessel",
  /// "mandat", "glaeubigerId"...); for Refused and TextChanged see `sepaPlace`.
  std::string field;
  std::string text;  ///< German, one sentence or two

  DtausAccount account;   ///< NoIban, NoMandate
  std::string iban;       ///< NoMandate: the account's IBAN, when it has one
  std::string key;        ///< NotADebitKey, TwoSchemes
  std::string firstKey;   ///< TwoSchemes: the first direct debit's key
  DtausPlace firstPlace;  ///< TwoSchemes: its record
  std::optional<std::chrono::year_month_day> date;  ///< PastDate
  bool fileDate = false;                   ///< PastDate: no execution date, the file date is past
  bool mandateTable = false;               ///< NoMandate: a table was given
  std::optional<BankCodeFault> bankFault;  ///< NoIban
  std::optional<SepaFault> sepaFault;      ///< Refused
  std::optional<SepaPlace> sepaPlace;  ///< Refused, TextChanged (none: a text beyond those kept)
  bool settings = false;               ///< Refused, TextChanged: about the document's settings

  bool IsFault() const noexcept { return kind < DtausToSepaIssueKind::RuleAssumed; }
};

/// The conversion, record by record, for a caller that reads the file itself.
/// Plan every logical file (Open, then Plan for each of its payments, Finish
/// after the last); if no fault was reported, write in Passes() readings of
/// the same file (StartWriting, then Write for every payment of every
/// reading, FinishWriting).
class ZORDTA_API DtausToSepa {
 public:
  /// An account's IBAN and BIC into `out`; true when the standard rule was
  /// assumed for a bank-code file without IBAN rules. Raises BankCodeError
  /// when there is none to be had (DtausIbans::Make).
  using IbanOf = std::function<bool(DtausAccount, SepaAccount&)>;
  /// Gets every fault and warning as it is found.
  using Report = std::function<void(const DtausToSepaIssue&)>;
  /// Judges an account further, such as by its bank's check method; called
  /// for the client's and every payment's account, where the IBAN is made.
  using AccountCheck = std::function<void(DtausAccount, const DtausPlace&)>;

  /// `mandates` may be null (then direct debits are refused) and must outlive this.
  DtausToSepa(DtausToSepaSettings settings, IbanOf ibanOf, const MandateTable* mandates,
              Report report, AccountCheck check = {});
  ~DtausToSepa();
  DtausToSepa(const DtausToSepa&) = delete;
  DtausToSepa& operator=(const DtausToSepa&) = delete;

  /// Record A of the next logical file. `numbered`: the file has several, so a
  /// message ID given gets "-k".
  void Open(const DtausHeader& header, bool numbered);
  /// A payment of the logical file opened last.
  void Plan(const DtausPayment& payment);
  /// After the last payment: a logical file without one is a fault.
  void Finish();

  std::size_t Documents() const noexcept;
  /// The plan of document `k`: its settings, payments and sums. Null for a
  /// DM file or one without payments.
  const SepaPlan* PlanOf(std::size_t k) const;
  /// How many readings writing takes: one per payment information block.
  std::size_t Passes() const;

  /// `outs[k]` gets document k; all must outlive the writing.
  void StartWriting(std::span<std::ostream* const> outs);
  /// A payment of logical file `k` in reading `pass` (from 0). False when it
  /// no longer converts as it did: the file changed between the readings.
  bool Write(std::size_t k, const DtausPayment& payment, std::size_t pass);
  /// Closes every document. Raises SepaError when a stream failed.
  void FinishWriting();

 private:
  std::unique_ptr<detail::DtausToSepaState> fState;
};

/// A document's figures.
struct DtausToSepaDocument {
  SepaKind kind = SepaKind::CreditTransfer;
  std::size_t payments = 0;
  std::int64_t cents = 0;
};

/// What ConvertDtausToSepa did.
struct DtausToSepaOutcome {
  /// Every fault, and the warnings up to 1,000 (the rest only counted).
  std::vector<DtausToSepaIssue> issues;
  std::size_t faults = 0;
  std::size_t warnings = 0;
  /// Whether the documents were written: only when there was no fault.
  bool written = false;
  /// Per logical file (none for a DM file or one without payments).
  std::vector<DtausToSepaDocument> documents;
};

/// The whole conversion of a seekable stream: read with the checked reader
/// (raises DtausReadError for a file it refuses), planned, and, only when no
/// fault was found, document k written to `output(k)` in further readings.
/// `ibans` and `mandates` (may be null) must outlive the call.
ZORDTA_API DtausToSepaOutcome ConvertDtausToSepa(
    std::istream& dtaus, const DtausToSepaSettings& settings, DtausIbans& ibans,
    const MandateTable* mandates, const std::function<std::ostream&(std::size_t)>& output,
    DtausReadOptions readOptions = {});

}  // namespace zor
