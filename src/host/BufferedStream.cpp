#include "host/BufferedStream.h"

#include <algorithm>
#include <cstring>

#include "host/HostMessages.h"
#include "zordta/host/Exception.h"
#include "zordta/host/Text.h"

namespace zor::detail {

BufferedReadStream::BufferedReadStream(std::unique_ptr<TStream> source, std::size_t bufferSize)
    : fSource(std::move(source)), fBuffer(std::max<std::size_t>(bufferSize, 1)) {}

BufferedReadStream::~BufferedReadStream() = default;

std::int64_t BufferedReadStream::Read(void* buffer, std::int64_t count) {
  auto* out = static_cast<char*>(buffer);
  std::int64_t done = 0;
  while (done < count) {
    if (fStart == fEnd) {
      const std::int64_t got =
          fSource->Read(fBuffer.data(), static_cast<std::int64_t>(fBuffer.size()));
      if (got <= 0) break;
      fStart = 0;
      fEnd = static_cast<std::size_t>(got);
    }
    const std::size_t n = std::min(fEnd - fStart, static_cast<std::size_t>(count - done));
    std::memcpy(out + done, fBuffer.data() + fStart, n);
    fStart += n;
    done += static_cast<std::int64_t>(n);
  }
  return done;
}

void BufferedReadStream::Write(const void*, std::int64_t) {
  throw Exception(StringFromUtf8(hostmsg::kStreamWriteError));
}

void BufferedReadStream::SetSize(std::int64_t) {
  throw Exception(StringFromUtf8(hostmsg::kStreamWriteError));
}

std::int64_t BufferedReadStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  const auto buffered = static_cast<std::int64_t>(fEnd - fStart);
  if (origin == soCurrent) {
    if (offset == 0) return fSource->Position() - buffered;
    offset -= buffered;  // the source stands ahead of the reader by what is buffered
  }
  fStart = fEnd = 0;
  return fSource->Seek(offset, origin);
}

}  // namespace zor::detail
