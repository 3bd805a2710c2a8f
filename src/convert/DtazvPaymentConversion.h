// One record T, with the reports that follow it, as a SEPA credit transfer or
// a foreign transfer. Every value the documents have no place for is reported
// at its field, and the payment still converted as far as it goes, so that one
// reading names every fault.
#pragma once

#include <chrono>
#include <functional>
#include <span>
#include <string>

#include "zordta/DtazvToSepa.h"

namespace zor::detail {

/// What holds for every payment of a file.
struct DtazvFileFacts {
  DtazvHeader header;
  std::chrono::year_month_day today;
  std::optional<std::chrono::year_month_day> executionDate;  ///< the settings'
};

class DtazvPaymentConversion {
 public:
  using Issue = std::function<void(DtazvToSepaIssue&&)>;

  explicit DtazvPaymentConversion(Issue issue) : fIssue(std::move(issue)) {}

  /// The payment as a SEPA credit transfer into `out`, whose texts keep their room.
  void ToSepa(const DtazvFileFacts& file, const DtazvPayment& p,
              std::span<const DtazvReport> reports, SepaPayment& out);
  /// The payment as a foreign transfer into `out`.
  void ToForeign(const DtazvFileFacts& file, const DtazvPayment& p,
                 std::span<const DtazvReport> reports, ForeignTransfer& out);

 private:
  void Unmapped(const DtazvPlace& place, std::string field, std::string value, std::string text);
  std::chrono::year_month_day Date(const DtazvFileFacts& file, const DtazvPayment& p);
  void CheckAccount(const DtazvFileFacts& file, const DtazvPayment& p);
  void Keys(const DtazvPayment& p, ForeignTransfer& out);
  void PaymentType(const DtazvPayment& p, ForeignTransfer& out);
  void Reports(std::span<const DtazvReport> reports, ForeignTransfer& out);

  Issue fIssue;
};

/// Purpose lines as one text, blank lines left out.
void JoinDtazvLines(std::span<const std::string> lines, std::string& out);

}  // namespace zor::detail
