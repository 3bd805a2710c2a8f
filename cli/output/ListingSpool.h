// A listing whose head is known only once the input is read whole. The text
// after the head is collected here, in memory while it is small and in an
// unnamed temporary file beyond, so that a file of any size is printed in the
// same small memory; a refused input, whose spool is dropped, prints nothing.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace zcli {

class ListingSpool {
 public:
  /// Stands before a piece of text that the replay may leave out. The piece
  /// has a fixed length, so it needs no end mark; the byte never appears in a
  /// listing's text, where control characters are escaped.
  static constexpr char kOptional = '\x01';

  explicit ListingSpool(std::size_t memoryLimit = kMemoryLimit);
  ~ListingSpool();
  ListingSpool(const ListingSpool&) = delete;
  ListingSpool& operator=(const ListingSpool&) = delete;

  std::string& Text() { return fText; }
  /// Moves the text to the file once it is large. Raises OutputError when the
  /// file cannot be made or written (TMPDIR, else /tmp).
  void Ready();

  using Put = std::function<void(std::string_view)>;

  /// Everything spooled, in order and in pieces, to `put`. Each optional
  /// piece of `optionalSize` bytes is kept without its mark or, with
  /// `dropOptional`, left out; with `optionalSize` 0 the text holds no marks.
  void Replay(const Put& put, std::size_t optionalSize, bool dropOptional);

 private:
  static constexpr std::size_t kMemoryLimit = 1 << 20;

  void Spill();
  void Unmark(std::string_view piece, const Put& put);

  std::size_t fMemoryLimit;
  std::string fText;
  int fFile = -1;
  std::string fFolder;
  // The replay's state across pieces.
  std::size_t fOptionalSize = 0;
  bool fDrop = false;
  std::size_t fSkip = 0;  // bytes of an optional piece still to leave out
};

}  // namespace zcli
