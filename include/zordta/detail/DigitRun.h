// Eight ASCII digits read at once, in one 64-bit word: account numbers, bank
// codes, amounts and IBANs are runs of digits that the readers and checks take
// at every payment. The word holds the first digit in its low byte, so the
// word-wise way is for little-endian machines; ReadEightDigits falls back to a
// digit at a time elsewhere.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace zor::detail {

inline std::uint64_t LoadEightBytes(const char* text) {
  std::uint64_t word = 0;
  std::memcpy(&word, text, 8);
  return word;
}

/// True when each byte of the word is 0x30-0x39: its high nibble is 3 and
/// stays 3 after adding 6.
constexpr bool AreEightDigits(std::uint64_t word) {
  constexpr std::uint64_t kHigh = 0xF0F0F0F0F0F0F0F0, kThrees = 0x3030303030303030;
  return (word & kHigh) == kThrees && ((word + 0x0606060606060606) & kHigh) == kThrees;
}

/// The number of eight digits, the first in the low byte: neighbouring
/// digits, then pairs, then fours are joined in place.
constexpr std::uint32_t EightDigitsValue(std::uint64_t word) {
  word -= 0x3030303030303030;
  word = (word * 10 + (word >> 8)) & 0x00FF00FF00FF00FF;
  word = (word * 100 + (word >> 16)) & 0x0000FFFF0000FFFF;
  return static_cast<std::uint32_t>((word * 10000 + (word >> 32)) & 0xFFFFFFFF);
}

/// The eight bytes at text as their number, when each is a digit 0-9.
inline bool ReadEightDigits(const char* text, std::uint32_t& number) {
  if constexpr (std::endian::native == std::endian::little) {
    const std::uint64_t word = LoadEightBytes(text);
    if (!AreEightDigits(word)) return false;
    number = EightDigitsValue(word);
    return true;
  } else {
    number = 0;
    for (int i = 0; i < 8; ++i) {
      if (text[i] < '0' || text[i] > '9') return false;
      number = number * 10 + static_cast<std::uint32_t>(text[i] - '0');
    }
    return true;
  }
}

}  // namespace zor::detail
