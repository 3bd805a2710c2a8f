// Pieces of the tool's German messages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zcli {

/// „text“ with German quotes, its control characters by their code (zor::PrintableText).
std::string Quoted(std::string_view text);

/// A count with its noun in the right number: "1 Buchung", "2 Buchungen".
std::string Counted(std::size_t count, std::string_view one, std::string_view many);

/// "1.234,56" style is avoided on purpose: "1234,56".
std::string GermanAmount(std::int64_t cent);

}  // namespace zcli
