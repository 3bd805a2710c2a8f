#include "dtazv/Repertoire.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "host/AnsiCase.h"

namespace zor::detail::dtazv {
namespace {

constexpr bool InRepertoire(unsigned c) {
  return c == ' ' || (c >= '+' && c <= '/') || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z');
}

// What one input byte becomes: nothing, itself in capitals, or two letters for
// ß, Ä, Ö and Ü (and their small letters).
struct alignas(4) Spelling {
  char text[2];
  unsigned char length;
};

constexpr std::array<Spelling, 256> MakeSpellings() {
  std::array<Spelling, 256> table{};
  for (unsigned b = 0; b < 256; ++b) {
    // ß first: it has no capital of its own in Windows-1252.
    const unsigned upper = b == 0xDF ? 0xDF : AnsiUpper(b);
    switch (upper) {
      case 0xDF:
        table[b] = {{'S', 'S'}, 2};
        break;
      case 0xC4:
        table[b] = {{'A', 'E'}, 2};
        break;
      case 0xD6:
        table[b] = {{'O', 'E'}, 2};
        break;
      case 0xDC:
        table[b] = {{'U', 'E'}, 2};
        break;
      default:
        if (InRepertoire(upper)) table[b] = {{static_cast<char>(upper), ' '}, 1};
    }
  }
  return table;
}

constexpr std::array<Spelling, 256> kSpellings = MakeSpellings();

// The table's entry of a byte, and of a UTF-16 unit: a unit beyond Latin-1 is
// '?' or one of 0x80-0x9F in Windows-1252, and none of those is kept, nor is
// the byte 0.
unsigned SpellingIndex(char c) {
  return static_cast<unsigned char>(c);
}
unsigned SpellingIndex(char16_t unit) {
  return unit <= 0xFF ? unit : 0;
}

// Both letters are always stored and the position moves on by the spelling's
// length: no branch on the data.
template <class C>
char* SpellOne(C c, char* out) {
  const Spelling& spelling = kSpellings[SpellingIndex(c)];
  std::memcpy(out, spelling.text, 2);
  return out + spelling.length;
}

// Spells text into out, which has room for two bytes per unit; answers the end.
template <class C>
char* Spell(const C* text, std::size_t size, char* out) {
  std::size_t i = 0;
  for (; i + 4 <= size; i += 4) {
    out = SpellOne(text[i], out);
    out = SpellOne(text[i + 1], out);
    out = SpellOne(text[i + 2], out);
    out = SpellOne(text[i + 3], out);
  }
  for (; i < size; ++i) out = SpellOne(text[i], out);
  return out;
}

}  // namespace

std::size_t RemoveInvalidChars(std::string_view text, char* out) {
  return static_cast<std::size_t>(Spell(text.data(), text.size(), out) - out);
}

std::size_t RemoveInvalidChars(std::u16string_view text, char* out) {
  return static_cast<std::size_t>(Spell(text.data(), text.size(), out) - out);
}

void RemoveInvalidChars(std::string_view text, AnsiString& result) {
  // A field's text is spelled on the stack and then assigned: growing the
  // result to twice the text's length would first fill it with zeros.
  char buffer[256];
  if (2 * text.size() <= sizeof buffer) {
    result.assign(buffer, RemoveInvalidChars(text, buffer));
    return;
  }
  result.resize(2 * text.size());
  result.resize(RemoveInvalidChars(text, result.data()));
}

AnsiString RemoveInvalidChars(const AnsiString& text) {
  AnsiString result;
  RemoveInvalidChars(text, result);
  return result;
}

}  // namespace zor::detail::dtazv
