// Record by record from DTAUS to SEPA: record A becomes a document's settings,
// record C a payment. Every fault is reported at its record and the record
// still converted as far as it goes, so that one reading names every fault.
#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "zordta/DtausKeys.h"
#include "zordta/DtausToSepa.h"

namespace zor::detail {

/// One logical file on its way to a SEPA document.
struct DtausSepaDocument {
  DtausPlace place;  ///< of record A
  /// False when its payments cannot be converted at all (a DM file).
  bool usable = true;
  /// The instrument comes from the first direct debit's key.
  SepaSettings settings;
  std::chrono::year_month_day date;
  std::string firstDebitKey;  ///< empty until the first direct debit
  DtausPlace firstDebitPlace;
  std::optional<SepaPlan> plan;  ///< once the first payment came
  // While it is written:
  std::vector<SepaGroupTotals> groups;
  std::unique_ptr<SepaWriter> writer;
};

/// "Datensatz 7 (Byte 1024)".
std::string DtausRecordText(const DtausPlace& place);

/// Valid stand-ins for a client's IBAN or creditor ID the checks refused, so
/// that the payments are still checked; never written, as a fault was reported.
inline constexpr const char* kStandInIban = "DE89370400440532013000";
inline constexpr const char* kStandInCreditorId = "DE98ZZZ09999999999";

class DtausRecordConversion {
 public:
  DtausRecordConversion(DtausToSepaSettings settings, DtausToSepa::IbanOf ibanOf,
                        const MandateTable* mandates, DtausToSepa::Report report);

  /// The document of logical file `number` (from 1). A client without IBAN
  /// gets a stand-in.
  DtausSepaDocument Open(const DtausHeader& header, std::size_t number, bool numbered);
  /// One payment of `document` into `out`, whose texts keep their room; false
  /// when it has a fault. The first direct debit fixes the document's instrument.
  bool Convert(const DtausPayment& payment, DtausSepaDocument& document, SepaPayment& out);

  /// Reports the issue unless silenced, and counts its faults.
  void Add(DtausToSepaIssue&& issue);
  /// While written, the file is converted once more: its issues were reported.
  void Silence() { fSilent = true; }
  std::size_t Faults() const noexcept { return fFaults; }
  const DtausToSepaSettings& Settings() const noexcept { return fSettings; }

 private:
  bool FindAccount(DtausAccount account, const DtausPlace& place, const char* fieldPrefix,
                   SepaAccount& out);
  void CheckDate(const DtausHeader& header, DtausSepaDocument& doc);
  void CheckScheme(const DtausPayment& payment, const DtausKey* key, DtausSepaDocument& doc);
  void FindMandate(const DtausPayment& payment, bool found, SepaPayment& out);

  DtausToSepaSettings fSettings;
  DtausToSepa::IbanOf fIbanOf;
  const MandateTable* fMandates;
  DtausToSepa::Report fReport;
  std::chrono::year_month_day fToday;
  std::size_t fFaults = 0;
  bool fSilent = false;
  bool fRulesMissingReported = false;
  bool fRuleAssumedReported = false;
};

}  // namespace zor::detail
