// Foreign credit transfers in pain.001.001.09, as German banks take them for
// payments outside the SEPA schemes (order type AXZ): any currency, charges
// borne by either side or shared, instructions to both banks, the creditor's
// bank by BIC or by name and address, an account that need not be an IBAN,
// and the reports the central bank asks for. Written in constant memory in
// two passes over the caller's payments, as SEPA documents are:
//
//   zor::ForeignTransferPlan plan(settings);
//   for (const zor::ForeignTransfer& t : transfers) plan.Add(t);   // totals only
//   zor::ForeignTransferWriter writer(plan, out);                  // group header
//   for (const zor::ForeignGroupTotals& g : plan.Groups())         // by date
//     for (const zor::ForeignTransfer& t : transfers)
//       if (t.date == g.date) writer.Add(t);
//   writer.Finish();
//
// Text is UTF-8 and goes through the same character set as SEPA documents. A
// refused value raises zor::SepaError, which names the payment and the element.
#pragma once

#include <chrono>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "zordta/Sepa.h"

namespace zor {

namespace detail {
class ForeignWriterState;
}

/// ChrgBr: who bears the charges.
enum class ForeignChargeBearer {
  Shared,    ///< SHAR: each side its own bank's
  Debtor,    ///< DEBT: all on the debtor
  Creditor,  ///< CRED: all on the creditor
};

/// InstrForCdtrAgt/Cd: what the creditor's bank is to do (Instruction3Code).
enum class ForeignCreditorInstruction {
  PayByCheque,         ///< CHQB
  HoldForCollection,   ///< HOLD: pay on identification
  PhoneBeneficiary,    ///< PHOB
  TelecomBeneficiary,  ///< TELB
};

/// One regulatory report (RgltryRptg) to the debtor's authority.
struct ForeignReport {
  std::string type{};                      ///< Dtls/Tp, at most 35 characters; may be empty
  std::string code{};                      ///< Dtls/Cd, at most 10 characters; may be empty
  std::vector<std::string> information{};  ///< Dtls/Inf, each at most 35 characters

  bool operator==(const ForeignReport&) const = default;
};

/// The authority the reports go to (RgltryRptg/Authrty) and who reports.
struct ForeignReportAuthority {
  std::string name = "Deutsche Bundesbank";  ///< Nm
  std::string country = "DE";                ///< Ctry
};

struct ForeignTransfer {
  std::chrono::year_month_day date;  ///< ReqdExctnDt; the payments of one date form a block
  /// In hundredths of `currency`; 1 to 99,999,999,999,999,999.
  std::int64_t amount = 0;
  std::string currency;  ///< ISO 4217, a currency one can pay in
  /// Empty: InstdAmt. Else EqvtAmt: `amount` in `currency` is converted into
  /// this currency, in which the creditor is paid (CcyOfTrf).
  std::string currencyOfTransfer{};
  ForeignChargeBearer chargeBearer = ForeignChargeBearer::Shared;
  std::string serviceLevel{};     ///< PmtTpInf/SvcLvl/Cd, e.g. URGP; empty: none
  std::string localInstrument{};  ///< PmtTpInf/LclInstrm/Prtry; empty: none
  std::string categoryPurpose{};  ///< PmtTpInf/CtgyPurp/Cd; empty: none
  std::string endToEndId{};       ///< empty: NOTPROVIDED
  std::string instructionId{};    ///< PmtId/InstrId, for the debtor's own use; may be empty
  /// The creditor's bank: by BIC, or by name and an address with town and country.
  std::string agentBic{};
  std::string agentName{};
  SepaPostalAddress agentAddress{};
  std::string creditorName;
  SepaPostalAddress creditorAddress;  ///< with town and country
  std::string creditorIban{};         ///< CdtrAcct/Id/IBAN; or
  std::string creditorAccount{};      ///< CdtrAcct/Id/Othr/Id, at most 34 characters
  std::vector<ForeignCreditorInstruction> creditorAgentInstructions{};
  /// InstrInf of the first creditor-agent instruction, or of one of its own
  /// when there is none; at most 140 characters.
  std::string creditorAgentInformation{};
  std::string debtorAgentInstruction{};  ///< InstrForDbtrAgt, at most 140 characters
  std::vector<ForeignReport> reports{};  ///< at most 10, each one RgltryRptg
  std::string remittance{};              ///< Ustrd, at most 140 characters; may be empty

