// The bytes of an open output run. A large file is hundreds of megabytes: kept in
// blocks, it grows without being copied, is held in memory once, and goes to
// disk block by block at Finish.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <vector>

#include "zordta/ByteSink.h"
#include "zordta/host/Types.h"

namespace zor::detail {

class RunBuffer : public ByteSink {
 public:
  void Write(std::string_view bytes) override { Append(bytes); }
  void Append(std::string_view bytes);
  std::int64_t Size() const { return fSize; }
  /// Drops every byte from size on (a trailer that could not be written).
  void Truncate(std::int64_t size);
  /// The blocks in file order, each filled up to its use.
  std::vector<std::string_view> Pieces() const;
  /// A copy of all bytes.
  AnsiString ToString() const;

  /// 2 MiB: the size of a huge page on the common platforms.
  static constexpr std::size_t kBlockSize = std::size_t{1} << 21;

 private:
  struct Free {
    void operator()(char* block) const { std::free(block); }
  };
  void AddBlock();

  std::vector<std::unique_ptr<char, Free>> fBlocks;
  std::int64_t fSize = 0;
};

}  // namespace zor::detail
