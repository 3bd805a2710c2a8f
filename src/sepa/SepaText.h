// Text and references as German banks take them in SEPA files.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "core/MessageFill.h"
#include "zordta/Sepa.h"

namespace zor::detail {

using SepaWarn = std::function<void(SepaWarning)>;

/// The value in straight double quotes, as the messages show it (printable).
std::string SepaQuoted(std::string_view text);

[[noreturn]] void SepaRefuse(SepaFault fault, SepaPlace place, std::string text);

/// Where a value stands, as the checks of every payment pass it: the field's
/// name is a constant, made into a SepaPlace only for a message.
struct SepaSpot {
  std::size_t payment = 0;
  std::string_view field;

  SepaPlace Place() const { return {payment, std::string(field)}; }
};

/// The text in the banks' character set, at most `maxChars` characters: a view
/// of `utf8` when it needs no change, else of `room`, where it is made.
/// Transliterating and cutting warn, or with `strict` are refused; a character
/// with no counterpart is always refused.
std::string_view SepaText(std::string_view utf8, std::size_t maxChars, bool strict, SepaSpot spot,
                          const SepaWarn& warn, std::string& room);

/// As SepaText, but an empty result is refused.
std::string_view SepaName(std::string_view utf8, bool strict, SepaSpot spot, const SepaWarn& warn,
                          std::string& room);

/// A reference (message, payment information, end-to-end, mandate): 1 to 35
/// letters, digits and + ? / - : ( ) . , ' (and blanks where `blanks`). Never
/// changed: a cut or altered reference could name something else.
void CheckSepaIdentifier(std::string_view id, bool blanks, SepaSpot spot);

}  // namespace zor::detail
