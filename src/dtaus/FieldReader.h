// Reads the fixed-width fields of a DTAUS file in order. A field is a view into
// the bytes at hand: the whole content when it is in memory, or a 64 KiB window
// that is refilled from the file, so reading allocates nothing per field and a
// file of any size needs the same small memory. Past the end, fields read as
// blanks, so a truncated file always ends in a message instead of a hang.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "zordta/host/Classes.h"

namespace zor::detail {

class FieldReader {
 public:
  /// Over bytes the caller keeps alive while reading.
  explicit FieldReader(std::string_view content) : fData(content) {}
  /// Over a stream, read from its position on.
  explicit FieldReader(TStream& stream) : fStream(&stream) {}

  /// The next width bytes; valid until the next call.
  std::string_view Field(std::size_t width) {
    if (fData.size() - fPosition < width) Refill(width);
    const std::string_view field = fData.substr(fPosition, width);
    fPosition += width;
    return field;
  }
  void Skip(std::size_t width) { Field(width); }

 private:
  void Refill(std::size_t width);

  static constexpr std::size_t kWindow = 64 * 1024;
  TStream* fStream = nullptr;  // none once the stream has ended
  std::string fWindow;         // the bytes at hand when they are not the caller's
  std::string_view fData;
  std::size_t fPosition = 0;
};

}  // namespace zor::detail
