// ValidateIBAN on arbitrary bytes: the verdict of the plain nine-digit-piece
// model, in both reporting modes, and the same verdict for small letters.
#include <cstddef>
#include <cstdint>
#include <string>

#include "reference/ReferenceModels.h"
#include "zordta/ZorDTAZV.h"
#include "zordta/host/Dialogs.h"
#include "zordta/host/Exception.h"

namespace {

using zorfuzz::Check;

bool RaisingVerdict(const std::string& iban) {
  zor::TZorDTAZV dta(nullptr);
  try {
    return dta.ValidateIBAN(iban);
  } catch (const zor::Exception&) {
    return false;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool silenced = [] {
    zor::SetMessageBoxHandler([](const zor::String&, const zor::String&) {});
    return true;
  }();
  (void)silenced;
  const std::string iban(reinterpret_cast<const char*>(data), size);
  const bool expected = zorfuzz::ModelIbanValid(iban);

  zor::TZorDTAZV dta(nullptr);
  dta.SetShowWarnings(true);
  Check(dta.ValidateIBAN(iban) == expected);
  Check(RaisingVerdict(iban) == expected);

  std::string lower = iban;
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  Check(dta.ValidateIBAN(lower) == expected);
  return 0;
}
