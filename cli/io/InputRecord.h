// One payment as read from a CSV row or a job file, before its values are
// interpreted: every value is UTF-8 text already checked against Windows-1252.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace zcli {

struct InputRecord {
  std::string where;                          ///< "Zeile 4" or "Buchung 2"
  std::map<std::string, std::string> values;  ///< canonical field name -> text
  std::vector<std::string> purpose;           ///< purpose lines, blank ones left out

  /// The trimmed value of a field; empty when it is missing.
  std::string Get(const std::string& field) const;
};

}  // namespace zcli
