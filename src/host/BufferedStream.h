// A read-ahead buffer over another stream, so that many small reads of a large
// file cost few system calls and a fixed amount of memory.
#pragma once

#include <memory>
#include <vector>

#include "zordta/host/Classes.h"

namespace zor::detail {

class BufferedReadStream : public TStream {
 public:
  explicit BufferedReadStream(std::unique_ptr<TStream> source, std::size_t bufferSize = 64 * 1024);
  ~BufferedReadStream() override;

  std::int64_t Read(void* buffer, std::int64_t count) override;
  /// Read-only: raises Exception.
  void Write(const void* buffer, std::int64_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  std::int64_t Size() const override { return fSource->Size(); }
  /// Read-only: raises Exception.
  void SetSize(std::int64_t size) override;

 private:
  std::unique_ptr<TStream> fSource;
  std::vector<char> fBuffer;
  std::size_t fStart = 0;  // next unread byte in fBuffer
  std::size_t fEnd = 0;    // end of the valid bytes in fBuffer
};

}  // namespace zor::detail
