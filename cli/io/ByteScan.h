// Eight bytes at a time. A line of payment data is mostly plain ASCII, and
// looking at it a byte at a time cost more than all that is done with it. The
// tests answer whether some byte of a word is of a kind (exactly), not which
// one: a caller that needs the byte looks at the eight bytes one by one.
#pragma once

#include <cstdint>
#include <cstring>

namespace zcli::bytescan {

inline constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
inline constexpr std::uint64_t kHighBits = kOnes * 0x80;

inline std::uint64_t Load(const char* at) {
  std::uint64_t word = 0;
  std::memcpy(&word, at, sizeof word);
  return word;
}

/// A byte below 0x20: subtracting borrows into its top bit, which it lacked.
inline bool HasControl(std::uint64_t word) {
  return ((word - kOnes * 0x20) & ~word & kHighBits) != 0;
}

/// A byte of 0x7F or above: adding one carries into its top bit, or it has it.
inline bool HasDelOrHigh(std::uint64_t word) {
  return (((word + kOnes) | word) & kHighBits) != 0;
}

/// A byte of 0x80 or above: one of UTF-8 beyond ASCII.
inline bool HasHigh(std::uint64_t word) {
  return (word & kHighBits) != 0;
}

/// A byte equal to `c`: it leaves a zero byte after the XOR.
inline bool HasByte(std::uint64_t word, char c) {
  const std::uint64_t zeroWhereC = word ^ (kOnes * static_cast<unsigned char>(c));
  return ((zeroWhereC - kOnes) & ~zeroWhereC & kHighBits) != 0;
}

}  // namespace zcli::bytescan
