#include "output/LibraryWrites.h"

#include <fcntl.h>
#include <unistd.h>

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
};

}  // namespace

LibraryWritesInto::LibraryWritesInto(const StagedFiles& staged, bool append) {
  auto state = std::make_shared<Redirect>();
  state->staged = &staged;
  zor::TFileSystemOps ops;
  const int mode = append ? O_APPEND : O_TRUNC;
  ops.open = [state, mode](const char* path, int flags, unsigned permissions) {
    if (flags & O_CREAT) {
      for (const std::string& target : state->staged->Targets()) {
        if (!IsLibraryTempOf(path, target)) continue;
        state->redirected.insert(path);
        return ::open(state->staged->TempOf(target)->c_str(), O_WRONLY | mode | O_CLOEXEC);
      }
    }
    return ::open(path, flags, static_cast<mode_t>(permissions));
  };
  ops.rename = [state](const char* from, const char* to) {
    if (state->redirected.count(from) && state->staged->TempOf(to)) return 0;
    return ::rename(from, to);
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

}  // namespace zcli
