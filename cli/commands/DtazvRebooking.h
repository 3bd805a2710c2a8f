// A DTAZV file booked again into a component under the file's own name and
// folder, so that the component's cover sheet stands for the file: its client,
// its payments' count, sums and currencies, its first execution date.
#pragma once

#include <string>

#include "zordta/ZorDTAZV.h"

namespace zcli {

/// Reads the file once, with the checked reader, and books each payment into
/// `zv` as it comes. Answers false, having said why, for a file the reader
/// refuses or a payment the component refuses: no sheet may stand for it.
bool RebookDtazv(const std::string& path, zor::TZorDTAZV& zv);

}  // namespace zcli
