// Feeds arbitrary bytes to the checked DTAZV reader, strict and tolerant.
// Whatever the input, it must end with End or zor::DtazvReadError, without a
// crash, a leak or a hang. What it accepts must add up to its Z record, and
// tolerance may only add what it can read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "zordta/DtazvReader.h"
#include "zordta/host/SysUtils.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

struct Reading {
  bool read = false;
  std::vector<zor::DtazvPayment> payments;
};

Reading ReadAll(const std::string& content, bool tolerant) {
  std::istringstream in(content);
  zor::DtazvReader reader(in, {.tolerant = tolerant});
  Reading reading;
  std::int64_t units = 0, reportsDue = 0;
  bool trailer = false;
  try {
    for (auto item = reader.Next(); item != zor::DtazvReader::Item::End; item = reader.Next()) {
      Check(!trailer);
      if (item == zor::DtazvReader::Item::Payment) {
        const zor::DtazvPayment& p = reader.Payment();
        Check(reportsDue == 0);
        Check(p.betrag >= 0 && p.betrag < 10'000'000'000'000'000);
        Check(p.waehrung.size() == 3 && p.kontoWaehrung.size() == 3);
        units += p.BetragVorKomma();
        reportsDue = p.anzahlMeldungen;
        reading.payments.push_back(p);
      }
      if (item == zor::DtazvReader::Item::Report) {
        Check(reportsDue-- > 0);
        Check(reader.Report().satzart == 'V' || reader.Report().satzart == 'W');
      }
      if (item == zor::DtazvReader::Item::Trailer) {
        const zor::DtazvTotals& stated = reader.Trailer().stated;
        Check(reportsDue == 0);
        Check(stated.summeVorKomma == units);
        Check(stated.anzahl == static_cast<std::int64_t>(reading.payments.size()));
        trailer = true;
      }
    }
    Check(trailer);
    Check(reader.Next() == zor::DtazvReader::Item::End);
    reading.read = true;
  } catch (const zor::DtazvReadError& e) {
    Check(e.Place().offset <= content.size());
  }
  return reading;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool pinned = [] {
    zor::SetClock([] { return zor::EncodeDate(2026, 12, 8) + 0.5; });
    return true;
  }();
  (void)pinned;
  const std::string content(reinterpret_cast<const char*>(data), size);
  const Reading strict = ReadAll(content, false);
  const Reading tolerant = ReadAll(content, true);
  if (strict.read) Check(tolerant.read && tolerant.payments == strict.payments);
  return 0;
}
