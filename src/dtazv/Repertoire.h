// The DTAZV character repertoire.
#pragma once

#include <string_view>

#include "zordta/host/Types.h"

namespace zor::detail::dtazv {

/// ß to SS, capitals by the Windows-1252 pairs, Ä/Ö/Ü to AE/OE/UE, then only the
/// blank, + , - . /, 0-9 and A-Z kept. Cleaning a cleaned text changes nothing.
AnsiString RemoveInvalidChars(const AnsiString& text);
/// The same into result, whose storage is reused.
void RemoveInvalidChars(std::string_view text, AnsiString& result);

}  // namespace zor::detail::dtazv
