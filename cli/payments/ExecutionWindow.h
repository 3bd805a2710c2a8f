// The execution dates both kinds of file accept.
#pragma once

#include <string>

#include "zordta/host/Types.h"

namespace zcli {

/// Empty when the date lies between today and today + 15 days, the window both
/// file kinds accept for execution; else the message that says so.
std::string ExecutionDateProblem(zor::TDate date);

}  // namespace zcli
