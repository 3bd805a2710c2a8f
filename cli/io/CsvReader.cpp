#include "io/CsvReader.h"

#include <csv.h>

#include <algorithm>
#include <optional>
#include <set>

#include "io/CsvTextCheck.h"
#include "io/Utf8Check.h"
#include "io/Values.h"
#include "zordta/host/Text.h"

namespace zcli {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

struct ParseState {
  const std::function<bool(const CsvRow&)>* take = nullptr;
  CsvRow row;  // reused: its first `cells` strings keep their storage
  std::size_t cellCount = 0;
  std::vector<std::string> header;  // the first row's cells, for messages
  int headerLastLine = 0;
  bool headerSeen = false;
  bool stopped = false;
  int line = 0;             // the physical line being fed
  int lineBreaksInRow = 0;  // inside quoted cells of the current row
};

void OnCell(void* data, std::size_t size, void* user) {
  auto* state = static_cast<ParseState*>(user);
  std::vector<std::string>& cells = state->row.cells;
  if (state->cellCount == cells.size()) cells.emplace_back();
  std::string& cell = cells[state->cellCount++];
  if (data) {
    cell.assign(static_cast<const char*>(data), size);
  } else {
    cell.clear();
  }
  state->lineBreaksInRow += static_cast<int>(std::count(cell.begin(), cell.end(), '\n'));
}

void OnRow(int, void* user) {
  auto* state = static_cast<ParseState*>(user);
  CsvRow& row = state->row;
  row.cells.resize(state->cellCount);
  row.line = state->line - state->lineBreaksInRow;
  if (!state->headerSeen) {
    state->header = row.cells;
    state->headerLastLine = state->line;
    state->headerSeen = true;
  }
  if (!state->stopped && !(*state->take)(row)) state->stopped = true;
  state->cellCount = 0;
  state->lineBreaksInRow = 0;
}

bool IsBlankRow(const CsvRow& row) {
  return std::all_of(row.cells.begin(), row.cells.end(),
                     [](const std::string& cell) { return Trimmed(cell).empty(); });
}

// The position of a purpose column: 0 for "verwendungszweck", n for "...n".
std::optional<int> PurposeIndex(const std::string& name) {
  for (const std::string_view prefix : {"verwendungszweck", "vwz"}) {
    if (name.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string_view rest = std::string_view(name).substr(prefix.size());
    if (rest.empty()) return 0;
    const std::optional<std::int64_t> number = ParseDigits(rest);
    if (number && *number >= 1 && *number <= 99) return static_cast<int>(*number);
  }
  return std::nullopt;
}

std::string KnownColumns(const CsvColumns& columns) {
  std::vector<std::string> fields;
  for (const auto& [name, field] : columns.names) {
    if (std::find(fields.begin(), fields.end(), field) == fields.end()) fields.push_back(field);
  }
  std::sort(fields.begin(), fields.end());
  std::string text;
  for (const std::string& field : fields) text += field + ", ";
  return text + "verwendungszweck1 ...";
}

}  // namespace

char GuessDelimiter(std::string_view text) {
  const std::string_view header = text.substr(0, text.find('\n'));
  if (header.find(',') != std::string_view::npos) return ',';
  if (header.find(';') != std::string_view::npos) return ';';
  if (header.find('\t') != std::string_view::npos) return '\t';
  return ',';
}

bool ReadCsvRows(std::string_view text, char delimiter, Diagnostics& errors,
                 const std::function<bool(const CsvRow&)>& take) {
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
    text.remove_prefix(kByteOrderMark.size());

  const std::size_t malformed = zor::FindMalformedUtf8(text);
  if (malformed != std::string_view::npos) {
    const std::string position = PositionText(std::string(text), malformed);
    errors.Add(position.substr(0, position.find(',')), "",
               position.substr(position.find(',') + 2) +
                   ": kein gültiges UTF-8 (die Datei muss UTF-8 sein).");
    return false;
  }

  csv_parser parser;
  csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI | CSV_APPEND_NULL);
  csv_set_delim(&parser, static_cast<unsigned char>(delimiter));
  ParseState state;
  state.take = &take;
  bool broken = false;
  // Fed a line at a time, so every row knows the line it ends on.
  for (std::size_t at = 0; at < text.size() && !broken && !state.stopped;) {
    const std::size_t end = std::min(text.find('\n', at), text.size() - 1) + 1;
    ++state.line;
    const std::string_view piece = text.substr(at, end - at);
    if (csv_parse(&parser, piece.data(), piece.size(), OnCell, OnRow, &state) != piece.size()) {
      errors.Add(
          "Zeile " + std::to_string(state.line), "",
          "CSV nicht lesbar: ein Anführungszeichen steht an falscher Stelle "
          "(Felder mit Anführungszeichen ganz einschließen, \"\" für ein Anführungszeichen).");
      broken = true;
    }
    at = end;
  }
  if (!broken && !state.stopped && csv_fini(&parser, OnCell, OnRow, &state) != 0) {
    // The open field starts after the last whole row (line 0 before any).
    errors.Add("Zeile " + std::to_string(state.row.line + 1), "",
               "CSV nicht lesbar: ein Feld in Anführungszeichen wird nicht geschlossen.");
    broken = true;
  }
  csv_free(&parser);
  if (broken) return false;

