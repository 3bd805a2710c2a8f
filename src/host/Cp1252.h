// The Windows-1252 code page: the system's ANSI code page on every platform.
#pragma once

#include <array>
#include <cstdint>

namespace zor::detail {

/// The Unicode code point of a Windows-1252 byte (the five unassigned bytes map to
/// the C1 control of the same value, as the platform conversion does).
char32_t Cp1252ToUnicode(unsigned char byte);

/// The UTF-16 unit of every byte (all of them lie in the BMP), indexed by the byte.
const std::array<char16_t, 256>& Cp1252Units();

/// The Windows-1252 byte of a code point; '?' when the code page lacks it.
unsigned char UnicodeToCp1252(char32_t codePoint);

}  // namespace zor::detail
