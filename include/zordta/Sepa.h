// SEPA payment files: credit transfers (pain.001) and direct debits (pain.008),
// written in constant memory. The group header and every payment information
// block state their counts and sums before their payments, so a document is
// written in two passes over the caller's payments:
//
//   zor::SepaPlan plan(settings);
//   for (const zor::SepaPayment& p : payments) plan.Add(p);   // totals only
//   zor::SepaWriter writer(plan, out);                        // group header
//   for (const zor::SepaGroupTotals& g : plan.Groups())       // fixed order
//     for (const zor::SepaPayment& p : payments)
//       if (p.group == g.group) writer.Add(p);
//   writer.Finish();
//
// Text is UTF-8. What German banks do not accept is transliterated (é -> e) or
// cut to its field with a warning; with `strict` both are refused. A refused
// value raises zor::SepaError, which names the payment and the field.
#pragma once

#include <chrono>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "zordta/SepaParty.h"
#include "zordta/host/Exception.h"

namespace zor {

namespace detail {
class SepaWriterState;
}

enum class SepaKind { CreditTransfer, DirectDebit };

/// Current: pain.001.001.09 and pain.008.001.08. German: the older German
/// versions pain.001.003.03 and pain.008.003.02. Iso2009: pain.001.001.03 and
/// pain.008.001.02, the ISO edition of 2009 the German banks took from 2016 to
/// 2025, which most archives hold.
enum class SepaVersion { Current, German, Iso2009 };

/// Direct debits: FRST, RCUR, OOFF, FNAL.
enum class SepaSequence { First, Recurring, OneOff, Final };

/// Direct debits: the scheme, CORE or B2B.
enum class SepaInstrument { Core, B2B };

/// A party with its account; `bic` may be empty.
struct SepaAccount {
  std::string name;
  std::string iban;  ///< blanks are removed, small letters raised
  std::string bic;   ///< 8 or 11 capitals and digits, or empty
  /// PstlAdr. Mandatory for the debtor of a debit and the creditor of a
  /// transfer whose account is in a SEPA country outside the EEA.
  SepaPostalAddress address{};
  SepaPartyId id{};  ///< Id of the party

  bool operator==(const SepaAccount&) const = default;
};

/// What a payment information block states of its own: the account and what
/// goes with it. A document of one account's payments needs none beyond its
/// settings; SepaSettings::otherBlocks holds those of further accounts (a
/// company paying from two accounts) or of blocks that differ otherwise.
struct SepaBlockSettings {
  SepaAccount account;                 ///< the debtor of transfers, the creditor of debits
  std::string creditorId{};            ///< direct debits; empty: every payment states its own
  SepaParty ultimateParty{};           ///< UltmtDbtr of a transfer's block, UltmtCdtr of a debit's
  std::string categoryPurpose{};       ///< PmtTpInf/CtgyPurp/Cd
  std::optional<bool> batchBooking{};  ///< BtchBookg; none: not stated
  /// Transfers: PmtTpInf in every transaction instead of the block.
  bool paymentTypePerTransaction = false;
  bool instant = false;  ///< transfers: SEPA instant credit transfers (INST)

