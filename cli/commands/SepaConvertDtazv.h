// zordta sepa convert of a DTAZV file: its payments as pain.001.001.09
// documents, SEPA credit transfers and foreign transfers.
#pragma once

#include <string>

#include "zordta/DtazvToSepa.h"
#include "zordta/entry/Diagnostics.h"

namespace zcli {

struct DtazvConvertJob {
  std::string file;
  zor::DtazvToSepaSettings settings;  ///< as the options give them
  std::string bankdaten;
  bool standardregel = false;
  std::string dateiname;
  std::string verzeichnis = ".";
  bool dryRun = false;
  bool overwrite = false;
};

/// Whether the file begins with a record Q: then it is a DTAZV file.
bool IsDtazvFile(const std::string& path);

/// Plans every payment, then writes the documents together, or nothing.
/// `optionErrors` are the options' faults, reported with the file's.
int RunDtazvConvert(const DtazvConvertJob& job, zor::entry::Diagnostics optionErrors);

}  // namespace zcli
