// JSON scalars appended to a text exactly as nlohmann's dump (ensure_ascii
// off) writes them, without a json value per scalar: the listings write a few
// million of them for a large file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zcli {

/// The value in quotes, escaped as the dump escapes it: quote, backslash and
/// control characters; other characters stand as they are. Text that is not
/// well-formed UTF-8 is handed to nlohmann, which refuses it as it always did.
void AppendJsonString(std::string& text, std::string_view value);

/// hundredths / 100.0 as the dump writes that double: "4389.03", "12.5", "7.0".
void AppendJsonUnits(std::string& text, std::int64_t hundredths);

void AppendInteger(std::string& text, std::int64_t value);

}  // namespace zcli
