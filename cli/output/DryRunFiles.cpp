#include "output/DryRunFiles.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <set>

#include "output/LibraryWrites.h"
#include "zordta/host/FileSystem.h"

namespace zcli {

namespace {

// Far above any descriptor this process opens: answered here, never by the system.
constexpr int kFirstFakeDescriptor = 1 << 30;

struct State {
  std::string target;
  std::set<int> fakes;
  int next = kFirstFakeDescriptor;

  // The target itself and its temporary files, but not a sheet written beside it.
  bool Covers(const char* path) const { return path == target || IsLibraryTempOf(path, target); }
};

}  // namespace

DryRunFiles::DryRunFiles(std::string target) {
  auto state = std::make_shared<State>();
  state->target = std::move(target);
  zor::TFileSystemOps ops;
  ops.open = [state](const char* path, int flags, unsigned mode) {
    if (!state->Covers(path)) return ::open(path, flags, static_cast<mode_t>(mode));
    if ((flags & O_CREAT) == 0) {
      // The target "does not exist", so nobody's lock on it is waited for.
      errno = ENOENT;
      return -1;
    }
    state->fakes.insert(state->next);
    return state->next++;
  };
  ops.write = [state](int fd, const void* data, std::size_t size) -> long {
    if (state->fakes.count(fd)) return static_cast<long>(size);
    return ::write(fd, data, size);
  };
  ops.fsync = [state](int fd) { return state->fakes.count(fd) ? 0 : ::fsync(fd); };
  ops.close = [state](int fd) { return state->fakes.erase(fd) ? 0 : ::close(fd); };
  ops.rename = [state](const char* from, const char* to) {
    return state->Covers(to) ? 0 : ::rename(from, to);
  };
  ops.unlink = [state](const char* path) { return state->Covers(path) ? 0 : ::unlink(path); };
  zor::SetFileSystemOps(std::move(ops));
}

DryRunFiles::~DryRunFiles() {
  zor::SetFileSystemOps(zor::TFileSystemOps());
}

}  // namespace zcli