  bool operator==(const SepaBlockSettings&) const = default;
};

struct SepaSettings {
  SepaKind kind = SepaKind::CreditTransfer;
  SepaVersion version = SepaVersion::Current;
  SepaInstrument instrument = SepaInstrument::Core;  ///< direct debits only
  /// Unique per document, at most 35 characters; empty: made from the time
  /// and a random number.
  std::string messageId;
  /// The creation time stated in the group header, local time; none: now (zor::Now).
  std::optional<std::chrono::local_seconds> creationTime;
  std::string initiatingParty;  ///< empty: the account's name
  SepaPartyId initiatingPartyId{};
  SepaAccount account;  ///< the debtor of transfers, the creditor of debits
  /// Direct debits: the creditor identifier of every block; empty when every
  /// payment states its own (SepaPayment::creditorId).
  std::string creditorId;
  /// For whom the account's owner pays or collects: UltmtDbtr of a transfer's
  /// block, UltmtCdtr of a debit's; empty: none.
  SepaParty ultimateParty{};
  /// PmtTpInf/CtgyPurp/Cd of every block, e.g. SALA for salaries; empty: none.
  std::string categoryPurpose{};
  /// Transfers: SEPA instant credit transfers (local instrument INST), in
  /// pain.001.001.09 only; the blocks of otherBlocks say it for themselves.
  bool instant = false;
  /// Transfers: the payment type (PmtTpInf: service level and category
  /// purpose) stands in every transaction instead of its block. So it does,
  /// too, when a payment states its own category purpose. Not with `instant`.
  bool paymentTypePerTransaction = false;
  /// BtchBookg of every block: true, the block is booked as one sum; false,
  /// each payment on its own; none: not stated, the bank's choice (one sum).
  std::optional<bool> batchBooking{};
  /// Refuse a text that would have to be transliterated or cut.
  bool strict = false;
  /// The blocks of further accounts, or that differ from these settings
  /// otherwise; a payment names its block's in SepaGroup::blockSettings.
  std::vector<SepaBlockSettings> otherBlocks{};
};

/// The settings of blocks of `index` (SepaGroup::blockSettings): those of
/// `settings` themselves for 0, otherBlocks[index - 1] else.
ZORDTA_API SepaBlockSettings SepaBlockSettingsOf(const SepaSettings& settings, std::size_t index);

/// What puts payments into one payment information block: the requested date
/// and, for debits, the sequence type (ignored for transfers), and the block's
/// id where the caller gives one.
struct SepaGroup {
  std::chrono::year_month_day date;
  SepaSequence sequence = SepaSequence::OneOff;
  /// PmtInfId, at most 35 characters; empty: "<message id>-<n>". A block read
  /// from a file keeps its id when it is written again.
  std::string paymentInfoId{};
  /// Whose block: 0, the account of SepaSettings; n, SepaSettings::otherBlocks[n - 1].
  std::size_t blockSettings = 0;
  bool operator==(const SepaGroup&) const = default;
};

struct SepaPayment {
  SepaGroup group;
  std::int64_t cents = 0;    ///< 1 to 99,999,999,999
  SepaAccount counterparty;  ///< the creditor of a transfer, the debtor of a debit
  std::string endToEndId;    ///< empty: NOTPROVIDED
  std::string remittance;    ///< unstructured, at most 140 characters; may be empty
  std::string mandateId;     ///< direct debits
  std::optional<std::chrono::year_month_day> mandateSigned;  ///< direct debits
  /// The ISO 20022 purpose code (ExternalPurpose1Code), e.g. SALA; empty: none.
  std::string purposeCode;
  std::string instructionId{};  ///< PmtId/InstrId, for the initiating party's own use
  /// Transfers: PmtTpInf/CtgyPurp/Cd of this payment; empty: the settings'.
  std::string categoryPurpose{};
  /// PmtId/UETR, a UUID of version 4 in small letters (the current versions only).
  std::string uetr{};
  SepaParty ultimateDebtor{};    ///< UltmtDbtr of the transaction
  SepaParty ultimateCreditor{};  ///< UltmtCdtr of the transaction
  /// A structured remittance instead of `remittance`: a payment carries one of the two.
  SepaCreditorReference creditorReference{};
  /// Direct debits: the creditor identifier of this payment (DrctDbtTx/CdtrSchmeId);
  /// empty: the block's. Must not contradict a creditor identifier of the settings.
  std::string creditorId{};
  std::optional<SepaMandateAmendment> amendment{};  ///< direct debits

  bool operator==(const SepaPayment&) const = default;
};

/// Why a document or payment was refused.
enum class SepaFault {
  Amount,       ///< below 1 cent, above 99,999,999,999 cents, or sums beyond 18 digits
  Iban,         ///< CheckIBAN refuses it
  Bic,          ///< not 8 or 11 capitals and digits of a BIC's form, or missing for an
                ///< account in a SEPA country outside the EEA
  CreditorId,   ///< form or check digits of the creditor identifier
  Mandate,      ///< a debit without mandate reference or date of signature
  Identifier,   ///< an empty, too long or ill-formed reference (also: a slash first, last or
                ///< twice in a row)
  Text,         ///< a character with no counterpart, malformed UTF-8, an empty name,
                ///< or (strict) a text that needs transliterating or cutting
  Date,         ///< no calendar date of the years 1900 to 9999
  Group,        ///< a payment of a group other than the one being written
  Totals,       ///< a group's payments are not the planned ones (number, sum, values), or none
  Stream,       ///< the output stream failed
  Purpose,      ///< a purpose code not of four capital letters
  Country,      ///< an IBAN of a country outside the SEPA schemes (zor::SepaAreaOf)
  Address,      ///< an address the schemes refuse (zor::SepaAddressIssues), or one missing
                ///< where the account is in a SEPA country outside the EEA
  Reference,    ///< a structured creditor reference: wrong check digits, or with `remittance`
  Version,      ///< an element the version or the kind of payment has not (UETR in the older
                ///< versions, INST for a direct debit, ...)
  Party,        ///< an identification not of its kind's form, or creditor identifiers that
                ///< contradict each other, or a mandate amendment without what changed
  Currency,     ///< foreign transfers: no currency one can pay in
  Instruction,  ///< foreign transfers: instructions to a bank that exclude each other, or a
                ///< code of the wrong form
  Report,       ///< foreign transfers: more reports than the schema takes, or one too long
};

/// Where a warning or refusal belongs: `payment` counts from 1 in the order the
/// plan (or the writer) was handed the payments; 0 is the document settings.
struct SepaPlace {
  std::size_t payment = 0;
  std::string field;  ///< the XML element, e.g. "Ustrd", "Cdtr/Nm"
  /// Of the settings: 0, the document's own; n, those of SepaSettings::otherBlocks[n - 1].
  std::size_t blockSettings = 0;
};

struct SepaWarning {
  SepaPlace place;
  std::string text;  ///< German, one sentence
};

class ZORDTA_API SepaError : public Exception {
 public:
  SepaError(SepaFault fault, SepaPlace place, std::string text);
  SepaFault Fault() const noexcept { return fFault; }
  const SepaPlace& Place() const noexcept { return fPlace; }
  /// The German sentence without the place, which what() puts in front.
  const std::string& Text() const noexcept { return fText; }
  /// The refusals of the same payment's (or settings') later fields: each
  /// field is checked, so that one reading names every fault of a payment.
  const std::vector<SepaError>& Further() const noexcept { return fFurther; }
  void AddFurther(SepaError further) { fFurther.push_back(std::move(further)); }

