#include "core/RunBuffer.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace zor::detail {

void RunBuffer::AddBlock() {
  // Left uninitialised: only the pages written to ever become resident.
  char* block = static_cast<char*>(std::aligned_alloc(kBlockSize, kBlockSize));
  if (!block) throw std::bad_alloc();
#if defined(MADV_HUGEPAGE)
  // A run that outgrows its first block is a large file. Its further blocks are
  // offered to the kernel as huge pages: one page fault per 2 MiB instead of 512,
  // which on a virtual machine is most of the cost of filling the buffer. The
  // first block stays in small pages, so a small file keeps a small footprint.
  if (!fBlocks.empty()) ::madvise(block, kBlockSize, MADV_HUGEPAGE);
#endif
  fBlocks.emplace_back(block);
}

void RunBuffer::Append(std::string_view bytes) {
  while (!bytes.empty()) {
    const auto used = static_cast<std::size_t>(fSize) % kBlockSize;
    if (used == 0 && static_cast<std::size_t>(fSize) / kBlockSize == fBlocks.size()) AddBlock();
    const std::size_t take = std::min(bytes.size(), kBlockSize - used);
    std::memcpy(fBlocks.back().get() + used, bytes.data(), take);
    fSize += static_cast<std::int64_t>(take);
    bytes.remove_prefix(take);
  }
}

void RunBuffer::Truncate(std::int64_t size) {
  if (size < 0 || size >= fSize) return;
  fSize = size;
  fBlocks.resize((static_cast<std::size_t>(size) + kBlockSize - 1) / kBlockSize);
}

std::vector<std::string_view> RunBuffer::Pieces() const {
  std::vector<std::string_view> pieces;
  pieces.reserve(fBlocks.size());
  auto left = static_cast<std::size_t>(fSize);
  for (const auto& block : fBlocks) {
    const std::size_t length = std::min(left, kBlockSize);
    pieces.emplace_back(block.get(), length);
    left -= length;
  }
  return pieces;
}

AnsiString RunBuffer::ToString() const {
  AnsiString content;
  content.reserve(static_cast<std::size_t>(fSize));
  for (const std::string_view piece : Pieces()) content.append(piece);
  return content;
}

}  // namespace zor::detail
