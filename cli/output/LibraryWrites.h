// The library writes its files crash-safely: a temporary file beside the
// target, flushed, then renamed over it. While a LibraryWritesInto lives, those
// writes of staged targets land in the run's own temporary files instead, and
// the rename is left to the run's commit. Several files written for one target
// can be appended to each other there.
#pragma once

#include <memory>
#include <string>

#include "output/StagedFiles.h"

namespace zcli {

/// True when `path` is a temporary file the library makes for `target`
/// (target + ".<pid>.<n>.tmp").
bool IsLibraryTempOf(const std::string& path, const std::string& target);

class LibraryWritesInto {
 public:
  /// `append`: each file written for a target goes after the ones before it.
  explicit LibraryWritesInto(const StagedFiles& staged, bool append = false);
  /// Restores the system's file operations.
  ~LibraryWritesInto();
  /// The errno of the library's last failed file operation, 0 after a
  /// successful write: the library's own message has the system's English
  /// reason, or none.
  int Error() const;
  LibraryWritesInto(const LibraryWritesInto&) = delete;
  LibraryWritesInto& operator=(const LibraryWritesInto&) = delete;

 private:
  std::shared_ptr<int> fError;
};

}  // namespace zcli
