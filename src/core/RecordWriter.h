// Fills the fixed-width fields of a record, as the "%.Nd", "%Nd" and "%-N.Ns"
// conversions would, but straight into the record's bytes at the field's
// offset: one booking writes dozens of fields, and formatting each into a
// string of its own cost more than everything else the booking does. The
// fields are constants, so each write compiles to a store at a fixed place.
#pragma once

#include <algorithm>
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
    // An empty view may have no data at all, which memcpy must not be given.
    if (length != 0) std::memcpy(at, text.data(), length);
    std::memset(at + length, ' ', field.width - length);
  }

  void Blanks(Field field) { std::memset(fRecord + field.offset, ' ', field.width); }

  /// "%.Nd" for a value of at most N digits; the writers check every value
  /// against its field before they build a record.
  void Digits(Field field, std::uint64_t value) {
    char* at = fRecord + field.offset;
    for (std::size_t i = field.width; i > 0; --i) {
      at[i - 1] = static_cast<char>('0' + value % 10);
      value /= 10;
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
  char* fRecord;
};

}  // namespace zor::detail
