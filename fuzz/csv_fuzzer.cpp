// Feeds arbitrary bytes to the CSV reader and on to the payment rows of both
// kinds. Whatever the input, reading must end without a crash, a leak or a
// hang, every row must know a plausible line, and every value and purpose
// line handed on must be well-formed UTF-8 that Windows-1252 can hold, free
// of control characters, unless that was reported.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "io/CsvReader.h"
#include "io/Utf8Check.h"
#include "payments/Dtaus.h"
#include "payments/Dtazv.h"
#include "zordta/host/SysUtils.h"
#include "zordta/host/Text.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void ReadAs(std::string_view text, char delimiter) {
  zcli::Diagnostics errors;
  const zcli::CsvTable table = zcli::ParseCsv(text, delimiter, errors);
  int lastLine = 0;
  for (const zcli::CsvRow& row : table.rows) {
    Check(row.line >= 1 && row.line >= lastLine);
    lastLine = row.line;
  }
  const bool textClean = errors.Empty();

  for (const zcli::CsvColumns* columns : {&zcli::DtausCsvColumns(), &zcli::DtazvCsvColumns()}) {
    zcli::Diagnostics rowErrors;
    const std::vector<zcli::InputRecord> records = zcli::ToRecords(table, *columns, rowErrors);
    for (const zcli::InputRecord& record : records) {
      Check(record.where.rfind("Zeile ", 0) == 0);
      for (const auto& [field, value] : record.Values()) {
        Check(field.empty() || field[0] != '#');
        if (textClean) {
          Check(zor::FindMalformedUtf8(value) == std::string_view::npos);
          Check(zcli::FindUnwritableChars(value).empty());
        }
      }
      for (const std::string& line : record.purpose) {
        if (textClean) Check(zcli::FindUnwritableChars(line).empty());
      }
    }
    zcli::DtausPayment domestic;
    zcli::DtazvPayment foreign;
    for (const zcli::InputRecord& record : records) {
      if (columns == &zcli::DtausCsvColumns()) {
        zcli::ReadDtausPayment(record, domestic, rowErrors);
      } else {
        zcli::ReadDtazvPayment(record, foreign, rowErrors);
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool pinned = [] {
    zor::SetClock([] { return zor::EncodeDate(2026, 12, 8) + 0.5; });
    return true;
  }();
  (void)pinned;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  ReadAs(text, zcli::GuessDelimiter(text));
  ReadAs(text, ';');
  return 0;
}
