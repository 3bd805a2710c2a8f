#include "payments/Transliteration.h"

#include <array>

namespace zcli {

namespace {

using Table = std::array<std::string_view, 256>;

constexpr void Fill(Table& table, unsigned from, unsigned to, std::string_view letters) {
  for (unsigned b = from; b <= to; ++b) table[b] = letters;
}

// Windows-1252: 0x8A-0x9F hold a few letters, 0xC0-0xFF the Latin-1 ones.
constexpr Table MakeTable() {
  Table t{};
  t[0x8A] = "S";
  t[0x8C] = "OE";
  t[0x8E] = "Z";
  t[0x9A] = "s";
  t[0x9C] = "oe";
  t[0x9E] = "z";
  t[0x9F] = "Y";
  Fill(t, 0xC0, 0xC5, "A");
  t[0xC4] = "AE";
  t[0xC6] = "AE";
  t[0xC7] = "C";
  Fill(t, 0xC8, 0xCB, "E");
  Fill(t, 0xCC, 0xCF, "I");
  t[0xD0] = "D";
  t[0xD1] = "N";
  Fill(t, 0xD2, 0xD6, "O");
  t[0xD6] = "OE";
  t[0xD8] = "O";
  Fill(t, 0xD9, 0xDC, "U");
  t[0xDC] = "UE";
  t[0xDD] = "Y";
  t[0xDE] = "TH";
  t[0xDF] = "ss";
  Fill(t, 0xE0, 0xE5, "a");
  t[0xE4] = "ae";
  t[0xE6] = "ae";
  t[0xE7] = "c";
  Fill(t, 0xE8, 0xEB, "e");
  Fill(t, 0xEC, 0xEF, "i");
  t[0xF0] = "d";
  t[0xF1] = "n";
  Fill(t, 0xF2, 0xF6, "o");
  t[0xF6] = "oe";
  t[0xF8] = "o";
  Fill(t, 0xF9, 0xFC, "u");
  t[0xFC] = "ue";
  t[0xFD] = "y";
  t[0xFE] = "th";
  t[0xFF] = "y";
  return t;
}

constexpr Table kBaseLetters = MakeTable();

}  // namespace

std::string_view BaseLetters(unsigned char ansiByte) {
  return kBaseLetters[ansiByte];
}

}  // namespace zcli
