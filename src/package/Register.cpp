// The units' registration procedures: one RegisterComponents call each, one class
// per call. TZorBaseDTA stays off the palette; it is only the common base.
#include "zordta/ZorDTA.h"
#include "zordta/ZorDTAZV.h"
#include "zordta/host/Registration.h"
#include "zordta/host/Text.h"

namespace zor {
namespace {

constexpr const char* kPalettePage = "ZOR Software";

}  // namespace

void ZorDTA::Register() {
  RegisterComponents(StringFromUtf8(kPalettePage), {ComponentClass<TZorDTA>("TZorDTA")});
}

void ZorDTAZV::Register() {
  RegisterComponents(StringFromUtf8(kPalettePage), {ComponentClass<TZorDTAZV>("TZorDTAZV")});
}

}  // namespace zor
