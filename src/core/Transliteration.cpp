#include "zordta/Transliteration.h"

#include <array>
#include <string_view>

#include "host/Cp1252.h"

namespace zor {

namespace {

using namespace std::literals;

constexpr char32_t kFirst = 0xC0;
constexpr char32_t kLast = 0x17F;

// U+00C0 to U+00FF, then U+0100 to U+017F: one letter each; '\0' for the
// umlauts, the letters written with two (Æ, Þ, Ĳ, Œ) and the signs × and ÷.
constexpr std::string_view kOneLetter =
    "AAAA\0A\0CEEEEIIIIDNOOOO\0\0OUUU\0Y\0\0aaaa\0a\0ceeeeiiiidnoooo\0\0ouuu\0y\0y"
    "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIi\0\0JjKkkLlLlLlL"
    "lLlNnNnNnnNnOoOoOo\0\0RrRrRrSsSsSsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZzs"sv;
static_assert(kOneLetter.size() == kLast - kFirst + 1);

struct TwoLetters {
  char32_t c;
  char text[3];
};
constexpr TwoLetters kLigatures[] = {{U'Æ', "AE"}, {U'Þ', "TH"}, {U'æ', "ae"}, {U'þ', "th"},
                                     {U'Ĳ', "IJ"}, {U'ĳ', "ij"}, {U'Œ', "OE"}, {U'œ', "oe"}};
constexpr TwoLetters kUmlauts[] = {{U'Ä', "AE"}, {U'Ö', "OE"}, {U'Ü', "UE"}, {U'ä', "ae"},
                                   {U'ö', "oe"}, {U'ü', "ue"}, {U'ß', "ss"}};

// One entry per character, letters and count: a look-up is one index, with
// no search and no branch on the letter.
struct Entry {
  char text[2];
  unsigned char length;
};
using Table = std::array<Entry, kLast - kFirst + 1>;

constexpr Table MakeTable(Umlauts umlauts) {
  Table table{};
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (kOneLetter[i] != '\0') table[i] = {{kOneLetter[i], '\0'}, 1};
  }
  for (const TwoLetters& l : kLigatures) table[l.c - kFirst] = {{l.text[0], l.text[1]}, 2};
  if (umlauts == Umlauts::Spelled) {
    for (const TwoLetters& l : kUmlauts) table[l.c - kFirst] = {{l.text[0], l.text[1]}, 2};
  }
  return table;
}

constexpr Table kSpelled = MakeTable(Umlauts::Spelled);
constexpr Table kKept = MakeTable(Umlauts::Kept);

}  // namespace

std::string_view BaseLetters(char32_t codePoint, Umlauts umlauts) noexcept {
  if (codePoint < kFirst || codePoint > kLast) return {};
  const Entry& entry = (umlauts == Umlauts::Spelled ? kSpelled : kKept)[codePoint - kFirst];
  return {entry.text, entry.length};
}

std::string_view AnsiBaseLetters(char ansiByte, Umlauts umlauts) noexcept {
  return BaseLetters(detail::Cp1252ToUnicode(static_cast<unsigned char>(ansiByte)), umlauts);
}

}  // namespace zor
