#include "host/Cp1252.h"

namespace zor::detail {
namespace {

// 0x80 to 0x9F are the only bytes that differ from Latin-1.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr std::array<char16_t, 256> MakeUnits() {
  std::array<char16_t, 256> units{};
  for (unsigned b = 0; b < 256; ++b) {
    units[b] = static_cast<char16_t>(b >= 0x80 && b <= 0x9F ? kHighControls[b - 0x80] : b);
  }
  return units;
}

constexpr std::array<char16_t, 256> kUnits = MakeUnits();

}  // namespace

const std::array<char16_t, 256>& Cp1252Units() {
  return kUnits;
}

char32_t Cp1252ToUnicode(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80];
  return byte;
}

unsigned char UnicodeToCp1252(char32_t codePoint) {
  if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
    return static_cast<unsigned char>(codePoint);
  }
  // Beyond Latin-1 the code page has nothing below U+0152 (Œ) or above U+2122
  // (™): the letters of other languages are refused without a search.
  if ((codePoint > 0xFF && codePoint < 0x152) || codePoint > 0x2122) return '?';
  for (int i = 0; i < 32; ++i) {
    if (kHighControls[i] == codePoint) return static_cast<unsigned char>(0x80 + i);
  }
  return '?';
}

}  // namespace zor::detail
