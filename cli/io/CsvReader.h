// Payment tables in CSV (RFC 4180, UTF-8, header row). The parsing itself is
// libcsv's, but for plain lines, split in place as libcsv would split them
// (CsvPlainLine.h); this adds what a person fixing the file needs: line numbers
// for every row and line and column for every character Windows-1252 lacks.
#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "io/Diagnostics.h"
#include "io/InputRecord.h"
#include "io/Values.h"

namespace zcli {

struct CsvRow {
  int line = 0;  ///< physical line the row starts on (1-based)
  /// Valid while the row is being taken: they view the text or the parser's copy.
  std::vector<std::string_view> cells;
  /// The row was split from one line in place: no cell holds a line break.
  bool oneLine = false;
};

/// The delimiter of the header line: ";" or a tab when the line has one and no
/// comma, else ",".
char GuessDelimiter(std::string_view text);

/// The text without a UTF-8 byte order mark at its start.
std::string_view WithoutByteOrderMark(std::string_view text);

/// Reports the first byte of `lines` that is no well-formed UTF-8, placed as
/// in a text whose first line is `firstLine`; answers false then.
bool CheckCsvUtf8(std::string_view lines, int firstLine, Diagnostics& errors);
/// What CheckCsvUtf8 finds in well-formed text on the way.
struct CsvTextFacts {
  /// Nothing but line breaks and characters of Windows-1252 that are no
  /// control characters: no line SplitPlainCsvLine splits has one to report.
  bool plainChars = true;
  /// LF, CR LF and a CR alone each end a line.
  int lineBreaks = 0;
};
/// The same, and `facts` of well-formed text.
bool CheckCsvUtf8(std::string_view lines, int firstLine, Diagnostics& errors, CsvTextFacts& facts);

/// A text read again after a reading that found no fault in it, and the same
/// text (a file says when it is not), has no characters to report: they are not
/// checked once more. A first reading of a text of plain characters
/// (CheckCsvUtf8) checks only the lines libcsv splits.
enum class CsvReading { First, FirstOfPlainChars, Again };

/// Hands the rows of a text to `take` one at a time, the header first (a UTF-8
/// byte order mark is skipped). The row passed is reused for the next one.
/// `take` answers false to stop reading. Malformed UTF-8, broken quoting and
/// characters Windows-1252 lacks are reported. Answers false when the text
/// turned out unreadable (malformed UTF-8, broken quoting): the rows handed out
/// before are then not to be trusted.
bool ReadCsvRows(std::string_view text, char delimiter, Diagnostics& errors,
                 const std::function<bool(const CsvRow&)>& take,
                 CsvReading reading = CsvReading::First);

/// How CsvRowStream splits rows. A line of plain cells (SplitPlainCsvLine) is
/// split in place and everything else by libcsv; tests hold the two to the
/// same rows with LibcsvOnly.
enum class CsvSplitting { PlainLinesInPlace, LibcsvOnly };

/// ReadCsvRows for a text handed over in pieces of whole lines (only the last
/// piece may end without a line break), so that it is never held whole: the
/// rows, their lines and the messages are those of ReadCsvRows over the whole
/// text. The pieces are well-formed UTF-8 without a byte order mark; checking
/// that is the caller's (CheckCsvUtf8).
class CsvRowStream {
 public:
  CsvRowStream(char delimiter, Diagnostics& errors, const std::function<bool(const CsvRow&)>& take,
               CsvReading reading = CsvReading::First,
               CsvSplitting splitting = CsvSplitting::PlainLinesInPlace);
  ~CsvRowStream();
  CsvRowStream(const CsvRowStream&) = delete;
  CsvRowStream& operator=(const CsvRowStream&) = delete;

  /// The next piece. Answers false once the text turned out unreadable; what
  /// follows is then not read.
  bool Feed(std::string_view lines);
  /// After the last piece; answers false when the text turned out unreadable.
  bool Finish();

 private:
  struct State;
  std::unique_ptr<State> fState;
};

/// The header vocabulary of one payment kind.
struct CsvColumns {
  /// Normalized header (lower case, no blanks, "_" or "-", umlauts spelled out) -> field.
  std::map<std::string, std::string> names;
  std::vector<std::string> required;
};

/// Header cells as compared with CsvColumns::names: "Straße" -> "strasse".
std::string NormalizeHeader(std::string_view header);

/// Turns rows into records after the header row named their columns. Purpose
/// lines come from the columns "verwendungszweck", "verwendungszweck1" ... (or
/// "vwz1" ...), in number order.
class CsvRecordReader {
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
struct CsvRecordRow {
  const CsvRow& row;
  const CsvRecordReader& reader;
  const std::string& where;
};

template <class Take>
void CsvRecordReader::ForEachPurposeLine(const CsvRow& row, Take&& take) const {
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

}  // namespace zcli
