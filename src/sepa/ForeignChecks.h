// The checks of a foreign transfer and of its document's settings: each makes
// the values as they are written, texts in the banks' character set, and
// refuses what the schema or the banks do not take.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "sepa/SepaText.h"
#include "zordta/ForeignTransfer.h"

namespace zor::detail {

/// The greatest amount of one foreign transfer in hundredths: 17 digits, so
/// that it stays within the schema's 18.
inline constexpr std::int64_t kForeignMaxAmount = 99'999'999'999'999'999;

struct ForeignCheckedSettings {
  std::string messageId;
  std::string initiatingParty;
  std::string debtorName;
  std::string debtorIban;
  std::string debtorBic;  // empty: none
  SepaPostalAddress debtorAddress;
};

/// A transfer as it is written.
struct ForeignCheckedTransfer {
  std::string endToEndId;
  std::string instructionId;
  std::string localInstrument;
  std::string agentName;
  SepaPostalAddress agentAddress;
  std::string creditorName;
  SepaPostalAddress creditorAddress;
  std::string creditorAgentInformation;
  std::string debtorAgentInstruction;
  std::vector<ForeignReport> reports;
  std::string remittance;
};

/// Checks the settings; a missing message id is made here. Raises SepaError.
ForeignCheckedSettings CheckForeignSettings(const ForeignTransferSettings& settings,
                                            const SepaWarn& warn);

/// Checks a transfer; `ordinal` counts from 1. Raises SepaError, which
/// carries every further refusal of the same transfer.
ForeignCheckedTransfer CheckForeignTransfer(const ForeignTransferSettings& settings,
                                            const ForeignTransfer& transfer, std::size_t ordinal,
                                            const SepaWarn& warn);
/// The same into `out`, whose storage a writer keeps from transfer to transfer:
/// every field is set anew.
void CheckForeignTransfer(const ForeignTransferSettings& settings, const ForeignTransfer& transfer,
                          std::size_t ordinal, const SepaWarn& warn, ForeignCheckedTransfer& out);

}  // namespace zor::detail
