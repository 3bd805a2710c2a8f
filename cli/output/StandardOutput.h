// Standard output is checked like any file: a full disk or /dev/full is a
// fault that ends with a message, not a silent exit 0.
#pragma once

#include <string>

namespace zcli {

/// Flushes std::cout; on failure prints the reason once and answers false.
bool FlushStandardOutput();

/// Raises OutputError when std::cout failed (for long listings that should
/// stop at the first failed piece).
void CheckStandardOutput();

}  // namespace zcli
