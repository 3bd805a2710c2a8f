// Feeds arbitrary bytes to the checked reader, strict and tolerant. Whatever the
// input, it must end with its payments or with zor::DtausReadError, without a
// crash, a leak or a hang. What the strict reading accepts of one logical file
// must be what the importer reads too: the checks may refuse, never change.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "zordta/DtausReader.h"
#include "zordta/ZorDTA.h"
#include "zordta/host/Text.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

struct Payment {
  std::string name;
  std::int64_t konto = 0, blz = 0, cent = 0;
  std::vector<std::string> lines;  // UTF-8, blank lines left out, leading blanks trimmed
  bool operator==(const Payment&) const = default;
};

std::string LeftTrimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : text.substr(first);
}

struct Reading {
  bool read = false;
  std::size_t logicalFiles = 0;
  bool euro = true;
  std::vector<Payment> payments;
};

Reading ReadChecked(const std::string& content, bool tolerant) {
  std::istringstream in(content);
  zor::DtausReader reader(in, {.checkSums = true, .tolerant = tolerant});
  Reading reading;
  try {
    for (auto item = reader.Next(); item != zor::DtausReader::Item::End; item = reader.Next()) {
      if (item == zor::DtausReader::Item::Header) {
        ++reading.logicalFiles;
        reading.euro = reading.euro && reader.Header().waehrung == zor::DtausCurrency::Euro;
      }
      if (item != zor::DtausReader::Item::Payment) continue;
      const zor::DtausPayment& p = reader.Payment();
      Check(p.zahlungsschluessel.size() == 5);
      Check(p.verwendungszweck.size() <= 16);
      Payment payment{LeftTrimmed(p.name), p.konto, p.blz, p.betrag, {}};
      for (const std::string& line : p.verwendungszweck) {
        if (!LeftTrimmed(line).empty()) payment.lines.push_back(LeftTrimmed(line));
      }
      reading.payments.push_back(payment);
    }
    Check(reader.Next() == zor::DtausReader::Item::End);
    reading.read = true;
  } catch (const zor::DtausReadError& e) {
    Check(e.Place().offset <= content.size());
  }
  return reading;
}

std::vector<Payment> Imported(const std::string& content) {
  std::vector<Payment> payments;
  zor::TZorDTA dta(nullptr);
  dta.SetOnDTAImport([&payments](const zor::AnsiString& name, std::int64_t konto, std::int64_t blz,
                                 double betrag, zor::TStrings& vwz, bool, const zor::AnsiString&) {
    Payment p{zor::AnsiToUtf8(name), konto, blz, std::llround(betrag * 100), {}};
    for (int i = 0; i < vwz.Count(); ++i) p.lines.push_back(zor::StringToUtf8(vwz.Strings(i)));
    payments.push_back(p);
  });
  dta.ImportFromString(content);  // raises for a file the checked reader took: a finding
  return payments;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool pinned = [] {
    zor::SetClock([] { return zor::EncodeDate(2026, 12, 8) + 0.5; });
    return true;
  }();
  (void)pinned;
  const std::string content(reinterpret_cast<const char*>(data), size);
  const Reading strict = ReadChecked(content, false);
  const Reading tolerant = ReadChecked(content, true);
  if (!strict.read) return 0;
  // Tolerance only adds what it can read.
  Check(tolerant.read && tolerant.payments == strict.payments);
  // The importer reads the first logical file, knows Euro amounts only and
  // refuses a file without payments.
  if (strict.logicalFiles == 1 && strict.euro && !strict.payments.empty()) {
    Check(Imported(content) == strict.payments);
  }
  return 0;
}
