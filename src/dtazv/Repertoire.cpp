#include "dtazv/Repertoire.h"

#include <array>
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

}  // namespace

namespace {

// Spells text into out, which has room for two bytes per byte of text; answers
// the end. Both letters are always stored and the position moves on by the
// spelling's length: no branch on the data.
char* Spell(std::string_view text, char* out) {
  const auto spell = [&out](char c) {
    const Spelling& spelling = kSpellings[static_cast<unsigned char>(c)];
    std::memcpy(out, spelling.text, 2);
    out += spelling.length;
  };
  std::size_t i = 0;
  for (; i + 4 <= text.size(); i += 4) {
    spell(text[i]);
    spell(text[i + 1]);
    spell(text[i + 2]);
    spell(text[i + 3]);
  }
  for (; i < text.size(); ++i) spell(text[i]);
  return out;
}

}  // namespace

void RemoveInvalidChars(std::string_view text, AnsiString& result) {
  // A field's text is spelled on the stack and then assigned: growing the
  // result to twice the text's length would first fill it with zeros.
  char buffer[256];
  if (2 * text.size() <= sizeof buffer) {
    result.assign(buffer, static_cast<std::size_t>(Spell(text, buffer) - buffer));
    return;
  }
  result.resize(2 * text.size());
  result.resize(static_cast<std::size_t>(Spell(text, result.data()) - result.data()));
}

AnsiString RemoveInvalidChars(const AnsiString& text) {
  AnsiString result;
  RemoveInvalidChars(text, result);
  return result;
}

}  // namespace zor::detail::dtazv
