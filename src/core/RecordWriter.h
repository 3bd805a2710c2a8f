// Fills the fixed-width fields of a record left to right, as the "%.Nd" and
// "%-N.Ns" conversions would, but straight into the record's bytes: one booking
// writes dozens of fields, and formatting each into a string of its own cost
// more than everything else the booking does.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace zor::detail {

class RecordWriter {
 public:
  explicit RecordWriter(char* record) : fStart(record), fAt(record) {}

  /// The text as it stands.
  void Text(std::string_view text) {
    // An empty view may have no data at all, which memcpy must not be given.
    if (!text.empty()) std::memcpy(fAt, text.data(), text.size());
    fAt += text.size();
  }

  void Blanks(std::size_t count) {
    std::memset(fAt, ' ', count);
    fAt += count;
  }

  /// "%.Nd" with N = width for a value of at most width digits; the writers
  /// check every value against its field before they build a record.
  void Digits(std::uint64_t value, std::size_t width) {
    for (std::size_t i = width; i > 0; --i) {
      fAt[i - 1] = static_cast<char>('0' + value % 10);
      value /= 10;
    }
    fAt += width;
  }

  /// "%-N.Ns": the text cut to width and filled up with blanks.
  void Field(std::string_view text, std::size_t width) {
    const std::size_t length = std::min(text.size(), width);
    if (length != 0) std::memcpy(fAt, text.data(), length);
    std::memset(fAt + length, ' ', width - length);
    fAt += width;
  }

  std::string_view Written() const { return {fStart, static_cast<std::size_t>(fAt - fStart)}; }

 private:
  char* fStart;
  char* fAt;
};

}  // namespace zor::detail
