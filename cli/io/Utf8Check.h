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

namespace zcli {

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

/// The letter of U+00A0 to U+00FF (the umlauts among them) whose UTF-8 starts
/// at text[at], as its Windows-1252 byte, which has the same number; 0 for any
/// other. The common case, read without the full decoding.
inline unsigned char Latin1LetterAt(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  if ((lead != 0xC2 && lead != 0xC3) || at + 1 >= text.size()) return 0;
  const auto next = static_cast<unsigned char>(text[at + 1]);
  if ((next & 0xC0) != 0x80 || (lead == 0xC2 && next < 0xA0)) return 0;
  return static_cast<unsigned char>(((lead & 0x03) << 6) | (next & 0x3F));
}

/// Number of characters (not bytes) in well-formed UTF-8 text.
std::size_t CharCount(std::string_view utf8);

}  // namespace zcli
