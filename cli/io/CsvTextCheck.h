// The characters of a CSV text that cannot become payment data as given:
// control characters and characters Windows-1252 lacks. Checked on the text
// itself, so every fault has the line and column a person finds it at.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "io/EntryNames.h"
#include "zordta/entry/Diagnostics.h"

namespace zcli {

struct CsvColumnRules {
  /// Header cell per column, to name the field.
  std::vector<std::string> names;
  /// Per column: whether a line break inside the cell separates lines (the
  /// purpose columns); elsewhere it is a fault.
  std::vector<bool> multiLine;
  /// The physical line the header row ends on; faults up to it are the header's.
  int headerLastLine = 1;
};

/// Reports each such character of well-formed UTF-8 text with its line, its
/// column and the header of its column. The CR of a CR LF and the delimiter
/// are no cell's content; a blank or a tab that libcsv would trim is. The text
/// may come in pieces of whole lines; each goes on where the last one ended.
class CsvCharCheck {
 public:
  CsvCharCheck(char delimiter, const CsvColumnRules& rules);
  void Scan(std::string_view lines, Diagnostics& errors);
  /// Scan for one line that SplitPlainCsvLine split into `cells`. Such a line
  /// is looked at once more only when one of its bytes may need a report.
  void ScanPlainLine(std::string_view line, const std::vector<std::string_view>& cells,
                     Diagnostics& errors);
  /// ScanPlainLine for a line known to have nothing to report.
  void PassPlainLine(std::string_view line) {
    // A plain line starts and ends outside quotes, in the first cell.
    if (line.ends_with('\n') || line.ends_with('\r')) ++fLine;
  }

 private:
  char fDelimiter;
  CsvColumnRules fRules;
  std::vector<std::string> fFields;  // trimmed once, not once per fault
  std::size_t fLine = 1;             // of the next piece's start
  std::size_t fCell = 0;
  bool fQuoted = false;
};

}  // namespace zcli