 private:
  SepaFault fFault;
  SepaPlace fPlace;
  std::string fText;
  std::vector<SepaError> fFurther;
};

/// The figures of one payment information block.
struct SepaGroupTotals {
  SepaGroup group;
  std::string paymentInfoId;
  std::size_t count = 0;
  std::int64_t cents = 0;
};

/// The first pass: checks every payment and keeps the totals per group.
class ZORDTA_API SepaPlan {
 public:
  /// Checks the settings; raises SepaError.
  explicit SepaPlan(SepaSettings settings);

  /// Checks a payment and counts it in its group; raises SepaError.
  void Add(const SepaPayment& payment);

  /// The settings as they are written: with the message id made, and the
  /// payment type per transaction where a payment states its own category purpose.
  const SepaSettings& Settings() const noexcept { return fSettings; }
  /// The groups in the order they are written: by date, then sequence type.
  std::vector<SepaGroupTotals> Groups() const;
  std::size_t Count() const noexcept { return fCount; }
  std::int64_t Cents() const noexcept { return fCents; }
  /// The first 100 warnings; WarningCount() counts all.
  const std::vector<SepaWarning>& Warnings() const noexcept { return fWarnings; }
  std::size_t WarningCount() const noexcept { return fWarningCount; }

 private:
  friend class detail::SepaWriterState;
  /// What the writer holds a group's payments to when each was taken as given:
  /// then it writes them without checking them again, and their digests must
  /// add up to this sum.
  struct Seal {
    bool asGiven = true;
    std::uint64_t digest = 0;
  };

  void Warn(SepaWarning warning);

  SepaSettings fSettings;
  std::vector<SepaGroupTotals> fGroups;  // sorted; a handful, not one per payment
  std::vector<Seal> fSeals;              // by group, as fGroups
  std::size_t fCount = 0;
  std::int64_t fCents = 0;
  std::vector<SepaWarning> fWarnings;
  std::size_t fWarningCount = 0;
};

/// The second pass: writes the document into `out` as the payments arrive.
/// After a SepaError the output is incomplete and must be discarded.
class ZORDTA_API SepaWriter {
 public:
  /// Writes the group header; the plan and the stream must outlive the writer.
  SepaWriter(const SepaPlan& plan, std::ostream& out);
  ~SepaWriter();
  SepaWriter(const SepaWriter&) = delete;
  SepaWriter& operator=(const SepaWriter&) = delete;

  /// The next payment: of the group being written, or once that group is
  /// complete, of the next one. It must be one the plan was given: a group
  /// whose payments the plan took without a change is written without
  /// checking them again, and payments other than the planned ones are
  /// refused (SepaFault::Totals) once their group is complete.
  void Add(const SepaPayment& payment);
  /// Checks that every group is complete and ends the document.
  void Finish();

 private:
  std::unique_ptr<detail::SepaWriterState> fState;
};

/// The check digits of a SEPA creditor identifier (ISO 7064 MOD 97-10 over the
/// national part, the country and "00"; the business code does not count).
ZORDTA_API bool CheckCreditorId(std::string_view creditorId) noexcept;

/// Whether a payment carries more than account, amount, references, purpose
/// code and mandate: an address or id of its counterparty, an instruction id,
/// UETR, category, ultimate party, creditor reference or identifier, or a
/// mandate amendment. Such a payment is always checked whole.
ZORDTA_API bool HasSepaExtras(const SepaPayment& payment) noexcept;

/// FRST, RCUR, OOFF or FNAL: the code of SeqTp.
ZORDTA_API const char* SepaSequenceCode(SepaSequence sequence) noexcept;
/// The sequence type of a code, in capitals or small letters; none for another text.
ZORDTA_API std::optional<SepaSequence> SepaSequenceOf(std::string_view code) noexcept;

/// The purpose code of a payment of a DTAUS file, by the two digits of its
/// payment key (53 of 53000), as zor::kDtausKeys gives it: 53 salary SALA, 54
/// capital-building payment CBFF, 56 public payment GOVT; empty for 51, the
/// debits 04 and 05 and any other.
ZORDTA_API std::string_view SepaPurposeForDtausKey(int key) noexcept;

}  // namespace zor
