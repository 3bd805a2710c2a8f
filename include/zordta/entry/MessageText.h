// Pieces of German messages about payments.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "zordta/Config.h"

namespace zor::entry {

/// „text“ with German quotes, its control characters by their code (zor::PrintableText).
ZORDTA_API std::string Quoted(std::string_view text);

/// A count with its noun in the right number: "1 Buchung", "2 Buchungen".
ZORDTA_API std::string Counted(std::size_t count, std::string_view one, std::string_view many);

/// "1.234,56" style is avoided on purpose: "1234,56".
ZORDTA_API std::string GermanAmount(std::int64_t cent);

}  // namespace zor::entry
