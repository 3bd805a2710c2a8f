// An output stream onto a file the run writes in one go, such as a payment
// file or a SEPA document of hundreds of megabytes. Full blocks go to the file
// on a thread of their own, while the next block fills; the page cache is
// handed to the disk every 16 MiB (zordta/detail/DirectWrites.h) and synced
// every 32 MiB (PeriodicDataSync.h), so that the disk keeps pace with the run.
// Writing past the page cache instead made the run wait for every block.
#pragma once

#include <condition_variable>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <ostream>
#include <streambuf>
#include <string>
#include <thread>

namespace zor::detail {
class DirectWrites;
}

namespace zcli {

class PeriodicDataSync;

class FileOutBuffer : public std::streambuf {
 public:
  FileOutBuffer() = default;
  FileOutBuffer(const FileOutBuffer&) = delete;
  FileOutBuffer& operator=(const FileOutBuffer&) = delete;
  ~FileOutBuffer() override;

  /// Opens `path` for writing, emptied; false when it cannot be opened (errno).
  bool Open(const std::string& path);
  /// Writes what is left and closes; false when any write failed (errno).
  bool Close();
  /// The errno of the first failure to open, write or close; 0 when none.
  int Error() const;

  static constexpr std::size_t kBlockSize = std::size_t{1} << 20;

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* data, std::streamsize size) override;
  int sync() override;

 private:
  /// Hands the filled block to the writing thread and fills the other one.
  bool HandOver();
  /// Waits until the writing thread has nothing left; false after a failed write.
  bool WaitIdle();
  void WriteLoop();
  void WriteOut(const char* data, std::size_t size);

  struct Free {
    void operator()(char* block) const { std::free(block); }
  };

  int fFd = -1;
  std::unique_ptr<zor::detail::DirectWrites> fWriteback;  ///< used by the writing thread
  std::unique_ptr<PeriodicDataSync> fSync;
  std::unique_ptr<char, Free> fBlocks[2];
  int fFilling = 0;

  std::thread fWriter;
  mutable std::mutex fMutex;
  std::condition_variable fChanged;
  const char* fPending = nullptr;  ///< the block the writer is to write, or null
  std::size_t fPendingSize = 0;
  bool fStop = false;
  int fError = 0;        ///< errno of the first failed write
  int fOpenOrClose = 0;  ///< errno of a failed open or close
};

/// Like `std::ofstream`: opened at construction, `good()` tells whether it was.
class FileOut : public std::ostream {
 public:
  explicit FileOut(const std::string& path);
  /// Writes what is left and closes; sets the fail bit when anything was not written.
  void close();
  /// Why it failed: the errno of the first failure, 0 when none.
  int Error() const { return fBuffer.Error(); }

 private:
  FileOutBuffer fBuffer;
};

}  // namespace zcli
