// Standard output is checked like any file: a full disk or /dev/full is a
// fault that ends with a message, not a silent exit 0.
#pragma once

#include <streambuf>
#include <string>

namespace zcli {

/// std::cout's buffer while it lives, writing to descriptor 1 itself: it keeps
/// the reason of the first failed write, which stdio loses once any later call
/// sets errno (a line to std::cerr flushes std::cout first, say).
class StandardOutputBuffer : public std::streambuf {
 public:
  StandardOutputBuffer();
  ~StandardOutputBuffer() override;
  StandardOutputBuffer(const StandardOutputBuffer&) = delete;
  StandardOutputBuffer& operator=(const StandardOutputBuffer&) = delete;

  /// The errno of the first failed write; 0 when none.
  int Error() const { return fError; }

 protected:
  int_type overflow(int_type c) override;
  int sync() override;

 private:
  bool Drain();

  static constexpr std::size_t kSize = std::size_t{1} << 16;
  char fData[kSize];
  int fError = 0;
  std::streambuf* fSaved;
};

/// Flushes std::cout; on failure prints the reason once and answers false.
bool FlushStandardOutput();

/// Raises OutputError when std::cout failed (for long listings that should
/// stop at the first failed piece).
void CheckStandardOutput();

}  // namespace zcli
