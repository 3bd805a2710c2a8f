// An input a command reads twice: first to check it whole, then to print it.
// A regular file is opened again for the second reading, and each reading sums
// the bytes it got, so that a file that changed in between is told apart even
// where its figures stay the same. Standard input and a pipe cannot be opened
// again, so their bytes are kept from the first reading.
#pragma once

#include <cstdint>
#include <istream>
#include <streambuf>
#include <string>
#include <string_view>
#include <utility>

#include "io/FileBytes.h"

namespace zcli {

class InputReadTwice {
 public:
  /// "-" is standard input.
  explicit InputReadTwice(std::string path) : fPath(std::move(path)) {}

  /// Before the first reading: keeps the bytes of an input that cannot be
  /// opened again. Raises zor::Exception naming the input when it cannot be read.
  void Prepare();

  /// Hands `use` a stream over the whole input, from its start, and answers a
  /// checksum of the bytes `use` read; an input kept in memory cannot change
  /// and gives 0. Raises zor::Exception naming the file when it cannot be
  /// opened or is a folder.
  template <class Use>
  std::uint64_t Read(Use&& use) const {
    if (fInMemory) {
      ViewBuffer buffer(fBytes);
      std::istream in(&buffer);
      use(in);
      return 0;
    }
    SummedFileBuffer buffer(fPath);
    std::istream in(&buffer);
    use(in);
    return buffer.Checksum();
  }

 private:
  // Bytes in memory as a stream, without a copy.
  class ViewBuffer : public std::streambuf {
   public:
    explicit ViewBuffer(std::string_view bytes) {
      char* begin = const_cast<char*>(bytes.data());
      setg(begin, begin, begin + bytes.size());
    }
  };

  std::string fPath;
  bool fInMemory = false;
  std::string fBytes;
};

}  // namespace zcli
