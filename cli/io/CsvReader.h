// Payment tables in CSV (RFC 4180, UTF-8, header row). The parsing itself is
// libcsv's; this adds what a person fixing the file needs: line numbers for
// every row and line and column for every character Windows-1252 lacks.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "io/Diagnostics.h"
#include "io/InputRecord.h"

namespace zcli {

struct CsvRow {
  int line = 0;  ///< physical line the row starts on (1-based)
  std::vector<std::string> cells;
};

struct CsvTable {
  char delimiter = ',';
  std::vector<CsvRow> rows;  ///< the header first
};

/// The delimiter of the header line: ";" or a tab when the line has one and no
/// comma, else ",".
char GuessDelimiter(std::string_view text);

/// Parses the whole text (a UTF-8 byte order mark is skipped). Malformed UTF-8,
/// broken quoting and characters Windows-1252 lacks are reported; after the
/// first two there are no rows.
CsvTable ParseCsv(std::string_view text, char delimiter, Diagnostics& errors);

/// The header vocabulary of one payment kind.
struct CsvColumns {
  /// Normalized header (lower case, no blanks, "_" or "-", umlauts spelled out) -> field.
  std::map<std::string, std::string> names;
  std::vector<std::string> required;
};

/// Header cells as compared with CsvColumns::names: "Straße" -> "strasse".
std::string NormalizeHeader(std::string_view header);

/// The rows after the header as records. Purpose lines come from the columns
/// "verwendungszweck", "verwendungszweck1" ... (or "vwz1" ...), in number order.
/// Unknown or missing columns and rows of the wrong width are reported.
std::vector<InputRecord> ToRecords(const CsvTable& table, const CsvColumns& columns,
                                   Diagnostics& errors);

}  // namespace zcli
