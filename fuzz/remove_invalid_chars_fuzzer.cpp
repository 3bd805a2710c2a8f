// Both writers' character filters on arbitrary bytes: each must equal its plain
// model byte for byte, keep only bytes of its repertoire and leave a cleaned
// text as it is (DTAZV, and DTAUS apart from the first kind's "[").
#include <cstddef>
#include <cstdint>
#include <string>

#include "reference/ReferenceModels.h"
#include "zordta/ZorDTAZV.h"
#include "zordta/host/Text.h"

using zorfuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);

  // The file name decides the DTAUS kind: "DTAUS0..." the first, any other the second.
  for (const bool firstKind : {true, false}) {
    zor::TZorDTA dta(nullptr);
    dta.SetDTAFilename(zor::StringFromUtf8(firstKind ? "DTAUS0.TXT" : "DTAUS1.TXT"));
    const std::string cleaned = dta.RemoveInvalidChars(text);
    Check(cleaned == zorfuzz::ModelDtausClean(text, firstKind));
    Check(cleaned.size() <= text.size());
    const std::string again = dta.RemoveInvalidChars(cleaned);
    if (!firstKind || cleaned.find('[') == std::string::npos) Check(again == cleaned);
  }

  zor::TZorDTAZV dtazv(nullptr);
  const std::string cleaned = dtazv.RemoveInvalidChars(text);
  Check(cleaned == zorfuzz::ModelDtazvClean(text));
  Check(cleaned.size() <= 2 * text.size());
  Check(dtazv.RemoveInvalidChars(cleaned) == cleaned);
  return 0;
}
