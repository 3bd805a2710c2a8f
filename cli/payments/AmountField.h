// The amount of a payment record, read the same way for both kinds of file.
#pragma once

#include <cstdint>
#include <optional>

#include "io/Diagnostics.h"
#include "io/InputRecord.h"

namespace zcli {

/// The record's "betrag" in cents; a missing or unreadable amount is reported.
std::optional<std::int64_t> ReadAmount(const InputRecord& record, Diagnostics& errors);

}  // namespace zcli
