// The DTAUS character repertoire: what a name or purpose field may hold, and the
// two encodings of Ä, Ö, Ü and ß.
#pragma once

#include <cstddef>
#include <string_view>

#include "zordta/host/Types.h"

namespace zor::detail::dtaus {

/// Files whose name begins with "DTAUS0" (case-sensitive) use the 7-bit German
/// codes for the umlauts; every other file uses the PC codes.
bool IsFirstFileKind(const String& fileName);

/// Capitals, then only repertoire bytes kept, then the umlauts in the file's code.
AnsiString RemoveInvalidChars(const AnsiString& text, bool firstKind);
/// The same into out, stopping after capacity bytes; answers the bytes written.
/// A record field needs only as much of the cleaned text as it can hold.
std::size_t RemoveInvalidChars(std::string_view text, bool firstKind, char* out,
                               std::size_t capacity);

/// Capitals (Windows-1252 pairs) with the umlaut codes of either kind turned back
/// into Ä, Ö, Ü and ß. The result has the length of the input.
AnsiString DecodeChars(const AnsiString& text);
/// The same into result, whose storage is reused.
void DecodeChars(std::string_view text, AnsiString& result);

}  // namespace zor::detail::dtaus
