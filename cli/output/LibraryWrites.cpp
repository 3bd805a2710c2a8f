#include "output/LibraryWrites.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <set>

#include "zordta/host/FileSystem.h"

namespace zcli {

bool IsLibraryTempOf(const std::string& path, const std::string& target) {
  const std::string prefix = target + ".";
  const std::string suffix = ".tmp";
  if (path.size() <= prefix.size() + suffix.size() || path.compare(0, prefix.size(), prefix) != 0 ||
      path.compare(path.size() - suffix.size(), suffix.size(), suffix) != 0) {
    return false;
  }
  const std::string middle =
      path.substr(prefix.size(), path.size() - prefix.size() - suffix.size());
  return middle.find_first_not_of("0123456789.") == std::string::npos;
}

namespace {

struct Redirect {
  const StagedFiles* staged = nullptr;
  std::set<std::string> redirected;  // the library's temporary names, never created
  std::shared_ptr<int> error;
};

// The call's result as it is, its errno kept for Error().
template <class Result>
Result Noted(Result result, int& error) {
  if (result < 0) error = errno;
  return result;
}

}  // namespace

LibraryWritesInto::LibraryWritesInto(const StagedFiles& staged, bool append)
    : fError(std::make_shared<int>(0)) {
  auto state = std::make_shared<Redirect>();
  state->staged = &staged;
  state->error = fError;
  zor::TFileSystemOps ops;
  const int mode = append ? O_APPEND : O_TRUNC;
  ops.open = [state, mode](const char* path, int flags, unsigned permissions) {
    if (flags & O_CREAT) {
      for (const std::string& target : state->staged->Targets()) {
        if (!IsLibraryTempOf(path, target)) continue;
        state->redirected.insert(path);
        *state->error = 0;  // a file of its own begins
        return Noted(::open(state->staged->TempOf(target)->c_str(), O_WRONLY | mode | O_CLOEXEC),
                     *state->error);
      }
    }
    // Only the opening of a new file counts: the library probes for a
    // missing target and its folder without minding the answer.
    if (!(flags & O_CREAT)) return ::open(path, flags, static_cast<mode_t>(permissions));
    *state->error = 0;
    return Noted(::open(path, flags, static_cast<mode_t>(permissions)), *state->error);
  };
  // A write refused for its alignment is tried again: only the last word counts.
  ops.write = [state](int fd, const void* data, std::size_t size) -> long {
    const long written = ::write(fd, data, size);
    if (written >= 0) *state->error = 0;
    return Noted(written, *state->error);
  };
  ops.fsync = [state](int fd) { return Noted(::fsync(fd), *state->error); };
  ops.close = [state](int fd) { return Noted(::close(fd), *state->error); };
  ops.rename = [state](const char* from, const char* to) {
    if (state->redirected.count(from) && state->staged->TempOf(to)) return 0;
    return Noted(::rename(from, to), *state->error);
  };
  ops.unlink = [state](const char* path) {
    // The staged file stays for the run to commit or remove.
    if (state->redirected.count(path)) return 0;
    return ::unlink(path);
  };
  zor::SetFileSystemOps(std::move(ops));
}

LibraryWritesInto::~LibraryWritesInto() {
  zor::SetFileSystemOps(zor::TFileSystemOps());
}

int LibraryWritesInto::Error() const {
  return *fError;
}

}  // namespace zcli
