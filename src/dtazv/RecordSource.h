// The bytes of a DTAZV file taken from a stream record by record, with the
// offset of each in the file. The stream's own buffer does the blocking.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>

namespace zor::detail::dtazv {

class RecordSource {
 public:
  explicit RecordSource(std::istream& in) : fIn(in) {}

  /// Up to width bytes into out; fewer only at the end. Answers how many.
  std::size_t Take(char* out, std::size_t width);
  /// The byte at the current offset, or -1 at the end.
  int Peek();
  void Skip();
  /// The offset of the next byte to be read.
  std::uint64_t Offset() const { return fOffset; }
  /// True when the stream failed, not just ended.
  bool Broken() const;

 private:
  std::istream& fIn;
  std::uint64_t fOffset = 0;
};

}  // namespace zor::detail::dtazv
