// How a large file goes to disk. Straight to the disk, past the page cache,
// where the file system allows it: hundreds of megabytes of fresh cache pages
// cost more than the disk itself, and on a virtual machine their cost swings
// from run to run. Only whole sectors from aligned memory can go that way; any
// other piece, or a refused write, sends the rest through the page cache, and
// that is handed to the disk every 16 MiB, so that the sync at the end has
// little left to wait for. Header only: the tool writes its SEPA documents the
// same way.
#pragma once

#include <fcntl.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zor::detail {

class DirectWrites {
 public:
  static constexpr std::size_t kSector = 4096;

  /// `large`: the file is worth writing past the cache; a small one is left as it is.
  DirectWrites(int fd, bool large) : fFd(fd) {
#ifdef O_DIRECT
    if (!large) return;
    // A test's stand-in for a descriptor has no flags to set.
    const int flags = ::fcntl(fd, F_GETFL);
    fOn = flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_DIRECT) == 0;
#else
    (void)large;
#endif
  }

  /// Before `piece` is written: leaves the direct way when the piece cannot take it.
  void Prepare(std::string_view piece) {
    if (fOn && (reinterpret_cast<std::uintptr_t>(piece.data()) % kSector != 0 ||
                piece.size() % kSector != 0)) {
      Off();
    }
  }

  /// True when a failed write is to be tried again through the page cache.
  bool Refused(int error) {
    if (!fOn || error != EINVAL) return false;
    Off();
    return true;
  }

  /// After `size` more bytes were written.
  void Written(std::size_t size) {
    fWritten += static_cast<std::int64_t>(size);
#ifdef __linux__
    if (fOn || fWritten - fWritebackFrom < kWritebackStretch) return;
    // Only starts the writing; a stand-in descriptor just fails.
    ::sync_file_range(fFd, fWritebackFrom, fWritten - fWritebackFrom, SYNC_FILE_RANGE_WRITE);
    fWritebackFrom = fWritten;
#endif
  }

 private:
  static constexpr std::int64_t kWritebackStretch = std::int64_t{16} << 20;

  void Off() {
#ifdef O_DIRECT
    ::fcntl(fFd, F_SETFL, ::fcntl(fFd, F_GETFL) & ~O_DIRECT);
#endif
    fOn = false;
  }

  int fFd;
  bool fOn = false;
  std::int64_t fWritten = 0;
  std::int64_t fWritebackFrom = 0;
};

}  // namespace zor::detail
