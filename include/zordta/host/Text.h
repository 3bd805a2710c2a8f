// Conversions between the three text forms: UTF-8 (the C++ world), Windows-1252
// (payment data) and the interface text of this build.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "zordta/host/Types.h"

namespace zor {

/// Interface text from UTF-8; characters Windows-1252 lacks become "?" in 8-bit builds.
ZORDTA_API String StringFromUtf8(std::string_view utf8);
/// UTF-8 form of interface text.
ZORDTA_API std::string StringToUtf8(const String& text);

/// Interface text from 8-bit text (Windows-1252); lossless.
ZORDTA_API String AnsiToString(const AnsiString& ansi);
/// 8-bit text from interface text; a character Windows-1252 lacks becomes "?".
ZORDTA_API AnsiString StringToAnsi(const String& text);

/// 8-bit text from UTF-8; a character Windows-1252 lacks becomes "?".
ZORDTA_API AnsiString Utf8ToAnsi(std::string_view utf8);
/// The same into `ansi`, whose storage is kept: for a caller that converts
/// text after text.
ZORDTA_API void Utf8ToAnsi(std::string_view utf8, AnsiString& ansi);
/// UTF-8 from 8-bit text; lossless.
ZORDTA_API std::string AnsiToUtf8(const AnsiString& ansi);

/// Strict UTF-8: the length of the well-formed sequence at text[at] (at < size)
/// and its code point; 0 for a byte that starts none (a stray or cut-short
/// sequence, an overlong form, a surrogate, a value beyond U+10FFFF).
ZORDTA_API std::size_t DecodeUtf8(std::string_view text, std::size_t at, char32_t& codePoint);
/// Offset of the first byte that belongs to no well-formed UTF-8 sequence;
/// npos when the whole text is well-formed.
ZORDTA_API std::size_t FindMalformedUtf8(std::string_view text);
/// True when Windows-1252 has the character, so payment data keeps it.
ZORDTA_API bool InWindows1252(char32_t codePoint);

/// UTF-16 from UTF-8 and back (both lossless for valid input; bad sequences become U+FFFD).
ZORDTA_API std::u16string Utf8ToUtf16(std::string_view utf8);
ZORDTA_API std::string Utf16ToUtf8(std::u16string_view utf16);

}  // namespace zor
