// An input a command reads twice: first to check it whole, then to print it.
// A regular file is opened again for the second reading; standard input and a
// pipe cannot be, so their bytes are kept from the first.
#pragma once

#include <fstream>
#include <istream>
#include <streambuf>
#include <string>
#include <string_view>
#include <utility>

namespace zcli {

class InputReadTwice {
 public:
  /// "-" is standard input.
  explicit InputReadTwice(std::string path) : fPath(std::move(path)) {}

  /// Before the first reading: keeps the bytes of an input that cannot be
  /// opened again. Raises zor::Exception naming the input when it cannot be read.
  void Prepare();

  /// Hands `use` a stream over the whole input, from its start. Raises
  /// zor::Exception naming the file when it cannot be opened or is a folder.
  template <class Use>
  void Read(Use&& use) const {
    if (fInMemory) {
      ViewBuffer buffer(fBytes);
      std::istream in(&buffer);
      use(in);
      return;
    }
    std::ifstream in;
    Open(in);
    use(in);
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

  void Open(std::ifstream& in) const;

  std::string fPath;
  bool fInMemory = false;
  std::string fBytes;
};

}  // namespace zcli
