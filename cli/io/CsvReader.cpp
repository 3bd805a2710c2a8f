#include "io/CsvReader.h"

#include <csv.h>

#include <algorithm>
#include <charconv>
#include <optional>
#include <set>

#include "io/ByteScan.h"
#include "io/CsvPlainLine.h"
#include "io/CsvTextCheck.h"
#include "io/EntryNames.h"
#include "zordta/entry/Utf8Check.h"
#include "zordta/entry/Values.h"
#include "zordta/host/Text.h"

namespace zcli {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// LF, CR LF and a CR alone each end a line, as editors show them; libcsv ends
// a row at each of them too, outside quotes.
int LineBreaks(std::string_view text) {
  int breaks = 0;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (text[at] == '\n' || (text[at] == '\r' && (at + 1 == text.size() || text[at + 1] != '\n'))) {
      ++breaks;
    }
  }
  return breaks;
}

// `line` up to its first line end, when that is a CR alone.
std::string_view UpToLoneCarriageReturn(std::string_view line) {
  for (std::size_t at = line.find('\r'); at != std::string_view::npos;
       at = line.find('\r', at + 1)) {
    if (at + 1 < line.size() && line[at + 1] != '\n') return line.substr(0, at + 1);
  }
  return line;
}

}  // namespace

char GuessDelimiter(std::string_view text) {
  const std::string_view header = text.substr(0, text.find_first_of("\r\n"));
  if (header.find(',') != std::string_view::npos) return ',';
  if (header.find(';') != std::string_view::npos) return ';';
  if (header.find('\t') != std::string_view::npos) return '\t';
  return ',';
}

std::string_view WithoutByteOrderMark(std::string_view text) {
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  return text;
}

namespace {

// zor::FindMalformedUtf8, passing plain ASCII and the umlauts without decoding,
// and in the same pass the facts: a CSV file is read through once for this alone.
std::size_t FindMalformedUtf8(std::string_view text, CsvTextFacts& facts) {
  for (std::size_t at = bytescan::SkipPrintable(text, 0); at < text.size();
       at = bytescan::SkipPrintable(text, at)) {
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte == '\n') {
      ++facts.lineBreaks;  // every control byte is marked, so none is passed by
      ++at;
    } else if (byte == '\r' && (at + 1 == text.size() || text[at + 1] != '\n')) {
      ++facts.lineBreaks;  // old Mac programs end their lines so
      ++at;
    } else if (byte < 0x80) {
      // A tab, even where it is the delimiter: only the cells can tell.
      const bool control = (byte < 0x20 && byte != '\r') || byte == 0x7F;
      facts.plainChars = facts.plainChars && !control;
      ++at;
    } else if (Latin1LetterAt(text, at) != 0) {
      at += 2;
    } else {
      char32_t codePoint = 0;
      const std::size_t length = zor::DecodeUtf8(text, at, codePoint);
      if (length == 0) return at;
      facts.plainChars =
          facts.plainChars && !IsControlChar(codePoint) && zor::InWindows1252(codePoint);
      at += length;
    }
  }
  return std::string_view::npos;
}

}  // namespace

bool CheckCsvUtf8(std::string_view lines, int firstLine, Diagnostics& errors, CsvTextFacts& facts) {
  const int breaksBefore = facts.lineBreaks;
  const std::size_t malformed = FindMalformedUtf8(lines, facts);
  if (malformed == std::string_view::npos) return true;
  const std::string_view before = lines.substr(0, malformed);
  const std::size_t lastBreak = before.find_last_of("\r\n");
  const std::size_t from = lastBreak == std::string_view::npos ? 0 : lastBreak + 1;
  const int line = firstLine + (facts.lineBreaks - breaksBefore);  // counted up to the fault
  errors.Add("Zeile " + std::to_string(line), "",
             "Spalte " + std::to_string(CharCount(before.substr(from)) + 1) +
                 ": kein gültiges UTF-8 (die Datei muss UTF-8 sein).");
  return false;
}

bool CheckCsvUtf8(std::string_view lines, int firstLine, Diagnostics& errors) {
  CsvTextFacts facts;
  return CheckCsvUtf8(lines, firstLine, errors, facts);
}

bool ReadCsvRows(std::string_view text, char delimiter, Diagnostics& errors,
                 const std::function<bool(const CsvRow&)>& take, CsvReading reading) {
  text = WithoutByteOrderMark(text);
  CsvTextFacts facts;
  if (!CheckCsvUtf8(text, 1, errors, facts)) return false;
  if (reading == CsvReading::First && facts.plainChars) reading = CsvReading::FirstOfPlainChars;
  CsvRowStream rows(delimiter, errors, take, reading);
  return rows.Feed(text) && rows.Finish();
}

struct CsvRowStream::State {
  csv_parser parser{};
  char delimiter = ',';
  CsvReading reading = CsvReading::First;
  CsvSplitting splitting = CsvSplitting::PlainLinesInPlace;
  Diagnostics& errors;
  const std::function<bool(const CsvRow&)>& take;
  CsvRow row;  // reused, so that a long text allocates little
  // The cells libcsv handed over for the current row, one after the other.
  std::string cellText;
  std::vector<std::size_t> cellEnds;
  int lineBreaksInRow = 0;          // inside quoted cells of the current row
  std::vector<std::string> header;  // the first row's cells, for messages
  int headerLastLine = 0;
  bool headerSeen = false;
  bool stopped = false;
  int line = 0;  // the physical line being read
  // libcsv is between rows: its last line ended, and outside quotes. Only then
  // may a line be split without it.
  bool libcsvBetweenRows = true;
  bool libcsvInQuotes = false;
  // The text waits here for its check until the header row is complete.
  std::string unchecked;
  std::optional<CsvCharCheck> check;
  // Kept apart and added at the end, after the rows' faults, as over a whole text.
  Diagnostics charFaults;
  bool broken = false;

