// One payment as read from a CSV row or a job file, before its values are
// interpreted: every value is UTF-8 text already checked against Windows-1252.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "zordta/Config.h"

namespace zor::entry {

struct ZORDTA_API InputRecord {
  std::string where;  ///< "Zeile 4" or "Buchung 2"
  /// Purpose lines; blank ones are left out unless the kind keeps their place.
  std::vector<std::string> purpose;

  /// The trimmed value of a field; empty when it is missing. Valid until the
  /// record changes.
  std::string_view Get(std::string_view field) const;
  /// True when some field's name begins with `prefix` ("anschrift."), even
  /// one with an empty value: a reader skips a whole group of fields without it.
  bool HasFieldsUnder(std::string_view prefix) const;
  /// Sets a field's text, replacing an earlier one.
  void Set(std::string_view field, std::string_view text);
  /// Every field with its untrimmed text, in the order they were set.
  std::span<const std::pair<std::string, std::string>> Values() const {
    return {fValues.data(), fCount};
  }
  /// Adds a purpose line, in storage an earlier row left where there is some.
  void AddPurpose(std::string_view line);
  /// Empties the record for the next row. The storage stays: a large table is
  /// read into one record, row after row, without an allocation per field.
  void Clear();

 private:
  // Purpose lines of an earlier row, kept for their storage.
  std::vector<std::string> fSparePurpose;
  // Field name -> text; a flat list, as a payment has only a handful. Entries
  // past fCount are storage kept from an earlier row.
  std::vector<std::pair<std::string, std::string>> fValues;
  std::size_t fCount = 0;
};

}  // namespace zor::entry
