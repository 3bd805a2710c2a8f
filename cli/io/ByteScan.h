// Eight bytes at a time. A line of payment data is mostly plain ASCII, and
// looking at it a byte at a time cost more than all that is done with it.
// A test gives the top bit of each byte of a word that is of a kind. Only the
// first such byte is sure to be one (a borrow or a carry can mark the bytes
// after it), which is all FirstMarked needs: the bytes before it are not of
// the kind, and the caller looks at the rest one by one.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace zcli::bytescan {

inline constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
inline constexpr std::uint64_t kHighBits = kOnes * 0x80;

inline std::uint64_t Load(const char* at) {
  std::uint64_t word = 0;
  std::memcpy(&word, at, sizeof word);
  return word;
}

/// Bytes below 0x20 or of 0x7F and above: subtracting 0x20 borrows into the
/// top bit of the first, adding one carries into that of 0x7F, and the high
/// bytes have it. A byte from 0x20 to 0x7E does neither, and a byte that lends
/// or carries is marked itself.
constexpr std::uint64_t UnprintableBytes(std::uint64_t word) {
  return ((word - kOnes * 0x20) | (word + kOnes) | word) & kHighBits;
}

/// Bytes of 0x80 or above: those of UTF-8 beyond ASCII.
constexpr std::uint64_t HighBytes(std::uint64_t word) {
  return word & kHighBits;
}

/// Bytes equal to `c`: they leave a zero byte after the XOR.
constexpr std::uint64_t BytesEqual(std::uint64_t word, char c) {
  const std::uint64_t zeroWhereC = word ^ (kOnes * static_cast<unsigned char>(c));
  return (zeroWhereC - kOnes) & ~zeroWhereC & kHighBits;
}

/// How many bytes of the word, loaded from memory, come before the first one
/// `marked` (not zero) marks. A big-endian machine holds the first byte at the
/// top: it answers 0 there, and its caller goes on a byte at a time.
inline std::size_t FirstMarked(std::uint64_t marked) {
  if constexpr (std::endian::native == std::endian::little) {
    return static_cast<std::size_t>(std::countr_zero(marked)) / 8;
  } else {
    return 0;
  }
}

/// Where from `at` on the next byte may be one that is not printable ASCII
/// (UnprintableBytes): the first of a word that has one, or one of the last
/// seven bytes, or the end. Every byte passed is printable ASCII.
inline std::size_t SkipPrintable(std::string_view text, std::size_t at) {
  while (text.size() - at >= 8) {
    const std::uint64_t marked = UnprintableBytes(Load(text.data() + at));
    if (marked != 0) return at + FirstMarked(marked);
    at += 8;
  }
  return at;
}

}  // namespace zcli::bytescan
