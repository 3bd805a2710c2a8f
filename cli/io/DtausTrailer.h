// The control figures of a DTAUS file as its E record states them, read from the
// bytes themselves, so a file can be checked against the payments it holds.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "zordta/Limits.h"

namespace zcli {

struct ControlSums {
  std::int64_t count = 0;
  std::int64_t konto = 0;
  std::int64_t blz = 0;
  std::int64_t cent = 0;
};

/// Length of the E record, the last record of a file.
constexpr std::size_t kTrailerLength = zor::limits::dtaus::kPartLength;

/// The E record is the last part of a file: its count, account sum, bank-code
/// sum and amount sum in cents. Answers nothing and sets error when the bytes
/// hold no readable E record.
std::optional<ControlSums> ReadTrailer(std::string_view bytes, std::string& error);

/// One German sentence per figure that differs; empty when all agree.
std::vector<std::string> CompareSums(const ControlSums& stated, const ControlSums& counted);

/// True when the A record carries an execution date (the field is not blank).
bool HasExecutionDate(std::string_view bytes);

}  // namespace zcli
