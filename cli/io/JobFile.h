// Job files: one JSON object with the client's data, the settings of the file and
// its payments ("buchungen"). The loader checks the shape and the text; what the
// values mean is for the payment kind to decide.
#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "io/Diagnostics.h"
#include "io/InputRecord.h"

namespace zcli {

struct JobSchema {
  /// Settings as flattened keys: "dateiname", "auftraggeber.blz".
  std::set<std::string> settings;
  /// Fields of a payment besides "verwendungszweck".
  std::set<std::string> paymentFields;
  /// Top-level keys that are accepted and ignored (what "dtaus read" adds).
  std::set<std::string> ignored;
};

struct Job {
  /// Flattened key -> value as text (numbers as written, booleans "true"/"false").
  std::map<std::string, std::string> settings;
  std::vector<InputRecord> payments;
  bool hasPayments = false;  ///< the job has a "buchungen" list, maybe empty
};

/// Unknown keys are reported, not ignored: a misspelt key would otherwise drop a
/// value without a word.
Job LoadJob(std::string_view text, const JobSchema& schema, Diagnostics& errors);

}  // namespace zcli
