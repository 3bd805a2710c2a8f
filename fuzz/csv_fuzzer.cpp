// Feeds arbitrary bytes, as a CSV file would bring them, through the payment
// source of both kinds and on to their payment rows. Whatever the input,
// reading must end without a crash, a leak or a hang, every row must know a
// plausible line, and every value and purpose line handed on must be
// well-formed UTF-8 that Windows-1252 can hold, free of control characters,
// unless that was reported.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "commands/Commands.h"
#include "commands/PaymentSource.h"
#include "io/EntryNames.h"
#include "zordta/entry/Dtaus.h"
#include "zordta/entry/Dtazv.h"
#include "zordta/entry/Utf8Check.h"
#include "zordta/host/SysUtils.h"
#include "zordta/host/Text.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// A fault of the text itself (its encoding, quoting or characters), as opposed
// to one of its header or of a row's width.
bool IsTextFault(const zcli::Diagnostic& d) {
  return d.message.rfind("Spalte ", 0) == 0 || d.message.rfind("CSV nicht lesbar", 0) == 0;
}

void ReadAs(std::string_view text, const char* delimiterOption) {
  for (const zcli::CsvColumns* columns : {&zcli::DtausCsvColumns(), &zcli::DtazvCsvColumns()}) {
    const zcli::PaymentSource source =
        zcli::PaymentSource::FromCsvText("fuzz.csv", std::string(text), delimiterOption, *columns);
    zcli::Diagnostics errors;
    std::vector<zcli::InputRecord> records;
    int lastLine = 0;
    const zcli::PaymentSource::Pass pass = source.ForEach(
        [&](const zcli::InputRecord& record) {
          Check(record.where.rfind("Zeile ", 0) == 0);
          const int line = std::atoi(record.where.c_str() + 6);
          Check(line >= 2 && line > lastLine);
          lastLine = line;
          records.push_back(record);
        },
        errors);
    Check(pass.records == records.size());
    bool textClean = pass.complete;
    for (const zcli::Diagnostic& d : errors.Items()) textClean = textClean && !IsTextFault(d);

    zcli::Diagnostics rowErrors;
    zcli::DtausPayment domestic;
    zcli::DtazvPayment foreign;
    for (const zcli::InputRecord& record : records) {
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
  ReadAs(text, "");  // the delimiter found from the header, as without --delimiter
  ReadAs(text, ";");
  return 0;
}
