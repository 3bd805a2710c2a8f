// Payment tables as rows of cells: the header vocabulary of a payment kind, and
// rows turned into records once the header has named their columns. Splitting
// a text into rows is the caller's (RFC 4180 CSV, say).
#pragma once

#include <algorithm>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "zordta/Config.h"
#include "zordta/entry/Diagnostics.h"
#include "zordta/entry/InputRecord.h"
#include "zordta/entry/Values.h"

namespace zor::entry {

struct ZORDTA_API CsvRow {
  int line = 0;  ///< physical line the row starts on (1-based)
  /// Valid while the row is being taken: they view the text or the parser's copy.
  std::vector<std::string_view> cells;
  /// The row was split from one line in place: no cell holds a line break.
  bool oneLine = false;
};

/// The header vocabulary of one payment kind.
struct ZORDTA_API CsvColumns {
  /// Normalized header (lower case, no blanks, "_" or "-", umlauts spelled out) -> field.
  std::map<std::string, std::string> names;
  std::vector<std::string> required;
};

/// Header cells as compared with CsvColumns::names: "Straße" -> "strasse".
ZORDTA_API std::string NormalizeHeader(std::string_view header);

/// True for a header naming a purpose column: "verwendungszweck", "verwendungszweck1"
/// ... or "vwz1" ... up to 99.
ZORDTA_API bool IsPurposeColumn(std::string_view header);

/// Turns rows into records after the header row named their columns. Purpose
/// lines come from the columns "verwendungszweck", "verwendungszweck1" ... (or
/// "vwz1" ...), in number order.
class ZORDTA_API CsvRecordReader {
 public:
  /// Unknown, doubled and missing columns are reported; they leave the reader
  /// without any records.
  CsvRecordReader(const CsvRow& header, const CsvColumns& columns, Diagnostics& errors);
  bool Usable() const { return fUsable; }
  /// Fills `record` from a row. Answers false for a blank row, and for a row of
  /// the wrong width, which is reported.
  bool Read(const CsvRow& row, InputRecord& record, Diagnostics& errors) const;
  /// What Read does before it fills a record: sets `where` ("Zeile 4") and
  /// answers whether the row is a payment.
  bool Accept(const CsvRow& row, std::string& where, Diagnostics& errors) const;
  /// The column of a field, or npos when the header has none.
  std::size_t ColumnOf(std::string_view field) const;
  /// The trimmed text of a row's cell in `column` (from ColumnOf); empty where
  /// the row has none. For a reader of one kind of payment that reads the
  /// cells it needs straight from the row.
  static std::string_view CellAt(const CsvRow& row, std::size_t column) {
    return column < row.cells.size() ? TrimmedView(row.cells[column]) : std::string_view();
  }
  /// Hands `take` each purpose line of an accepted row, trimmed, blank ones left out.
  template <class Take>
  void ForEachPurposeLine(const CsvRow& row, Take&& take) const;

 private:
  std::size_t fWidth = 0;
  std::vector<std::string> fFieldOf;         // per column: its field, or empty
  std::vector<std::size_t> fPurposeColumns;  // in line order
  bool fUsable = false;
};

/// A row CsvRecordReader::Accept took as a payment: a reader of one kind of
/// payment fills it straight from the cells, without a record in between.
struct ZORDTA_API CsvRecordRow {
  const CsvRow& row;
  const CsvRecordReader& reader;
  const std::string& where;
};

template <class Take>
ZORDTA_API void CsvRecordReader::ForEachPurposeLine(const CsvRow& row, Take&& take) const {
  for (const std::size_t column : fPurposeColumns) {
    const std::string_view cell = row.cells[column];
    if (row.oneLine) {
      const std::string_view line = TrimmedView(cell);
      if (!line.empty()) take(line);
      continue;
    }
    // A cell with line breaks holds several purpose lines.
    for (std::size_t at = 0; at <= cell.size();) {
      const std::size_t end = std::min(cell.find('\n', at), cell.size());
      std::string_view line = TrimmedView(cell.substr(at, end - at));
      if (!line.empty() && line.back() == '\r') line = TrimmedView(line.substr(0, line.size() - 1));
      if (!line.empty()) take(line);
      at = end + 1;
    }
  }
}

}  // namespace zor::entry
