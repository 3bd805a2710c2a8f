// A DTAUS file read back through the library's importer. The payments are
// handed over one at a time as the importer reads them, so a file of millions
// of payments is never held in memory.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "io/DtausTrailer.h"
#include "zordta/host/Types.h"

namespace zcli {

struct ImportedPayment {
  std::string name;  ///< UTF-8, as the file has it (capitals)
  std::int64_t konto = 0;
  std::int64_t blz = 0;
  std::int64_t cent = 0;
  std::vector<std::string> purpose;
  bool abbuchung = false;
  std::string schluessel;  ///< custom payment key, or empty
};

/// The A record: the client and the file's settings.
struct ImportedClient {
  std::string name;
  std::int64_t blz = 0;
  std::int64_t konto = 0;
  bool lastschriften = false;
  zor::TDate dateidatum = 0;
  std::optional<zor::TDate> ausfuehrung;
};

/// What the payments of a file add up to, and what a reader of the file must
/// know before the first payment.
struct PaymentSummary {
  ControlSums sums;
  bool abbuchung = false;        ///< some payment is an Abbuchungsauftrag
  std::string schluessel;        ///< the first custom payment key
  std::size_t purposeLines = 0;  ///< the most purpose lines of one payment

  void Add(const ImportedPayment& payment);
};

/// Reads the file at `path` with the importer and hands each payment to `take`
/// (the same object, refilled). Answers the client; raises zor::Exception for
/// a bad file.
ImportedClient ImportDtaus(const std::string& path,
                           const std::function<void(const ImportedPayment&)>& take);

}  // namespace zcli
