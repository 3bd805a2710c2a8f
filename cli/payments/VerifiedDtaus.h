// A DTAUS file read for what it holds and checked against its own E record,
// the same way for `dtaus read --verify` and for a cover sheet rebuilt from the
// file. Payments are counted as the importer reads them, never held.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "payments/DtausImport.h"

namespace zcli {

class VerifiedDtaus {
 public:
  /// Reads the E record's bytes before anything else; raises zor::Exception
  /// naming the file when it cannot be read.
  explicit VerifiedDtaus(std::string path);

  /// Imports the file, counting its payments; raises zor::Exception for a bad file.
  void Import();
  /// Imports the file once more, handing each payment to `take`. False when its
  /// payments no longer add up to those of Import: the file changed in between.
  bool ImportAgain(const std::function<void(const ImportedPayment&)>& take) const;
  /// One German sentence per way the E record disagrees with the payments (or
  /// why it cannot be read); empty when it agrees.
  std::vector<std::string> TrailerFaults() const;

  const ImportedClient& Client() const { return fClient; }
  const PaymentSummary& Summary() const { return fSummary; }

 private:
  std::string fPath;
  std::string fTrailer;
  ImportedClient fClient;
  PaymentSummary fSummary;
};

/// The message for a file that changed while it was read twice.
inline constexpr const char* kFileChangedWhileRead = "Die Datei hat sich beim Lesen geändert.";

}  // namespace zcli
