// Feeds arbitrary bytes to the conversion from DTAZV to pain.001.001.09.
// Whatever the input, it must end with an outcome or zor::DtazvReadError,
// without a crash, a leak or a hang; a fault leaves every document unwritten,
// and a written one holds each payment the reader handed over once.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>

#include "zordta/DtazvToSepa.h"
#include "zordta/host/SysUtils.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t count = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
    ++count;
  }
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool pinned = [] {
    zor::SetClock([] { return zor::EncodeDate(2026, 12, 1) + 0.5; });
    return true;
  }();
  (void)pinned;
  const std::string content(reinterpret_cast<const char*>(data), size);
  zor::DtazvToSepaSettings settings;
  settings.clientIban = "DE89370400440532013000";
  settings.clientBic = "COBADEFFXXX";
  settings.today = std::chrono::year_month_day(std::chrono::year(2026), std::chrono::month(12),
                                               std::chrono::day(1));
  std::istringstream in(content);
  std::map<zor::DtazvDocumentKind, std::ostringstream> outs;
  try {
    const zor::DtazvToSepaOutcome outcome = zor::ConvertDtazvToSepa(
        in, settings, nullptr,
        [&](zor::DtazvDocumentKind kind) -> std::ostream& { return outs[kind]; });
    Check(outcome.written == (outcome.faults == 0));
    std::size_t written = 0, meant = 0;
    for (const auto& [kind, out] : outs) {
      Check(outcome.written);
      written += Count(out.str(), "<CdtTrfTxInf>");
    }
    for (const zor::DtazvToSepaDocument& d : outcome.documents) meant += d.payments;
    if (outcome.written) Check(written == meant);
  } catch (const zor::DtazvReadError&) {
    Check(outs.empty());
  }
  return 0;
}
