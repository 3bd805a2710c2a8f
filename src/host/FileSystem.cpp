#include "zordta/host/FileSystem.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <utility>

#include "host/HostMessages.h"
#include "host/Posix.h"
#include "zordta/detail/DirectWrites.h"
#include "zordta/host/Exception.h"
#include "zordta/host/SysUtils.h"
#include "zordta/host/Text.h"

namespace zor {
namespace detail {
namespace {

// Function-local, so that loading the library runs no constructor.
std::mutex& OpsMutex() {
  static std::mutex mutex;
  return mutex;
}
TFileSystemOps& InstalledOps() {
  static TFileSystemOps ops;
  return ops;
}

// strerror_r comes in a GNU and an XSI flavour; these pick the text from either.
[[maybe_unused]] const char* StrerrorText(int result, const char* buffer) {
  return result == 0 ? buffer : "";
}
[[maybe_unused]] const char* StrerrorText(const char* result, const char*) {
  return result;
}

int LastError() {
  return errno != 0 ? errno : EIO;
}

int WriteAll(int fd, std::string_view content, const TFileSystemOps& ops,
             DirectWrites* direct = nullptr) {
  if (direct) direct->Prepare(content);
  while (!content.empty()) {
    const long written = ops.write(fd, content.data(), content.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      if (direct && direct->Refused(errno)) continue;
      return LastError();
    }
    // A write that makes no progress would loop forever.
    if (written == 0) return EIO;
    content.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

// Makes the rename itself durable; the new content is already safe, so failures are ignored.
void SyncFolder(const std::string& path, const TFileSystemOps& ops) {
  const int fd = ops.open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
  if (fd < 0) return;
  ops.fsync(fd);
  ops.close(fd);
}

}  // namespace

std::string ErrorText(int error) {
  char buffer[256] = {};
  return StrerrorText(::strerror_r(error, buffer, sizeof buffer), buffer);
}

TFileSystemOps SystemFileSystemOps() {
  TFileSystemOps ops;
  ops.open = [](const char* path, int flags, unsigned mode) {
    return ::open(path, flags, static_cast<mode_t>(mode));
  };
  ops.write = [](int fd, const void* data, std::size_t size) -> long {
    return ::write(fd, data, size);
  };
  ops.fsync = [](int fd) { return ::fsync(fd); };
  ops.close = [](int fd) { return ::close(fd); };
  ops.rename = [](const char* from, const char* to) { return ::rename(from, to); };
  ops.unlink = [](const char* path) { return ::unlink(path); };
  return ops;
}

TFileSystemOps CurrentFileSystemOps() {
  TFileSystemOps ops;
  {
    std::lock_guard<std::mutex> lock(OpsMutex());
    ops = InstalledOps();
  }
  TFileSystemOps system = SystemFileSystemOps();
  if (!ops.open) ops.open = std::move(system.open);
  if (!ops.write) ops.write = std::move(system.write);
  if (!ops.fsync) ops.fsync = std::move(system.fsync);
  if (!ops.close) ops.close = std::move(system.close);
  if (!ops.rename) ops.rename = std::move(system.rename);
  if (!ops.unlink) ops.unlink = std::move(system.unlink);
  return ops;
}

int ReplaceFileContent(const std::string& path, std::span<const std::string_view> pieces,
                       const TFileSystemOps& ops) {
  static std::atomic<unsigned long> counter{0};
  std::string temp;
  int fd = -1;
  // A crashed earlier process with the same pid may have left a file of that name.
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = path + "." + std::to_string(::getpid()) + "." + std::to_string(counter++) + ".tmp";
    fd = ops.open(temp.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) break;
  }
  if (fd < 0) return LastError();

  // A run of 16 MiB or more is a large file.
  std::size_t total = 0;
  for (const std::string_view piece : pieces) total += piece.size();
  DirectWrites direct(fd, total >= (std::size_t{16} << 20));
  int error = 0;
  for (std::size_t i = 0; i < pieces.size() && error == 0; ++i) {
    error = WriteAll(fd, pieces[i], ops, &direct);
    direct.Written(pieces[i].size());
  }
  if (error == 0 && ops.fsync(fd) != 0) error = LastError();
  if (error != 0) {
    ops.close(fd);
    ops.unlink(temp.c_str());
    return error;
  }
  // The descriptor is gone even when close fails, so it is not closed again.
  if (ops.close(fd) != 0 || ops.rename(temp.c_str(), path.c_str()) != 0) {
    error = LastError();
    ops.unlink(temp.c_str());
    return error;
  }
  SyncFolder(path, ops);
  return 0;
}

int ReplaceFileContent(const std::string& path, std::string_view content,
                       const TFileSystemOps& ops) {
  return ReplaceFileContent(path, std::span<const std::string_view>(&content, 1), ops);
}

int ReadWholeFile(const std::string& path, std::string& content) {
  content.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return LastError();
  char buffer[8192];
  int error = 0;
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) error = LastError();
    if (n <= 0) break;
    content.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return error;
}

int CreateFolders(const std::string& folder) {
  for (std::size_t slash = folder.find('/', 1); slash != std::string::npos;
       slash = folder.find('/', slash + 1)) {
    if (::mkdir(folder.substr(0, slash).c_str(), 0777) != 0 && errno != EEXIST) return errno;
  }
  if (::mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) return errno;
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0) return errno;
  return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

}  // namespace detail

void SetFileSystemOps(TFileSystemOps ops) {
  std::lock_guard<std::mutex> lock(detail::OpsMutex());
  detail::InstalledOps() = std::move(ops);
}

namespace {

[[noreturn]] void RaiseCreateError(const String& fileName, int error) {
  throw EFCreateError(Format(StringFromUtf8(detail::hostmsg::kFileCreateError),
                             {fileName, StringFromUtf8(detail::ErrorText(error))}));
}

}  // namespace

void WriteFileAtomically(const String& fileName, const AnsiString& content) {
  const std::string_view piece(content);
  detail::WriteFileAtomically(fileName, std::span<const std::string_view>(&piece, 1));
}

namespace detail {

void WriteFileAtomically(const String& fileName, std::span<const std::string_view> pieces) {
  const std::string path = StringToUtf8(fileName);
  const TFileSystemOps ops = detail::CurrentFileSystemOps();

  // A reader that holds the target locked must not see it replaced underneath.
  const int lockFd = ops.open(path.c_str(), O_RDONLY | O_CLOEXEC, 0);
  if (lockFd < 0 && errno != ENOENT) RaiseCreateError(fileName, detail::LastError());
  // Other lock failures mean the file system has no locks, so no reader can hold one.
  if (lockFd >= 0 && ::flock(lockFd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
    ops.close(lockFd);
    throw EFCreateError(Format(StringFromUtf8(detail::hostmsg::kFileInUse), {fileName}));
  }

  const int error = detail::ReplaceFileContent(path, pieces, ops);
  if (lockFd >= 0) ops.close(lockFd);
  if (error != 0) RaiseCreateError(fileName, error);
}

}  // namespace detail

}  // namespace zor
