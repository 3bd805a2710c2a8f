// Line and column of offsets in a text that a scan passes in order. Each byte
// is counted once, so a scan that reports a fault on every line of a large
// file stays linear.
#pragma once

#include <cstddef>
#include <string_view>

#include "zordta/Config.h"
#include "zordta/entry/Utf8Check.h"

namespace zor::entry {

class ZORDTA_API TextPosition {
 public:
  /// `text` starts a line, line `firstLine`.
  explicit TextPosition(std::string_view text, std::size_t firstLine = 1)
      : fText(text), fLine(firstLine) {}

  /// The scan passed the line break at `offset`.
  void LineBreakAt(std::size_t offset) {
    ++fLine;
    fCountedTo = offset + 1;
    fColumn = 1;
  }
  std::size_t Line() const { return fLine; }
  /// The column (1-based, in characters) of an offset on the current line, not
  /// before the last one asked for.
  std::size_t ColumnOf(std::size_t offset) {
    fColumn += CharCount(fText.substr(fCountedTo, offset - fCountedTo));
    fCountedTo = offset;
    return fColumn;
  }

 private:
  std::string_view fText;
  std::size_t fLine = 1;
  std::size_t fColumn = 1;
  std::size_t fCountedTo = 0;
};

}  // namespace zor::entry
