// Conversions between payment data (Windows-1252) and interface text into a
// string the caller keeps, so that a loop reuses its storage.
#pragma once

#include <string>
#include <string_view>

#include "zordta/host/Types.h"

namespace zor::detail {

/// out = AnsiToString(ansi).
void AssignString(String& out, std::string_view ansi);
/// The same for text of bytes below 0x80 alone, such as cleaned payment text.
void AssignAscii(String& out, std::string_view ascii);
/// out = StringToAnsi(text).
void AssignAnsi(AnsiString& out, std::basic_string_view<Char> text);

/// Appends the UTF-8 form of a code point.
void AppendUtf8(std::string& out, char32_t codePoint);

}  // namespace zor::detail
