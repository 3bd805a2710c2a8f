// Feeds arbitrary bytes to the job-file loader and on through the checks of
// both payment kinds, which book into components that are never finished.
// Whatever the input, loading and checking must end without a crash, a leak or
// a hang; keys must come from the schema; text that passed must be text the
// payment file can hold, without control characters.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "io/EntryNames.h"
#include "io/JobFile.h"
#include "zordta/entry/Dtaus.h"
#include "zordta/entry/Dtazv.h"
#include "zordta/entry/Utf8Check.h"
#include "zordta/host/SysUtils.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// Checking books every payment; a few hundred show every path.
constexpr std::size_t kMaxCheckedPayments = 200;

std::string Key(const std::string& key) {
  return key;
}

void CheckLoaded(const zcli::Job& job, const zcli::JobSchema& schema, bool clean) {
  for (const auto& [key, value] : job.settings) {
    Check(schema.settings.count(key) == 1);
    if (clean) Check(zcli::FindUnwritableChars(value).empty());
  }
  for (const zcli::InputRecord& record : job.payments) {
    Check(record.where.rfind("Buchung ", 0) == 0);
    for (const auto& [field, value] : record.Values()) {
      Check(schema.paymentFields.count(field) == 1);
      if (clean) Check(zcli::FindUnwritableChars(value).empty());
    }
    for (const std::string& line : record.purpose) {
      if (clean) Check(zcli::FindUnwritableChars(line).empty());
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

  {
    zcli::Diagnostics errors;
    const zcli::Job job = zcli::LoadJob(text, zcli::DtausJobSchema(), errors);
    CheckLoaded(job, zcli::DtausJobSchema(), errors.Empty());
    zcli::DtausSettings settings;
    zcli::ApplyDtausSettings(job.settings, "Auftrag", Key, settings, errors);
    if (job.payments.size() <= kMaxCheckedPayments) {
      zcli::Diagnostics warnings;
      zcli::DtausRun run(settings, false, errors, warnings);
      for (const zcli::InputRecord& record : job.payments) run.Add(record);
    }
  }
  {
    zcli::Diagnostics errors;
    const zcli::Job job = zcli::LoadJob(text, zcli::DtazvJobSchema(), errors);
    CheckLoaded(job, zcli::DtazvJobSchema(), errors.Empty());
    zcli::DtazvSettings settings;
    zcli::ApplyDtazvSettings(job.settings, "Auftrag", Key, settings, errors);
    if (job.payments.size() <= kMaxCheckedPayments) {
      zcli::Diagnostics warnings;
      zcli::DtazvRun run(settings, false, errors, warnings);
      for (const zcli::InputRecord& record : job.payments) run.Add(record);
    }
  }
  return 0;
}