  bool operator==(const ForeignTransfer&) const = default;
};

struct ForeignTransferSettings {
  /// Unique per document, at most 35 characters; empty: made.
  std::string messageId;
  /// The creation time stated in the group header, local time; none: now.
  std::optional<std::chrono::local_seconds> creationTime;
  std::string initiatingParty;  ///< empty: the debtor's name
  /// The debtor: name, IBAN, BIC (may be empty) and address.
  SepaAccount debtor;
  std::string debtorAccountCurrency{};  ///< DbtrAcct/Ccy; empty: not stated
  ForeignReportAuthority authority{};
  bool strict = false;  ///< refuse a text that would have to be transliterated or cut
};

/// The figures of one payment information block: the payments of one date.
struct ForeignGroupTotals {
  std::chrono::year_month_day date;
  std::string paymentInfoId;
  std::size_t count = 0;
  std::int64_t amounts = 0;  ///< the sum of the amounts, whatever their currencies
};

/// The first pass: checks every transfer and keeps the totals per date.
class ZORDTA_API ForeignTransferPlan {
 public:
  /// Checks the settings; raises SepaError.
  explicit ForeignTransferPlan(ForeignTransferSettings settings);

  /// Checks a transfer and counts it in its block; raises SepaError.
  void Add(const ForeignTransfer& transfer);

  /// The settings as they are written, with the message id made.
  const ForeignTransferSettings& Settings() const noexcept { return fSettings; }
  /// The blocks in the order they are written: by date.
  const std::vector<ForeignGroupTotals>& Groups() const noexcept { return fGroups; }
  std::size_t Count() const noexcept { return fCount; }
  std::int64_t Amounts() const noexcept { return fAmounts; }
  /// The first 100 warnings; WarningCount() counts all.
  const std::vector<SepaWarning>& Warnings() const noexcept { return fWarnings; }
  std::size_t WarningCount() const noexcept { return fWarningCount; }

 private:
  ForeignTransferSettings fSettings;
  std::vector<ForeignGroupTotals> fGroups;  // sorted by date; one per date, not per payment
  std::size_t fCount = 0;
  std::int64_t fAmounts = 0;
  std::vector<SepaWarning> fWarnings;
  std::size_t fWarningCount = 0;
};

/// The second pass: writes the document into `out` as the transfers arrive,
/// block by block in the plan's order. After a SepaError the output is
/// incomplete and must be discarded.
class ZORDTA_API ForeignTransferWriter {
 public:
  /// Writes the group header; the plan and the stream must outlive the writer.
  ForeignTransferWriter(const ForeignTransferPlan& plan, std::ostream& out);
  ~ForeignTransferWriter();
  ForeignTransferWriter(const ForeignTransferWriter&) = delete;
  ForeignTransferWriter& operator=(const ForeignTransferWriter&) = delete;

  /// The next transfer: of the block being written, or once that is complete,
  /// of the next one. Payments beyond the plan's are refused (SepaFault::Totals).
  void Add(const ForeignTransfer& transfer);
  /// Checks that every block is complete and ends the document.
  void Finish();

 private:
  std::unique_ptr<detail::ForeignWriterState> fState;
};

/// CHQB, HOLD, PHOB or TELB.
ZORDTA_API const char* ForeignInstructionCode(ForeignCreditorInstruction instruction) noexcept;
/// SHAR, DEBT or CRED.
ZORDTA_API const char* ForeignChargeBearerCode(ForeignChargeBearer bearer) noexcept;

}  // namespace zor
