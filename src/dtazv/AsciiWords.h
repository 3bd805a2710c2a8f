// Eight bytes of text at a time in one 64-bit word, each byte a lane of its
// own. Payment text is nearly all letters, digits and blanks, and a booking
// cleans and checks about two hundred bytes of it: a word at a time takes a
// third of the instructions of a table lookup per byte. For bytes below 0x80
// no sum below carries from one lane into the next, so the lanes never mix
// and the byte order of the machine does not matter.
#pragma once

#include <cstdint>
#include <cstring>

namespace zor::detail::dtazv::words {

inline constexpr std::uint64_t kLanes = 0x0101010101010101ULL;
inline constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

/// The eight bytes at text as one word.
inline std::uint64_t Load(const char* text) {
  std::uint64_t word = 0;
  std::memcpy(&word, text, 8);
  return word;
}

inline void Store(char* out, std::uint64_t word) {
  std::memcpy(out, &word, 8);
}

/// True when every byte is below 0x80, the condition of the tests below.
constexpr bool AllAscii(std::uint64_t word) {
  return (word & kHighBits) == 0;
}

/// For a word of bytes below 0x80: the high bit of every lane whose byte lies
/// in low..high. low + 0x80 - low sets the bit from low on, b + 0x7F - high
/// from high + 1 on.
constexpr std::uint64_t InRange(std::uint64_t word, unsigned char low, unsigned char high) {
  const std::uint64_t fromLow = word + kLanes * (0x80U - low);
  const std::uint64_t aboveHigh = word + kLanes * (0x7FU - high);
  return fromLow & ~aboveHigh & kHighBits;
}

/// The word with its small letters a-z raised to capitals (bytes below 0x80).
constexpr std::uint64_t Capitals(std::uint64_t word) {
  // A small letter differs from its capital in bit 5 alone: the lane's high
  // bit moved down to bit 5.
  return word ^ (InRange(word, 'a', 'z') >> 2);
}

}  // namespace zor::detail::dtazv::words
