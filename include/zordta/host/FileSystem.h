// The file operations behind a crash-safe file write, replaceable by hosts and tests.
#pragma once

#include <cstddef>
#include <functional>

#include "zordta/host/Types.h"

namespace zor {

/// POSIX-style calls; each answers -1 and sets errno on failure. An empty member
/// stands for the system call of that name.
struct TFileSystemOps {
  std::function<int(const char* path, int flags, unsigned mode)> open;
  std::function<long(int fd, const void* data, std::size_t size)> write;
  std::function<int(int fd)> fsync;
  std::function<int(int fd)> close;
  std::function<int(const char* from, const char* to)> rename;
  std::function<int(const char* path)> unlink;
};

/// Installs replacement calls; a default-constructed TFileSystemOps restores the system's.
ZORDTA_API void SetFileSystemOps(TFileSystemOps ops);

/// Writes content as the file fileName: into a temporary file in the same folder,
/// flushed to disk, then renamed over the target. A reader sees the old file or
/// the whole new one, never a part. On failure raises Exception, leaves the
/// target untouched and removes the temporary file.
ZORDTA_API void WriteFileAtomically(const String& fileName, const AnsiString& content);

}  // namespace zor
