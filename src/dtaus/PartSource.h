// The bytes of a file read from a stream in large blocks, handed out as views
// of whole record parts, with the offset of each in the file. A view lasts
// until the next call that reads.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

namespace zor::detail::dtaus {

class PartSource {
 public:
  explicit PartSource(std::istream& in) : fIn(in) {}

  /// Up to `width` bytes from the current offset on; fewer only at the end.
  std::string_view Take(std::size_t width);
  /// The byte at the current offset, or -1 at the end.
  int Peek();
  /// Up to `width` bytes from the current offset on, left to be read.
  std::string_view Look(std::size_t width);
  /// The offset of the next byte to be read.
  std::uint64_t Offset() const { return fStart + fPosition; }

 private:
  /// Makes `width` bytes available from fPosition on, as far as the stream has them.
  void Fill(std::size_t width);
  std::string_view Held() const { return std::string_view(fBuffer.data(), fEnd); }

  static constexpr std::size_t kBlock = 256 * 1024;
  std::istream& fIn;
  // Its size only grows: resizing it for every block cleared the whole block
  // before each read. fEnd marks the bytes read.
  std::string fBuffer;
  std::size_t fEnd = 0;
  std::size_t fPosition = 0;  // in fBuffer
  std::uint64_t fStart = 0;   // file offset of fBuffer[0]
  bool fEnded = false;
};

}  // namespace zor::detail::dtaus
