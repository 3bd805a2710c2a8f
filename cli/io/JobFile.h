// Job files: one JSON object with the client's data, the settings of the file and
// its payments ("buchungen"), or, where the kind allows it, a list of such
// objects ("dateien") for the files written one after another into one. The
// loader checks the shape and the text; what the values mean is for the payment
// kind to decide.
#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "io/Diagnostics.h"
#include "io/InputRecord.h"

namespace zcli {

/// What a setting takes in a job. A value of another JSON type is refused by
/// name, never read as something else (null or {} as "false", say).
enum class JobValue {
  kText,    ///< a string
  kNumber,  ///< a whole number, or a string of digits
  kFlag,    ///< true or false
};

struct JobSchema {
  /// Settings as flattened keys: "dateiname", "auftraggeber.blz".
  std::map<std::string, JobValue> settings;
  /// Fields of a payment besides "verwendungszweck".
  std::set<std::string> paymentFields;
  /// Top-level keys that are accepted and ignored (what "dtaus read" adds).
  std::set<std::string> ignored;
  /// Payment fields that "read" prints but a file of this kind cannot take
  /// from the tool: field -> why.
  std::map<std::string, std::string> refusedPaymentFields;
  /// True: a blank purpose line keeps its place; false: it is left out.
  bool blankPurposeLinesKeepPlace = false;
  /// True: a job may hold several files in "dateien".
  bool severalFiles = false;
};

struct Job {
  /// Flattened key -> value as text (numbers as written, booleans "true"/"false").
  std::map<std::string, std::string> settings;
  std::vector<InputRecord> payments;
  bool hasPayments = false;  ///< the job has a "buchungen" list, maybe empty
  /// The files of a job of several ("dateien"), in order, each with its own
  /// settings and payments; faults in them are placed "dateien[1]", ... Empty
  /// for a job of one file. An entry that is no object is reported, not kept.
  std::vector<Job> files;
  /// Where a file of several is placed in messages: "dateien[2]".
  std::string place;
};

/// How the file `number` (1-based) of a job of several is named in messages.
std::string FilePlace(std::size_t number);

/// Unknown keys are reported, not ignored: a misspelt key would otherwise drop a
/// value without a word.
Job LoadJob(std::string_view text, const JobSchema& schema, Diagnostics& errors);

}  // namespace zcli
