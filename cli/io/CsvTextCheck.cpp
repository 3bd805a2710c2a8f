#include "io/CsvTextCheck.h"

#include <cstdint>

#include "io/ByteScan.h"
#include "io/EntryNames.h"
#include "zordta/entry/TextPosition.h"
#include "zordta/entry/Utf8Check.h"
#include "zordta/entry/Values.h"
#include "zordta/host/Text.h"

namespace zcli {

namespace {

// True when a plain line holds no control character (its closing line break
// and the delimiter aside) and none that Windows-1252 lacks.
bool NothingToReport(std::string_view line, char delimiter,
                     const std::vector<std::string_view>& cells) {
  for (std::size_t at = bytescan::SkipPrintable(line, 0); at < line.size();
       at = bytescan::SkipPrintable(line, at + 1)) {
    const auto byte = static_cast<unsigned char>(line[at]);
    if ((byte >= 0x20 && byte < 0x7F) || byte == '\r' || byte == '\n') continue;
    if (byte == '\t' && delimiter == '\t') continue;  // only in a cell it is one (below)
    if (byte < 0x80) return false;
    if (Latin1LetterAt(line, at) != 0) {
      ++at;
      continue;
    }
    char32_t codePoint = 0;
    const std::size_t length = zor::DecodeUtf8(line, at, codePoint);
    if (length == 0 || IsControlChar(codePoint) || !zor::InWindows1252(codePoint)) return false;
    at += length - 1;
  }
  if (delimiter != '\t') return true;
  for (const std::string_view cell : cells) {
    if (cell.find('\t') != std::string_view::npos) return false;
  }
  return true;
}

}  // namespace

CsvCharCheck::CsvCharCheck(char delimiter, const CsvColumnRules& rules)
    : fDelimiter(delimiter), fRules(rules) {
  for (const std::string& name : fRules.names) fFields.push_back(Trimmed(name));
}

void CsvCharCheck::Scan(std::string_view text, Diagnostics& errors) {
  TextPosition position(text, fLine);
  std::size_t& cell = fCell;
  bool& quoted = fQuoted;
  // `problem` is made only for a fault that is kept: a file may have one in every row.
  const auto report = [&](std::size_t at, const auto& problem) {
    const auto line = static_cast<int>(position.Line());
    std::string where = "Zeile " + std::to_string(line);
    if (!errors.Keeps(where)) {
      errors.AddNotKept(where);
      return;
    }
    std::string field;
    if (line <= fRules.headerLastLine) {
      field = "Kopfzeile";
    } else if (cell < fFields.size()) {
      field = fFields[cell];
    }
    errors.Add(std::move(where), field,
               "Spalte " + std::to_string(position.ColumnOf(at)) + ": " + problem());
  };
  const auto breaksLines = [&] {
    return position.Line() > static_cast<std::size_t>(fRules.headerLastLine) &&
           cell < fRules.multiLine.size() && fRules.multiLine[cell];
  };

  for (std::size_t at = 0; at < text.size(); ++at) {
    const char c = text[at];
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"') {
      quoted = !quoted;  // a doubled quote toggles twice
    } else if (c == fDelimiter && !quoted) {
      ++cell;
    } else if (c == '\n' || (c == '\r' && at + 1 < text.size() && text[at + 1] == '\n')) {
      // CR LF is one break, reported once, at the CR.
      if (quoted && !breaksLines()) {
        report(at, [] {
          return UnwritableCharProblem('\n') + " Mehrere Zeilen nur im Verwendungszweck.";
        });
      }
      if (c == '\r') ++at;
      position.LineBreakAt(at);
      if (!quoted) cell = 0;
    } else if (c == '\r') {
      // A CR alone ends a line as editors show it. Outside quotes libcsv ends
      // the row there and no cell holds it; inside, the cell does.
      if (quoted) report(at, [byte] { return UnwritableCharProblem(byte); });
      position.LineBreakAt(at);
      if (!quoted) cell = 0;
    } else if (byte < 0x20 || byte == 0x7F) {
      report(at, [byte] { return UnwritableCharProblem(byte); });
    } else if (byte >= 0x80) {
      char32_t codePoint = 0;
      const std::size_t length = zor::DecodeUtf8(text, at, codePoint);
      if (length == 0) continue;  // the caller refuses malformed text first
      if (IsControlChar(codePoint) || !zor::InWindows1252(codePoint)) {
        report(at, [codePoint] { return UnwritableCharProblem(codePoint); });
      }
      at += length - 1;
    }
  }
  fLine = position.Line();
}

void CsvCharCheck::ScanPlainLine(std::string_view line, const std::vector<std::string_view>& cells,
                                 Diagnostics& errors) {
  if (!NothingToReport(line, fDelimiter, cells)) {
    Scan(line, errors);
    return;
  }
  PassPlainLine(line);
}

}  // namespace zcli
