// What a job file of a payment kind may hold (its settings, payment fields and
// the keys it ignores or refuses) and a job as read: settings as text, payments
// as records. Reading the JSON itself is the caller's.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "zordta/Config.h"
#include "zordta/entry/InputRecord.h"

namespace zor::entry {

/// What a setting takes in a job. A value of another JSON type is refused by
/// name, never read as something else (null or {} as "false", say).
enum class JobValue {
  kText,    ///< a string
  kNumber,  ///< a whole number, or a string of digits
  kFlag,    ///< true or false
  /// A list of texts, kept one per line: no text of a job holds a line break.
  kTextList,
};

struct ZORDTA_API JobSchema {
  /// Settings as flattened keys: "dateiname", "auftraggeber.blz".
  std::map<std::string, JobValue> settings;
  /// Fields of a payment besides "verwendungszweck", flattened as the settings:
  /// "anschrift.ort".
  std::set<std::string> paymentFields;
  /// Top-level keys that are accepted and ignored (what "dtaus read" adds).
  std::set<std::string> ignored;
  /// Payment fields that "read" prints but a file of this kind cannot take
  /// from a job: field -> why.
  std::map<std::string, std::string> refusedPaymentFields;
  /// True: a blank purpose line keeps its place; false: it is left out.
  bool blankPurposeLinesKeepPlace = false;
  /// True: a job may hold several files in "dateien".
  bool severalFiles = false;
  /// The payment fields that take a flag or a list; the others a text or a number.
  std::map<std::string, JobValue> paymentValues{};
  /// Groups a lone text stands for the name of: "endzahler": "Muster AG" is
  /// "endzahler.name", for settings and payment fields alike.
  std::set<std::string> namedGroups{};
  /// A top-level list of objects of settings, each entry flattened as the
  /// settings under "<name>[n]." (n from 1): the SEPA blocks of further
  /// accounts, "weitere_konten". Empty: none.
  std::string settingsList{};
};

struct ZORDTA_API Job {
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

}  // namespace zor::entry
