// A field of a fixed-width record: where it starts and how many bytes it takes.
// Offsets count from 0 at the start of the record, or of the record part the
// layout describes.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string_view>

namespace zor::detail {

struct Field {
  std::size_t offset;
  std::size_t width;

  constexpr std::size_t End() const { return offset + width; }
};

/// The field that spans two adjacent ones, first and then second.
constexpr Field Joined(Field first, Field second) {
  return {first.offset, second.End() - first.offset};
}

/// True when the fields, in order, follow each other without gap or overlap
/// from offset 0 and end exactly at length.
constexpr bool Tiles(std::size_t length, std::initializer_list<Field> fields) {
  std::size_t at = 0;
  for (const Field& field : fields) {
    if (field.offset != at || field.width == 0) return false;
    at = field.End();
  }
  return at == length;
}

/// The bytes of the field within a record (or part) that holds them.
constexpr std::string_view At(std::string_view record, Field field) {
  return record.substr(field.offset, field.width);
}

}  // namespace zor::detail
