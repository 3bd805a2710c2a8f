// Checks on UTF-8 input before it becomes 8-bit payment data: the library turns
// every character Windows-1252 lacks into "?", so such characters are found and
// reported first.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zcli {

/// Byte offset of the first byte that does not belong to a well-formed UTF-8
/// sequence; npos when the whole text is well-formed.
std::size_t FindMalformedUtf8(std::string_view text);

/// Length of the sequence that starts at text[at] and its code point; 0 when
/// the bytes there are no well-formed UTF-8.
std::size_t DecodeUtf8(std::string_view text, std::size_t at, char32_t& codePoint);

/// True when Windows-1252 has the character.
bool InCp1252(char32_t codePoint);

struct ForeignChar {
  std::size_t offset;  ///< byte offset in the text
  std::size_t index;   ///< 1-based character position in the text
  char32_t codePoint;
};

/// Every character of well-formed UTF-8 text that Windows-1252 lacks.
std::vector<ForeignChar> FindCharsOutsideCp1252(std::string_view utf8);

/// The character for a message: „Ł“ (U+0141).
std::string DescribeChar(char32_t codePoint);

/// C0 (tab and line breaks among them), DEL and C1. Text holding one could
/// start a line of its own in a cover sheet or a report, so none is taken.
bool IsControlChar(char32_t codePoint);

/// Every character of well-formed UTF-8 text that cannot be taken as given:
/// control characters and characters Windows-1252 lacks.
std::vector<ForeignChar> FindUnwritableChars(std::string_view utf8);

/// What is wrong with such a character: "„Ł“ (U+0141) gibt es in Windows-1252
/// nicht." or "Zeilenumbruch (U+000A) ist nicht erlaubt."
std::string UnwritableCharProblem(char32_t codePoint);

/// "Zeichen 5: " and the problem, for one value.
std::string UnwritableCharMessage(const ForeignChar& c);

/// "Zeichen 5: „Ł“ (U+0141) gibt es in Windows-1252 nicht." for one value.
std::string ForeignCharMessage(const ForeignChar& c);

/// Number of characters (not bytes) in well-formed UTF-8 text.
std::size_t CharCount(std::string_view utf8);

}  // namespace zcli
