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

#include "io/EntryNames.h"
#include "zordta/entry/CsvRecords.h"
#include "zordta/entry/Diagnostics.h"
#include "zordta/entry/InputRecord.h"
#include "zordta/entry/Values.h"

namespace zcli {

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

}  // namespace zcli
