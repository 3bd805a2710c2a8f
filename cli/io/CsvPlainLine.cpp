#include "io/CsvPlainLine.h"

#include <cstdint>
#include <cstring>

#include "io/ByteScan.h"

namespace zcli {

namespace {

// libcsv's blanks, which it drops around a cell; a tab that is the delimiter is
// none. Most bytes are above the blank: one comparison rules them out.
bool IsBlank(char c, char delimiter) {
  return static_cast<unsigned char>(c) <= ' ' && (c == ' ' || c == '\t') && c != delimiter;
}

}  // namespace

bool SplitPlainCsvLine(std::string_view line, char delimiter,
                       std::vector<std::string_view>& cells) {
  std::size_t end = line.size();
  if (end > 0 && line[end - 1] == '\n') --end;
  if (end > 0 && line[end - 1] == '\r') --end;
  const char* const text = line.data();
  // A CR ends a row for libcsv, wherever it stands outside quotes.
  if (std::memchr(text, '\r', end) != nullptr) return false;
  std::size_t at = 0;
  const auto skipBlanks = [&] {
    while (at < end && IsBlank(text[at], delimiter)) ++at;
  };
  skipBlanks();
  if (at == end) return false;
  cells.clear();
  while (true) {
    if (at < end && text[at] == '"') {
      const auto* close = static_cast<const char*>(std::memchr(text + at + 1, '"', end - at - 1));
      if (close == nullptr) return false;
      const auto closeAt = static_cast<std::size_t>(close - text);
      cells.emplace_back(text + at + 1, closeAt - at - 1);
      at = closeAt + 1;
      skipBlanks();
      // A doubled quote, or anything but the delimiter after the closing one.
      if (at < end && text[at] != delimiter) return false;
    } else {
      const std::size_t start = at;
      while (end - at >= 8) {
        const std::uint64_t word = bytescan::Load(text + at);
        const std::uint64_t marked =
            bytescan::BytesEqual(word, delimiter) | bytescan::BytesEqual(word, '"');
        if (marked != 0) {
          at += bytescan::FirstMarked(marked);
          break;
        }
        at += 8;
      }
      while (at < end && text[at] != delimiter) {
        if (text[at] == '"') return false;
        ++at;
      }
      std::size_t last = at;
      while (last > start && IsBlank(text[last - 1], delimiter)) --last;
      cells.emplace_back(text + start, last - start);
    }
    if (at == end) return true;
    ++at;  // the delimiter
    skipBlanks();
  }
}

}  // namespace zcli
