// Makes a large file durable while it is still being written. The data a run
// writes is synced every 32 MiB on a thread of its own, so that the disk works
// while the run computes, and the sync before the commit has only the last
// stretch left to wait for. A stretch of page cache handed to the disk as a
// whole at the end costs as long as writing it did again.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <thread>

namespace zcli {

class PeriodicDataSync {
 public:
  static constexpr std::uint64_t kStretch = std::uint64_t{32} << 20;

  /// Syncs `fd` from now on; `fd` stays open until Stop.
  explicit PeriodicDataSync(int fd);
  ~PeriodicDataSync();
  PeriodicDataSync(const PeriodicDataSync&) = delete;
  PeriodicDataSync& operator=(const PeriodicDataSync&) = delete;

  /// After `size` more bytes were written to the file.
  void Written(std::size_t size);
  /// Ends the syncing; answers the errno of the first sync that failed, 0
  /// when none did. Data the disk refused is not written, whichever sync
  /// learns of it first.
  int Stop();

 private:
  void Loop();

  int fFd;
  std::mutex fMutex;
  std::condition_variable fChanged;
  std::uint64_t fWritten = 0;
  std::uint64_t fSynced = 0;
  bool fStop = false;
  int fError = 0;
  std::thread fThread;
};

}  // namespace zcli
