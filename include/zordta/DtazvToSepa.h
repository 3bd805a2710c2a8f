// A DTAZV file as pain.001.001.09 documents: euro payments to accounts in the
// SEPA schemes become SEPA credit transfers, every other payment a foreign
// transfer as German banks take them (zordta/ForeignTransfer.h). Record Q
// gives the debtor, each record T a payment, the W records that follow it its
// reports to the central bank.
//
// The conversion reads the file twice and holds no payment in memory: the
// first reading plans (converts, checks and counts every payment), the second
// writes, once every fault is known to be absent:
//
//   std::ifstream in("DTAZV", std::ios::binary);
//   const zor::DtazvToSepaOutcome outcome = zor::ConvertDtazvToSepa(
//       in, {.clientIban = "DE89370400440532013000"}, nullptr,
//       [&](zor::DtazvDocumentKind kind) -> std::ostream& { ... });
//
// A caller that reads the file itself drives DtazvToSepa record by record.
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
#include "zordta/DtazvReader.h"
#include "zordta/ForeignTransfer.h"
#include "zordta/Sepa.h"

namespace zor {

namespace detail {
struct DtazvToSepaState;
}

struct DtazvToSepaSettings {
  bool strict = false;       ///< texts that would be transliterated or cut are faults
  std::string messageId{};   ///< empty: made; "-1" and "-2" added when there are two documents
  std::string clientIban{};  ///< empty: from record Q's bank code and account
  std::string clientBic{};   ///< empty: the bank's, or none with a client IBAN given
  /// None: each payment's date of record T, else record Q's execution date,
  /// else its creation date; none of them may be past.
  std::optional<std::chrono::year_month_day> executionDate{};
  /// The day the dates are judged against; none: the system's date.
  std::optional<std::chrono::year_month_day> today{};
  /// The creation time the documents state; none: now.
  std::optional<std::chrono::local_seconds> creationTime{};
};

/// The two documents a file may become.
enum class DtazvDocumentKind {
  Sepa,     ///< SEPA credit transfers
  Foreign,  ///< foreign transfers (order type AXZ)
};

enum class DtazvToSepaIssueKind {
  // Faults: nothing may be written.
  PastDate,      ///< the payment's execution date is past
  NoIban,        ///< no IBAN for record Q's account (`bankFault` says why)
  OtherAccount,  ///< a payment debits another account, or one of another currency, than the first
  Unmapped,      ///< a key, value or report the documents have no place for (`value`)
  Refused,       ///< the SEPA or foreign transfer rules refuse a value (`sepaFault`, `sepaPlace`)
  // Warnings: the documents are sound, but not quite what the file said.
  RuleAssumed,  ///< the client's IBAN was made by the standard rule for a file without rules
  TextDropped,  ///< a text SEPA credit transfers have no room for (the contact person)
  TextChanged,  ///< the rules transliterated or cut a text (`sepaPlace`)
};

/// One fault or warning, with what a caller needs to word it anew.
struct DtazvToSepaIssue {
  DtazvToSepaIssueKind kind{};
  DtazvPlace place;   ///< record Q, T or W; record 0: the file as a whole
  std::string field;  ///< the DTAZV field ("entgeltregelung", "weisungsschluessel2", ...)
  std::string text;   ///< German, one sentence or two
  std::string value;  ///< Unmapped: the key or value as the file has it
  std::optional<std::chrono::year_month_day> date;  ///< PastDate
  std::optional<BankCodeFault> bankFault;           ///< NoIban
  std::optional<SepaFault> sepaFault;               ///< Refused
  std::optional<SepaPlace> sepaPlace;               ///< Refused, TextChanged
  bool settings = false;  ///< Refused, TextChanged: about the document's settings (record Q)

  bool IsFault() const noexcept { return kind < DtazvToSepaIssueKind::RuleAssumed; }
};

/// The conversion record by record: Open with record Q, Plan for every record
/// T with the reports that follow it, Finish; if no fault was reported, write
/// in Passes() readings of the same file (StartWriting, Write for every
/// payment of every reading, FinishWriting).
class ZORDTA_API DtazvToSepa {
 public:
  /// Record Q's account to its IBAN and BIC (DtausIbans::Make); true when the
  /// standard rule was assumed. Raises BankCodeError when there is none.
  using IbanOf = std::function<bool(DtausAccount, SepaAccount&)>;
  using Report = std::function<void(const DtazvToSepaIssue&)>;

  /// `ibanOf` may be empty when the settings give the client's IBAN.
  DtazvToSepa(DtazvToSepaSettings settings, IbanOf ibanOf, Report report);
  ~DtazvToSepa();
  DtazvToSepa(const DtazvToSepa&) = delete;
  DtazvToSepa& operator=(const DtazvToSepa&) = delete;

  /// Record Q. `numbered`: the file makes both documents, so a message ID
  /// given gets "-1" and "-2" (DtazvPaymentIsSepa tells which payment makes which).
  void Open(const DtazvHeader& header, bool numbered);
  /// A payment and its reports.
  void Plan(const DtazvPayment& payment, std::span<const DtazvReport> reports);
  void Finish();

  /// The documents in the order they are written: SEPA first.
  std::vector<DtazvDocumentKind> Documents() const;
  /// The plans; null for a document the file does not make.
  const SepaPlan* SepaPlanOf() const noexcept;
  const ForeignTransferPlan* ForeignPlanOf() const noexcept;
  /// How many readings writing takes: one per payment information block.
  std::size_t Passes() const;

  /// `outs[k]` gets document k of Documents(); all must outlive the writing.
  void StartWriting(std::span<std::ostream* const> outs);
  /// A payment in reading `pass` (from 0). False when it no longer converts
  /// as it did: the file changed between the readings.
  bool Write(const DtazvPayment& payment, std::span<const DtazvReport> reports, std::size_t pass);
  /// Closes every document. Raises SepaError when a stream failed.
  void FinishWriting();

 private:
  std::unique_ptr<detail::DtazvToSepaState> fState;
};

/// Whether a payment becomes a SEPA credit transfer: euro, to a valid IBAN of
/// a country of the SEPA schemes, and not a euro equivalent of another currency.
ZORDTA_API bool DtazvPaymentIsSepa(const DtazvPayment& payment) noexcept;

/// A document's figures.
struct DtazvToSepaDocument {
  DtazvDocumentKind kind = DtazvDocumentKind::Sepa;
  std::size_t payments = 0;
  std::int64_t amounts = 0;  ///< in hundredths; of a foreign document, whatever the currencies
};

struct DtazvToSepaOutcome {
  /// Every fault, and the warnings up to 1,000 (the rest only counted).
  std::vector<DtazvToSepaIssue> issues;
  std::size_t faults = 0;
  std::size_t warnings = 0;
  bool written = false;  ///< only when there was no fault
  std::vector<DtazvToSepaDocument> documents;
};

/// The whole conversion of a seekable stream: read with the checked reader
/// (raises DtazvReadError for a file it refuses), planned, and, only when no
/// fault was found, each document written to `output(kind)`. `ibans` may be
/// null when the settings give the client's IBAN.
ZORDTA_API DtazvToSepaOutcome
ConvertDtazvToSepa(std::istream& dtazv, const DtazvToSepaSettings& settings, DtausIbans* ibans,
                   const std::function<std::ostream&(DtazvDocumentKind)>& output,
                   DtazvReadOptions readOptions = {});

}  // namespace zor
