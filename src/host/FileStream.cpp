#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "host/HostMessages.h"
#include "host/Posix.h"
#include "zordta/host/Classes.h"
#include "zordta/host/Exception.h"
#include "zordta/host/SysUtils.h"
#include "zordta/host/Text.h"

namespace zor {

TFileStream::TFileStream(const String& fileName, std::uint16_t mode) : fFileName(fileName) {
  const bool create = (mode & fmCreate) == fmCreate;
  const bool exclusive = (mode & fmShareExclusive) != 0;
  int flags = O_CLOEXEC;
  if (create) {
    // Truncating waits for the lock, so that a file someone holds keeps its content.
    flags |= O_CREAT | O_RDWR | (exclusive ? 0 : O_TRUNC);
  } else if ((mode & 0x3) == fmOpenWrite) {
    flags |= O_WRONLY;
  } else if ((mode & 0x3) == fmOpenReadWrite) {
    flags |= O_RDWR;
  } else {
    flags |= O_RDONLY;
  }

  const std::string path = StringToUtf8(fileName);
  const auto raise = [&](int error) {
    const String message = Format(StringFromUtf8(create ? detail::hostmsg::kFileCreateError
                                                        : detail::hostmsg::kFileOpenError),
                                  {fileName, StringFromUtf8(detail::ErrorText(error))});
    if (create) throw EFCreateError(message);
    throw EFOpenError(message);
  };
  fHandle = ::open(path.c_str(), flags, 0666);
  if (fHandle < 0) raise(errno);

  // Other lock failures mean the file system has no locks, so nobody else can hold one.
  if (exclusive && ::flock(fHandle, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
    ::close(fHandle);
    fHandle = -1;
    const String message = Format(StringFromUtf8(detail::hostmsg::kFileInUse), {fileName});
    if (create) throw EFCreateError(message);
    throw EFOpenError(message);
  }
  if (create && exclusive && ::ftruncate(fHandle, 0) != 0) {
    const int error = errno;
    ::close(fHandle);
    fHandle = -1;
    raise(error);
  }
}

TFileStream::~TFileStream() {
  if (fHandle >= 0) ::close(fHandle);
}

std::int64_t TFileStream::Read(void* buffer, std::int64_t count) {
  auto* out = static_cast<char*>(buffer);
  std::int64_t done = 0;
  while (done < count) {
    const ssize_t n = ::read(fHandle, out + done, static_cast<std::size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw EReadError(StringFromUtf8(detail::hostmsg::kStreamReadError));
    if (n == 0) break;
    done += n;
  }
  return done;
}

void TFileStream::Write(const void* buffer, std::int64_t count) {
  const auto* in = static_cast<const char*>(buffer);
  std::int64_t done = 0;
  while (done < count) {
    const ssize_t n = ::write(fHandle, in + done, static_cast<std::size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw EWriteError(StringFromUtf8(detail::hostmsg::kStreamWriteError));
    done += n;
  }
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  const int whence = origin == soBeginning ? SEEK_SET : origin == soCurrent ? SEEK_CUR : SEEK_END;
  return ::lseek(fHandle, static_cast<off_t>(offset), whence);
}

std::int64_t TFileStream::Size() const {
  struct stat info {};
  if (::fstat(fHandle, &info) != 0) return -1;
  return info.st_size;
}

void TFileStream::SetSize(std::int64_t size) {
  const std::int64_t position = Position();
  if (size < 0 || ::ftruncate(fHandle, static_cast<off_t>(size)) != 0) {
    throw EWriteError(StringFromUtf8(detail::hostmsg::kStreamWriteError));
  }
  // As with memory streams, a position beyond the new end moves back to it.
  if (position > size) Seek(size, soBeginning);
}

}  // namespace zor
