#include "payments/VerifiedDtaus.h"

#include <optional>
#include <utility>

#include "io/DtausTrailer.h"
#include "io/FileBytes.h"

namespace zcli {

VerifiedDtaus::VerifiedDtaus(std::string path)
    : fPath(std::move(path)), fTrailer(ReadFileTail(fPath, kTrailerLength)) {}

void VerifiedDtaus::Import() {
  PaymentSummary summary;
  fClient = ImportDtaus(fPath, [&summary](const ImportedPayment& p) { summary.Add(p); });
  fSummary = std::move(summary);
}

bool VerifiedDtaus::ImportAgain(const std::function<void(const ImportedPayment&)>& take) const {
  PaymentSummary again;
  ImportDtaus(fPath, [&](const ImportedPayment& p) {
    take(p);
    again.Add(p);
  });
  return CompareSums(fSummary.sums, again.sums).empty();
}

std::vector<std::string> VerifiedDtaus::TrailerFaults() const {
  std::string error;
  const std::optional<ControlSums> stated = ReadTrailer(fTrailer, error);
  if (!stated) return {error};
  return CompareSums(*stated, fSummary.sums);
}

}  // namespace zcli
