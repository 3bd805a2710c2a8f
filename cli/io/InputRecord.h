// One payment as read from a CSV row or a job file, before its values are
// interpreted: every value is UTF-8 text already checked against Windows-1252.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace zcli {

struct InputRecord {
  std::string where;                 ///< "Zeile 4" or "Buchung 2"
  std::vector<std::string> purpose;  ///< purpose lines, blank ones left out

  /// The trimmed value of a field; empty when it is missing.
  std::string Get(const std::string& field) const;
  /// Sets a field's text, replacing an earlier one.
  void Set(const std::string& field, std::string text);
  /// Every field with its untrimmed text, in the order they were set.
  const std::vector<std::pair<std::string, std::string>>& Values() const { return fValues; }
  /// Room for that many fields.
  void Reserve(std::size_t fields) { fValues.reserve(fields); }

 private:
  // Canonical field name -> text. A handful per payment, and a million payments
  // in a large run: a flat list costs one allocation where a map costs one per field.
  std::vector<std::pair<std::string, std::string>> fValues;
};

}  // namespace zcli
