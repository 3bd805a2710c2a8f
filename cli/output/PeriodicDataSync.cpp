#include "output/PeriodicDataSync.h"

#include <unistd.h>

#include <cerrno>

#include "io/SignalFreeThread.h"

namespace zcli {

PeriodicDataSync::PeriodicDataSync(int fd) : fFd(fd) {
  fThread = StartWithoutSignals(&PeriodicDataSync::Loop, this);
}

PeriodicDataSync::~PeriodicDataSync() {
  Stop();
}

void PeriodicDataSync::Written(std::size_t size) {
  bool due = false;
  {
    const std::lock_guard<std::mutex> lock(fMutex);
    fWritten += size;
    due = fWritten - fSynced >= kStretch;
  }
  if (due) fChanged.notify_one();
}

int PeriodicDataSync::Stop() {
  {
    const std::lock_guard<std::mutex> lock(fMutex);
    fStop = true;
  }
  fChanged.notify_one();
  if (fThread.joinable()) fThread.join();
  return fError;
}

void PeriodicDataSync::Loop() {
  std::unique_lock<std::mutex> lock(fMutex);
  for (;;) {
    fChanged.wait(lock, [this] { return fStop || fWritten - fSynced >= kStretch; });
    if (fStop) return;
    const std::uint64_t upTo = fWritten;
    lock.unlock();
    // A stand-in descriptor of a test (a pipe, /dev/full) cannot be synced: EINVAL.
    const int error = ::fdatasync(fFd) == 0 || errno == EINVAL || errno == EROFS ? 0 : errno;
    lock.lock();
    fSynced = upTo;
    if (error != 0 && fError == 0) fError = error;
    if (fError != 0) return;
  }
}

}  // namespace zcli
