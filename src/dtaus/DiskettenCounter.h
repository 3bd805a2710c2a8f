// The diskette counter: the registry value that numbers the files of every run
// with Zentralbank, shared by all processes of the user.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "zordta/host/Registry.h"

namespace zor::detail::dtaus {

/// The counter's registry key of the current user.
std::unique_ptr<TRegIniFile> OpenDiskettenCounter();

/// What taking a number found: the number taken, or else the stored text that
/// is no number from 0 to 9999 (and then nothing was stored).
struct TakenDiskettenNummer {
  std::optional<std::int32_t> nummer;
  std::string refusedValue;
};

/// Takes the next number under the key's lock: a missing value counts as 0,
/// 9999 is followed by 0.
TakenDiskettenNummer TakeDiskettenNummer(TRegIniFile& counter);

/// Steps the counter back from taken when it still stands there (no run took a
/// number since); answers whether it did.
bool GiveBackDiskettenNummer(TRegIniFile& counter, std::int32_t taken);

/// 0 to 9999 from plain decimal digits; nothing for any other text.
std::optional<std::int32_t> ParseDiskettenNummer(std::string_view text);

/// The text for a message: control characters, invisible marks and bytes that are
/// not UTF-8 become \xNN, so that a reader sees what is there.
std::string VisibleText(std::string_view text);

}  // namespace zor::detail::dtaus
