// The amount of a payment record, read the same way for both kinds of file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "zordta/entry/Diagnostics.h"
#include "zordta/entry/InputRecord.h"

namespace zor::entry {

/// The record's "betrag" in cents; a missing or unreadable amount is reported.
std::optional<std::int64_t> ReadAmount(const InputRecord& record, Diagnostics& errors);
/// The same for the trimmed text of a "betrag" found at `where`.
std::optional<std::int64_t> ReadAmount(std::string_view betrag, const std::string& where,
                                       Diagnostics& errors);

}  // namespace zor::entry
