// The execution dates both kinds of file accept.
#pragma once

#include "zordta/host/Types.h"

namespace zcli {

/// True when the date lies between today and today + 15 days, the window both
/// file kinds accept for execution.
bool InExecutionWindow(zor::TDate date);

}  // namespace zcli