  State(char d, CsvReading r, CsvSplitting s, Diagnostics& e,
        const std::function<bool(const CsvRow&)>& t)
      : delimiter(d), reading(r), splitting(s), errors(e), take(t), charFaults(e.EmptyLike()) {}

  // `row` holds the cells of a row that starts on `rowLine`.
  void TakeRow(int rowLine) {
    row.line = rowLine;
    if (!headerSeen) {
      header.assign(row.cells.begin(), row.cells.end());
      headerLastLine = line;
      headerSeen = true;
    }
    if (!stopped && !take(row)) stopped = true;
  }

  static void OnCell(void* data, std::size_t size, void* user) {
    auto* s = static_cast<State*>(user);
    const std::string_view cell(data ? static_cast<const char*>(data) : "", data ? size : 0);
    s->cellText += cell;
    s->cellEnds.push_back(s->cellText.size());
    s->lineBreaksInRow += LineBreaks(cell);
  }

  static void OnRow(int, void* user) {
    auto* s = static_cast<State*>(user);
    s->row.oneLine = false;
    s->row.cells.clear();
    std::size_t from = 0;
    for (const std::size_t end : s->cellEnds) {
      s->row.cells.emplace_back(s->cellText.data() + from, end - from);
      from = end;
    }
    s->TakeRow(s->line - s->lineBreaksInRow);
    s->cellText.clear();
    s->cellEnds.clear();
    s->lineBreaksInRow = 0;
  }

  // One line through libcsv; false when its quoting is broken.
  bool ParseWithLibcsv(std::string_view piece) {
    if (csv_parse(&parser, piece.data(), piece.size(), OnCell, OnRow, this) != piece.size()) {
      return false;
    }
    // With strict parsing a quote opens or closes a quoted cell, or is one of
    // the two that stand for one inside it.
    for (const char c : piece) libcsvInQuotes = libcsvInQuotes != (c == '"');
    libcsvBetweenRows = !libcsvInQuotes && (piece.ends_with('\n') || piece.ends_with('\r'));
    return true;
  }

  CsvCharCheck MakeCheck() const {
    CsvColumnRules rules;
    rules.names = header;
    rules.headerLastLine = headerLastLine;
    for (const std::string& name : header) {
      rules.multiLine.push_back(IsPurposeColumn(name));
    }
    return CsvCharCheck(delimiter, rules);
  }

  // `plain`: the line was split by SplitPlainCsvLine into row.cells.
  void Check(std::string_view lines, bool plain, bool atEnd) {
    if (reading == CsvReading::Again) return;
    if (!check && (headerSeen || atEnd)) {
      check.emplace(MakeCheck());
      check->Scan(unchecked, charFaults);
      unchecked = std::string();
    }
    if (!check) {
      unchecked += lines;
    } else if (plain && reading == CsvReading::FirstOfPlainChars) {
      check->PassPlainLine(lines);
    } else if (plain) {
      check->ScanPlainLine(lines, row.cells, charFaults);
    } else {
      check->Scan(lines, charFaults);
    }
  }
};

CsvRowStream::CsvRowStream(char delimiter, Diagnostics& errors,
                           const std::function<bool(const CsvRow&)>& take, CsvReading reading,
                           CsvSplitting splitting)
    : fState(std::make_unique<State>(delimiter, reading, splitting, errors, take)) {
  csv_init(&fState->parser, CSV_STRICT | CSV_STRICT_FINI | CSV_APPEND_NULL);
  csv_set_delim(&fState->parser, static_cast<unsigned char>(delimiter));
}

CsvRowStream::~CsvRowStream() {
  csv_free(&fState->parser);
}

bool CsvRowStream::Feed(std::string_view text) {
  State& s = *fState;
  if (s.broken) return false;
  // A line at a time, so every row knows the line it ends on.
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = std::min(text.find('\n', at), text.size() - 1) + 1;
    std::string_view piece = text.substr(at, end - at);
    ++s.line;
    bool plain = false;
    if (!s.stopped) {
      plain = s.libcsvBetweenRows && s.splitting == CsvSplitting::PlainLinesInPlace &&
              SplitPlainCsvLine(piece, s.delimiter, s.row.cells);
    }
    // A plain line holds no CR but at its end.
    if (!plain) piece = UpToLoneCarriageReturn(piece);
    at += piece.size();
    if (!s.stopped) {
      if (plain) {
        s.row.oneLine = true;
        s.TakeRow(s.line);
      } else if (!s.ParseWithLibcsv(piece)) {
        s.errors.Add(
            "Zeile " + std::to_string(s.line), "",
            "CSV nicht lesbar: ein Anführungszeichen steht an falscher Stelle "
            "(Felder mit Anführungszeichen ganz einschließen, \"\" für ein Anführungszeichen).");
        s.broken = true;
        return false;
      }
    }
    // Also when the rows were not wanted any more: their other faults are worth hearing.
    s.Check(piece, plain, false);
  }
  return true;
}

bool CsvRowStream::Finish() {
  State& s = *fState;
  if (s.broken) return false;
  if (!s.stopped && csv_fini(&s.parser, State::OnCell, State::OnRow, &s) != 0) {
    // The open field starts after the last whole row (line 0 before any).
    s.errors.Add("Zeile " + std::to_string(s.row.line + 1), "",
                 "CSV nicht lesbar: ein Feld in Anführungszeichen wird nicht geschlossen.");
    s.broken = true;
    return false;
  }
  s.Check({}, false, true);
  s.errors.Append(std::move(s.charFaults));
  return true;
}

}  // namespace zcli
