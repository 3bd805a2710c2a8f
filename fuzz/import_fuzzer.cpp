// Feeds arbitrary bytes to the DTAUS import, in both reporting modes. Whatever
// the input, the import must end (normally or with zor::Exception) without a
// crash, a leak or a hang, and every reported payment must be plausible.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "zordta/ZorDTA.h"
#include "zordta/host/Dialogs.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void ImportOnce(const std::string& content, bool showWarnings) {
  zor::TZorDTA dta(nullptr);
  dta.SetShowWarnings(showWarnings);
  dta.SetOnDTAImport([](const zor::AnsiString& name, std::int64_t, std::int64_t, double,
                        zor::TStrings& vwz, bool, const zor::AnsiString& key) {
    Check(name.size() <= 27);
    Check(vwz.Count() <= 16);  // line 1 and at most 15 extension slots
    Check(key.empty() || key.size() == 5);
  });
  dta.SetOnExtendedDTAImport(
      [](const zor::AnsiString&, const std::int64_t&, const std::int64_t&, const double&,
         const zor::AnsiString& clientName, const std::int64_t&, const std::int64_t&,
         zor::TStrings&, const bool&, const zor::AnsiString&) { Check(clientName.size() <= 27); });
  try {
    dta.ImportFromString(content);
  } catch (const zor::Exception&) {
    // The one way the import reports a bad file.
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool pinned = [] {
    zor::SetClock([] { return zor::EncodeDate(2026, 12, 8) + 0.5; });
    zor::SetMessageBoxHandler([](const zor::String&, const zor::String&) {});
    return true;
  }();
  (void)pinned;
  const std::string content(reinterpret_cast<const char*>(data), size);
  ImportOnce(content, false);
  ImportOnce(content, true);
  return 0;
}
