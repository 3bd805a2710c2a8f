// Two scans of text that the library's checks and the tool's readers both make
// at every field of every payment, kept inline and in one place.
#pragma once

#include <cstddef>
#include <string_view>

namespace zor::detail {

/// Without leading and trailing blanks and tabs. A loop rather than
/// find_first_not_of: most values have no blank to trim, and most bytes are
/// above the blank, which one comparison tells.
inline std::string_view TrimmedView(std::string_view text) {
  const auto blank = [](char c) {
    return static_cast<unsigned char>(c) <= ' ' && (c == ' ' || c == '\t');
  };
  std::size_t first = 0;
  std::size_t end = text.size();
  while (first < end && blank(text[first])) ++first;
  while (end > first && blank(text[end - 1])) --end;
  return std::string_view(text.data() + first, end - first);
}

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

}  // namespace zor::detail
