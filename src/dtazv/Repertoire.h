// The DTAZV character repertoire.
#pragma once

#include <cstddef>
#include <string_view>

#include "zordta/host/Types.h"

namespace zor::detail::dtazv {

/// ß to SS, capitals by the Windows-1252 pairs, Ä/Ö/Ü to AE/OE/UE, then only the
/// blank, + , - . /, 0-9 and A-Z kept. Cleaning a cleaned text changes nothing.
AnsiString RemoveInvalidChars(const AnsiString& text);
/// The same into result, whose storage is reused.
void RemoveInvalidChars(std::string_view text, AnsiString& result);

/// The same into out, which has room for two bytes per byte of text; answers
/// the length.
std::size_t RemoveInvalidChars(std::string_view text, char* out);
/// What the text becomes in Windows-1252 and then cleaned, into out, which has
/// room for two bytes per unit of text; answers the length. A character outside
/// Latin-1 never survives the cleaning, so it needs no conversion.
std::size_t RemoveInvalidChars(std::u16string_view text, char* out);

}  // namespace zor::detail::dtazv
