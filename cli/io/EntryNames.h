// The tool reads its inputs into the library's entry layer (zor::entry) and
// speaks of its rows, records, findings and settings as its own.
#pragma once

namespace zor::entry {}

namespace zcli {
using namespace zor::entry;
}  // namespace zcli
