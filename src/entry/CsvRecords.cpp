#include "zordta/entry/CsvRecords.h"

#include <charconv>
#include <optional>
#include <set>
#include "core/MessageFill.h"
#include "entry/RowMessages.h"

namespace zor::entry {

using zor::detail::Fill;
namespace {

bool IsBlankRow(const CsvRow& row) {
  return std::all_of(row.cells.begin(), row.cells.end(),
                     [](std::string_view cell) { return TrimmedView(cell).empty(); });
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

bool IsPurposeColumn(std::string_view header) {
  return PurposeIndex(NormalizeHeader(header)).has_value();
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
  const std::string headerWhere = Fill(_MsgRowLine, {std::to_string(header.line)});
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
        errors.Add(headerWhere, shown, _MsgRowColumnTwice);
      }
      fFieldOf[i] = field;
    } else if (const std::optional<int> index = PurposeIndex(name)) {
      if (!purposeColumns.emplace(*index, i).second) {
        errors.Add(headerWhere, shown, _MsgRowColumnTwice);
      }
    } else {
      errors.Add(headerWhere, shown.empty() ? "(leer)" : shown,
                 Fill(_MsgRowUnknownColumn, {KnownColumns(columns)}));
    }
  }
  for (const std::string& required : columns.required) {
    if (!seen.count(required)) {
      errors.Add(headerWhere, "", Fill(_MsgRowNoColumn, {required}));
    }
  }
  for (const auto& [index, column] : purposeColumns) fPurposeColumns.push_back(column);
  fUsable = errors.Count() == before;
}

bool CsvRecordReader::Accept(const CsvRow& row, std::string& where, Diagnostics& errors) const {
  if (!fUsable || IsBlankRow(row)) return false;
  // Into the caller's storage, whose "Zeile " stays from row to row: no text
  // is made anew for each row.
  constexpr std::string_view kLine = "Zeile ";
  char number[16];
  const std::to_chars_result written = std::to_chars(number, number + sizeof number, row.line);
  if (!std::string_view(where).starts_with(kLine)) where.assign(kLine);
  where.resize(kLine.size());
  where.append(number, written.ptr);
  if (row.cells.size() != fWidth) {
    errors.Add(where, "",
               Fill(row.cells.size() == 1 ? _MsgRowWidthOne : _MsgRowWidth,
                    {std::to_string(row.cells.size()), std::to_string(fWidth)}));
    return false;
  }
  return true;
}

std::size_t CsvRecordReader::ColumnOf(std::string_view field) const {
  const auto column = std::find(fFieldOf.begin(), fFieldOf.end(), field);
  return column == fFieldOf.end() ? std::string_view::npos
                                  : static_cast<std::size_t>(column - fFieldOf.begin());
}

bool CsvRecordReader::Read(const CsvRow& row, InputRecord& record, Diagnostics& errors) const {
  record.Clear();
  if (!Accept(row, record.where, errors)) return false;
  for (std::size_t i = 0; i < row.cells.size(); ++i) {
    if (!fFieldOf[i].empty()) record.Set(fFieldOf[i], row.cells[i]);
  }
  ForEachPurposeLine(row, [&record](std::string_view line) { record.AddPurpose(line); });
  return true;
}

}  // namespace zor::entry
