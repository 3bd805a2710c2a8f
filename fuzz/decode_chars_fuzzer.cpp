// DecodeChars on arbitrary bytes: the model's result, the input's length, and
// a decoded text that needs no second decoding apart from the umlaut codes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "reference/ReferenceModels.h"
#include "zordta/ZorDTA.h"
#include "zordta/host/Text.h"

using zorfuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string decoded = zor::TZorDTA::DecodeChars(text);
  Check(decoded.size() == text.size());
  Check(decoded == zorfuzz::ModelDtausDecode(text));

  // What the writer cleaned for either kind decodes to the cleaned text's capitals
  // with the umlauts restored: no byte turns into one of the other kind's codes.
  for (const bool firstKind : {true, false}) {
    zor::TZorDTA dta(nullptr);
    dta.SetDTAFilename(zor::StringFromUtf8(firstKind ? "DTAUS0.TXT" : "DTAUS1.TXT"));
    const std::string roundTrip = zor::TZorDTA::DecodeChars(dta.RemoveInvalidChars(text));
    for (char c : roundTrip) {
      const auto b = static_cast<unsigned char>(c);
      Check(b != 0x5B && b != 0x5C && b != 0x5D && b != 0x7E && b != 0x8E && b != 0x99 &&
            b != 0x9A && b != 0xE1);
    }
  }
  return 0;
}
