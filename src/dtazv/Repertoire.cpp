#include "dtazv/Repertoire.h"

#include <array>

#include "host/AnsiCase.h"

namespace zor::detail::dtazv {
namespace {

constexpr bool InRepertoire(unsigned c) {
  return c == ' ' || (c >= '+' && c <= '/') || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z');
}

// What one input byte becomes: nothing, itself in capitals, or two letters for
// ß, Ä, Ö and Ü (and their small letters).
struct Spelling {
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

void RemoveInvalidChars(std::string_view text, AnsiString& result) {
  result.resize(2 * text.size());
  // Through a plain pointer, so the compiler need not reload the string's
  // buffer after every byte written.
  char* out = result.data();
  for (const char c : text) {
    const Spelling spelling = kSpellings[static_cast<unsigned char>(c)];
    out[0] = spelling.text[0];
    out[1] = spelling.text[1];
    out += spelling.length;
  }
  result.resize(static_cast<std::size_t>(out - result.data()));
}

AnsiString RemoveInvalidChars(const AnsiString& text) {
  AnsiString result;
  RemoveInvalidChars(text, result);
  return result;
}

}  // namespace zor::detail::dtazv
