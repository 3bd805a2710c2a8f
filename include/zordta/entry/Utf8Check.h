// Checks on UTF-8 input before it becomes 8-bit payment data: the library turns
// every character Windows-1252 lacks into "?", so such characters are found and
// reported first. Decoding and the code page are the library's own
// (zor::DecodeUtf8, zor::FindMalformedUtf8, zor::InWindows1252); this adds the
// positions and messages a person needs.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "zordta/Config.h"
#include "zordta/detail/TextScan.h"

namespace zor::entry {

struct ZORDTA_API ForeignChar {
  std::size_t offset;  ///< byte offset in the text
  std::size_t index;   ///< 1-based character position in the text
  char32_t codePoint;
};

/// Every character of well-formed UTF-8 text that Windows-1252 lacks.
ZORDTA_API std::vector<ForeignChar> FindCharsOutsideCp1252(std::string_view utf8);

/// The character for a message: „Ł“ (U+0141).
ZORDTA_API std::string DescribeChar(char32_t codePoint);

/// C0 (tab and line breaks among them), DEL and C1. Text holding one could
/// start a line of its own in a cover sheet or a report, so none is taken.
ZORDTA_API bool IsControlChar(char32_t codePoint);

/// Every character of well-formed UTF-8 text that cannot be taken as given:
/// control characters and characters Windows-1252 lacks.
ZORDTA_API std::vector<ForeignChar> FindUnwritableChars(std::string_view utf8);

/// What is wrong with such a character: "„Ł“ (U+0141) gibt es in Windows-1252
/// nicht." or "Zeilenumbruch (U+000A) ist nicht erlaubt."
ZORDTA_API std::string UnwritableCharProblem(char32_t codePoint);

/// "Zeichen 5: " and the problem, for one value.
ZORDTA_API std::string UnwritableCharMessage(const ForeignChar& c);

/// "Zeichen 5: „Ł“ (U+0141) gibt es in Windows-1252 nicht." for one value.
ZORDTA_API std::string ForeignCharMessage(const ForeignChar& c);

using zor::detail::Latin1LetterAt;

/// Number of characters (not bytes) in well-formed UTF-8 text.
ZORDTA_API std::size_t CharCount(std::string_view utf8);

}  // namespace zor::entry
