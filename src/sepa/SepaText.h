// Text and references as German banks take them in SEPA files.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "zordta/Sepa.h"

namespace zor::detail {

using SepaWarn = std::function<void(SepaWarning)>;

/// The message with its "{}" replaced by `value`.
std::string SepaFill(std::string_view message, std::string_view value);

[[noreturn]] void SepaRefuse(SepaFault fault, SepaPlace place, std::string text);

/// The text in the banks' character set, at most `maxChars` characters.
/// Transliterating and cutting warn, or with `strict` are refused; a character
/// with no counterpart is always refused.
std::string SepaText(std::string_view utf8, std::size_t maxChars, bool strict,
                     const SepaPlace& place, const SepaWarn& warn);

/// As SepaText, but an empty result is refused.
std::string SepaName(std::string_view utf8, bool strict, const SepaPlace& place,
                     const SepaWarn& warn);

/// A reference (message, payment information, end-to-end, mandate): 1 to 35
/// letters, digits and + ? / - : ( ) . , ' (and blanks where `blanks`). Never
/// changed: a cut or altered reference could name something else.
void CheckSepaIdentifier(std::string_view id, bool blanks, const SepaPlace& place);

}  // namespace zor::detail
