#include "output/FileOut.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>
#include <string_view>

#include "io/SignalFreeThread.h"
#include "output/PeriodicDataSync.h"
#include "zordta/detail/DirectWrites.h"

namespace zcli {

bool FileOutBuffer::Open(const std::string& path) {
  for (auto& block : fBlocks) {
    // Whole pages copy fastest into the page cache.
    block.reset(
        static_cast<char*>(std::aligned_alloc(zor::detail::DirectWrites::kSector, kBlockSize)));
    if (!block) throw std::bad_alloc();
  }
  fFd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fFd < 0) {
    fOpenOrClose = errno;
    return false;
  }
  fWriteback = std::make_unique<zor::detail::DirectWrites>(fFd, false);
  fSync = std::make_unique<PeriodicDataSync>(fFd);
  setp(fBlocks[0].get(), fBlocks[0].get() + kBlockSize);
  fWriter = StartWithoutSignals(&FileOutBuffer::WriteLoop, this);
  return true;
}

FileOutBuffer::~FileOutBuffer() {
  if (fFd >= 0) Close();
}

void FileOutBuffer::WriteOut(const char* data, std::size_t size) {
  const std::size_t whole = size;
  while (size > 0) {
    const ssize_t n = ::write(fFd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const std::lock_guard<std::mutex> lock(fMutex);
      fError = n < 0 ? errno : EIO;
      return;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  fWriteback->Written(whole);
  fSync->Written(whole);
}

void FileOutBuffer::WriteLoop() {
  std::unique_lock<std::mutex> lock(fMutex);
  for (;;) {
    fChanged.wait(lock, [this] { return fPending != nullptr || fStop; });
    if (!fPending) return;
    const char* data = fPending;
    const std::size_t size = fPendingSize;
    const bool failed = fError != 0;
    lock.unlock();
    if (!failed) WriteOut(data, size);
    lock.lock();
    fPending = nullptr;
    fChanged.notify_all();
  }
}

bool FileOutBuffer::WaitIdle() {
  std::unique_lock<std::mutex> lock(fMutex);
  fChanged.wait(lock, [this] { return fPending == nullptr; });
  return fError == 0;
}

bool FileOutBuffer::HandOver() {
  const auto used = static_cast<std::size_t>(pptr() - pbase());
  if (used == 0) return WaitIdle();
  {
    std::unique_lock<std::mutex> lock(fMutex);
    // The writer still holds the other block until it is done with it.
    fChanged.wait(lock, [this] { return fPending == nullptr; });
    if (fError != 0) return false;
    fPending = fBlocks[fFilling].get();
    fPendingSize = used;
  }
  fChanged.notify_all();
  fFilling = 1 - fFilling;
  setp(fBlocks[fFilling].get(), fBlocks[fFilling].get() + kBlockSize);
  return true;
}

FileOutBuffer::int_type FileOutBuffer::overflow(int_type c) {
  if (fFd < 0 || !HandOver()) return traits_type::eof();
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  *pptr() = traits_type::to_char_type(c);
  pbump(1);
  return c;
}

std::streamsize FileOutBuffer::xsputn(const char* data, std::streamsize size) {
  if (fFd < 0) return 0;
  std::streamsize done = 0;
  while (done < size) {
    if (pptr() == epptr() && !HandOver()) return done;
    const auto room = static_cast<std::streamsize>(epptr() - pptr());
    const std::streamsize piece = std::min(room, size - done);
    std::memcpy(pptr(), data + done, static_cast<std::size_t>(piece));
    pbump(static_cast<int>(piece));
    done += piece;
  }
  return done;
}

int FileOutBuffer::sync() {
  return fFd >= 0 && HandOver() && WaitIdle() ? 0 : -1;
}

bool FileOutBuffer::Close() {
  if (fFd < 0) return false;
  const bool written = HandOver() && WaitIdle();
  {
    const std::lock_guard<std::mutex> lock(fMutex);
    fStop = true;
  }
  fChanged.notify_all();
  fWriter.join();
  int error = fError;
  if (const int syncError = fSync->Stop(); error == 0) error = syncError;
  // The descriptor is gone even when close fails.
  if (::close(fFd) != 0 && error == 0) error = errno;
  fFd = -1;
  if (!written && error == 0) error = EIO;
  fOpenOrClose = error;
  errno = error;
  return error == 0;
}

int FileOutBuffer::Error() const {
  const std::lock_guard<std::mutex> lock(fMutex);
  return fError != 0 ? fError : fOpenOrClose;
}

FileOut::FileOut(const std::string& path) : std::ostream(nullptr) {
  rdbuf(&fBuffer);
  if (!fBuffer.Open(path)) setstate(std::ios::failbit);
}

void FileOut::close() {
  if (!fBuffer.Close()) setstate(std::ios::failbit);
}

}  // namespace zcli
