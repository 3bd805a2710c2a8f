// Fills the fixed-width fields of a record, as the "%.Nd", "%Nd" and "%-N.Ns"
// conversions would, but straight into the record's bytes at the field's
// offset: one booking writes dozens of fields, and formatting each into a
// string of its own cost more than everything else the booking does. The
// fields are constants, so each write compiles to a store at a fixed place.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "core/RecordField.h"

namespace zor::detail {

class RecordWriter {
 public:
  /// Over a record (or one part of it) of at least the layout's length.
  explicit RecordWriter(char* record) : fRecord(record) {}

  /// "%-N.Ns": the text cut to the field and filled up with blanks.
  void Text(Field field, std::string_view text) {
    char* at = fRecord + field.offset;
    const std::size_t length = std::min(text.size(), field.width);
    // The whole field blank first: of a constant width that is a few stores,
    // where the blanks after the text alone would be a loop.
    std::memset(at, ' ', field.width);
    CopyShort(at, text.data(), length);
  }

  /// Text for a field that holds blanks already, as in a record begun from a
  /// template: only the text is copied.
  void TextOnBlanks(Field field, std::string_view text) {
    CopyShort(fRecord + field.offset, text.data(), std::min(text.size(), field.width));
  }

  void Blanks(Field field) { std::memset(fRecord + field.offset, ' ', field.width); }

  /// "%.Nd" for a value of at most N digits; the writers check every value
  /// against its field before they build a record.
  void Digits(Field field, std::uint64_t value) {
    char* at = fRecord + field.offset;
    // The field's width is a constant where this is inlined, so the loop and
    // the copy below compile to fixed stores.
    std::size_t width = field.width;
    for (; width > 8; width -= 8) {
      EightDigits(static_cast<std::uint32_t>(value % 100000000), at + width - 8);
      value /= 100000000;
    }
    char digits[8];
    if (width <= 4) {
      FourDigits(static_cast<std::uint32_t>(value % 10000), digits);
      std::memcpy(at, digits + 4 - width, width);
    } else {
      EightDigits(static_cast<std::uint32_t>(value % 100000000), digits);
      std::memcpy(at, digits + 8 - width, width);
    }
  }

  /// "%Nd" for a value of at most N digits: right-aligned after blanks.
  void Number(Field field, std::uint64_t value) {
    char* at = fRecord + field.offset;
    std::size_t i = field.width;
    do {
      at[--i] = static_cast<char>('0' + value % 10);
      value /= 10;
    } while (value != 0 && i > 0);
    std::memset(at, ' ', i);
  }

 private:
  // The eight digits of a value below 100000000, with leading zeros. On a
  // little-endian machine all eight are worked out at once in one 64-bit word:
  // the value is split into two halves of four digits in 32-bit lanes, each
  // of those into two digits in 16-bit lanes, each of those into one digit per
  // byte, dividing by 100 and 10 through multiplications that stay within their
  // lane (exact for these ranges). A digit at a time costs four times as much.
  static void EightDigits(std::uint32_t value, char* out) {
    if constexpr (std::endian::native == std::endian::little) {
      std::uint64_t v = (value / 10000) | (std::uint64_t{value % 10000} << 32);
      std::uint64_t high = ((v * 10486) >> 20) & 0x0000007F0000007FULL;
      v = high | ((v - high * 100) << 16);
      high = ((v * 103) >> 10) & 0x000F000F000F000FULL;
      v = high | ((v - high * 10) << 8);
      v |= 0x3030303030303030ULL;
      std::memcpy(out, &v, 8);
    } else {
      for (std::size_t i = 8; i > 0; --i) {
        out[i - 1] = static_cast<char>('0' + value % 10);
        value /= 10;
      }
    }
  }

  // The four digits of a value below 10000, as EightDigits does them.
  static void FourDigits(std::uint32_t value, char* out) {
    if constexpr (std::endian::native == std::endian::little) {
      std::uint32_t high = (value * 10486) >> 20;
      std::uint32_t v = high | ((value - high * 100) << 16);
      high = ((v * 103) >> 10) & 0x000F000FU;
      v = high | ((v - high * 10) << 8);
      v |= 0x30303030U;
      std::memcpy(out, &v, 4);
    } else {
      for (std::size_t i = 4; i > 0; --i) {
        out[i - 1] = static_cast<char>('0' + value % 10);
        value /= 10;
      }
    }
  }

  // Copies n bytes in 8-byte moves, the last one overlapping the one before.
  // A field is short, and the compiler makes a byte loop of a memcpy whose
  // length it knows to be small, which costs several times as much.
  static void CopyShort(char* to, const char* from, std::size_t n) {
    if (n >= 8) {
      for (std::size_t i = 0; i + 8 < n; i += 8) std::memcpy(to + i, from + i, 8);
      std::memcpy(to + n - 8, from + n - 8, 8);
    } else if (n >= 4) {
      std::memcpy(to, from, 4);
      std::memcpy(to + n - 4, from + n - 4, 4);
    } else if (n > 0) {
      // n is 1, 2 or 3: these three stores cover every byte.
      to[0] = from[0];
      to[n / 2] = from[n / 2];
      to[n - 1] = from[n - 1];
    }
  }

  char* fRecord;
};

}  // namespace zor::detail
