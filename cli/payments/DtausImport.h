// A DTAUS file read back through the library's importer.
#pragma once

#include <cstdint>
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

struct ImportedFile {
  std::string name;
  std::int64_t blz = 0;
  std::int64_t konto = 0;
  bool lastschriften = false;
  zor::TDate dateidatum = 0;
  std::optional<zor::TDate> ausfuehrung;
  std::vector<ImportedPayment> payments;

  ControlSums Sums() const;
};

/// Reads the file at path with the importer; bytes are the same file's content
/// (for what the importer does not tell). Raises zor::Exception for a bad file.
ImportedFile ImportDtaus(const std::string& path, const std::string& bytes);

}  // namespace zcli
