// Domestic payments (DTAUS): settings, payments and the checks before writing.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "io/CsvReader.h"
#include "io/Diagnostics.h"
#include "io/InputRecord.h"
#include "io/JobFile.h"
#include "payments/Settings.h"
#include "zordta/ZorDTA.h"

namespace zcli {

struct DtausSettings {
  std::string name;  ///< client, UTF-8
  std::int64_t blz = 0;
  std::int64_t konto = 0;
  bool lastschriften = false;
  bool abbuchung = false;  ///< implies lastschriften
  std::string schluessel;  ///< custom payment key, five digits, or empty
  std::optional<zor::TDate> ausfuehrung;
  std::optional<zor::TDate> dateidatum;
  bool zentralbank = false;
  std::string dateiname = "DTAUS0.TXT";
  std::string verzeichnis = ".";
};

struct DtausPayment {
  std::string where;
  std::string name;
  std::int64_t konto = 0;
  std::int64_t blz = 0;
  std::int64_t cent = 0;
  std::vector<std::string> purpose;
  /// Fields whose text could not be read (already reported); the others are still checked.
  std::set<std::string> unreadable;
};

const JobSchema& DtausJobSchema();
const CsvColumns& DtausCsvColumns();

void ApplyDtausSettings(const std::map<std::string, std::string>& values, const std::string& where,
                        const KeyLabel& label, DtausSettings& settings, Diagnostics& errors);

/// Every payment; each value that cannot be read is reported and marked.
std::vector<DtausPayment> ParseDtausPayments(const std::vector<InputRecord>& records,
                                             Diagnostics& errors);

/// Runs the library's checks on the client and on every payment, booking them
/// into a component that is never finished, so nothing is written.
void CheckDtaus(const DtausSettings& settings, const std::vector<DtausPayment>& payments,
                Diagnostics& errors, Diagnostics& warnings);

/// Sets folder, file name, client and settings of a component.
void ConfigureDtaus(zor::TZorDTA& dta, const DtausSettings& settings);
void BookDtaus(zor::TZorDTA& dta, const DtausPayment& payment);

}  // namespace zcli