  // The rows stay: their other faults are worth hearing in the same run.
  CsvColumnRules rules;
  rules.names = state.header;
  rules.headerLastLine = state.headerLastLine;
  for (const std::string& name : state.header) {
    rules.multiLine.push_back(PurposeIndex(NormalizeHeader(name)).has_value());
  }
  ReportUnwritableCsvChars(text, delimiter, rules, errors);
  return true;
}

std::string NormalizeHeader(std::string_view header) {
  static const std::pair<std::string_view, std::string_view> kSpelled[] = {
      {"ä", "ae"}, {"ö", "oe"}, {"ü", "ue"}, {"Ä", "ae"}, {"Ö", "oe"}, {"Ü", "ue"}, {"ß", "ss"}};
  const std::string trimmed = Trimmed(header);
  std::string name;
  for (std::size_t at = 0; at < trimmed.size();) {
    bool spelled = false;
    for (const auto& [from, to] : kSpelled) {
      if (trimmed.compare(at, from.size(), from) == 0) {
        name += to;
        at += from.size();
        spelled = true;
        break;
      }
    }
    if (spelled) continue;
    char c = trimmed[at++];
    if (c == ' ' || c == '_' || c == '-' || c == '.') continue;
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    name += c;
  }
  return name;
}

CsvRecordReader::CsvRecordReader(const CsvRow& header, const CsvColumns& columns,
                                 Diagnostics& errors)
    : fWidth(header.cells.size()), fFieldOf(header.cells.size()) {
  const std::string headerWhere = "Zeile " + std::to_string(header.line);
  const std::size_t before = errors.Count();
  std::map<int, std::size_t> purposeColumns;
  std::set<std::string> seen;  // a header may be wide: no search along it per column
  for (std::size_t i = 0; i < header.cells.size(); ++i) {
    const std::string name = NormalizeHeader(header.cells[i]);
    const std::string shown = Trimmed(header.cells[i]);
    const auto known = columns.names.find(name);
    if (known != columns.names.end()) {
      const std::string& field = known->second;
      if (!seen.insert(field).second) {
        errors.Add(headerWhere, shown, "Die Spalte kommt zweimal vor.");
      }
      fFieldOf[i] = field;
    } else if (const std::optional<int> index = PurposeIndex(name)) {
      if (!purposeColumns.emplace(*index, i).second) {
        errors.Add(headerWhere, shown, "Die Spalte kommt zweimal vor.");
      }
    } else {
      errors.Add(headerWhere, shown.empty() ? "(leer)" : shown,
                 "Unbekannte Spalte; bekannt sind: " + KnownColumns(columns) + ".");
    }
  }
  for (const std::string& required : columns.required) {
    if (!seen.count(required)) {
      errors.Add(headerWhere, "", "Die Spalte „" + required + "“ fehlt.");
    }
  }
  for (const auto& [index, column] : purposeColumns) fPurposeColumns.push_back(column);
  fUsable = errors.Count() == before;
}

bool CsvRecordReader::Read(const CsvRow& row, InputRecord& record, Diagnostics& errors) const {
  record.Clear();
  if (!fUsable || IsBlankRow(row)) return false;
  record.where = "Zeile " + std::to_string(row.line);
  if (row.cells.size() != fWidth) {
    errors.Add(record.where, "",
               std::to_string(row.cells.size()) + (row.cells.size() == 1 ? " Feld" : " Felder") +
                   ", die Kopfzeile hat " + std::to_string(fWidth) + ".");
    return false;
  }
  for (std::size_t i = 0; i < row.cells.size(); ++i) {
    if (!fFieldOf[i].empty()) record.Set(fFieldOf[i], row.cells[i]);
  }
  for (const std::size_t column : fPurposeColumns) {
    // A cell with line breaks holds several purpose lines.
    const std::string_view cell = row.cells[column];
    for (std::size_t at = 0; at <= cell.size();) {
      const std::size_t end = std::min(cell.find('\n', at), cell.size());
      std::string_view line = TrimmedView(cell.substr(at, end - at));
      if (!line.empty() && line.back() == '\r') line = TrimmedView(line.substr(0, line.size() - 1));
      if (!line.empty()) record.purpose.emplace_back(line);
      at = end + 1;
    }
  }
  return true;
}

}  // namespace zcli
