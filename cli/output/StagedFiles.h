// The files of one run (the payment file and its cover sheets) are written as
// hidden temporary files beside their targets and committed together once all
// of them are complete: a run leaves all of its files or none, never replaces
// a file unless told to, and never replaces one of its own inputs.
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>
#include <vector>

#include "output/OutputError.h"

namespace zcli {

class StagedFiles {
 public:
  /// `protect`: files that are never replaced, --overwrite or not (the inputs).
  StagedFiles(bool overwrite, const std::vector<std::string>& protect);
  /// Removes every temporary file that was not committed.
  ~StagedFiles();
  StagedFiles(const StagedFiles&) = delete;
  StagedFiles& operator=(const StagedFiles&) = delete;

  /// Creates the empty temporary file for `target` in its folder, under a name
  /// nobody can guess (".zordta-<pid>-XXXXXX.tmp"), and answers its path.
  /// Temporary files of runs whose process is gone are removed first.
  const std::string& Stage(const std::string& target);
  /// The temporary file of a staged target; nullptr for any other path.
  const std::string* TempOf(const std::string& target) const;
  /// The targets staged so far, in order.
  std::vector<std::string> Targets() const;

  /// Moves every staged file onto its target, all or nothing, each synced to
  /// disk first, whoever wrote it: without
  /// overwrite a target that exists by now is left alone and the files
  /// committed before it are taken back; with overwrite the replaced files
  /// keep their permission bits, and a failure puts the old files back.
  /// New files get the permissions the umask allows. Raises OutputError.
  void Commit();

 private:
  struct Entry {
    std::string target;
    std::string temp;
    dev_t device = 0;
    ino_t inode = 0;
    std::string backup;  ///< the replaced file, kept until the commit is whole
    bool committed = false;
  };

  void CommitWithoutReplacing();
  void CommitReplacing();
  void TakeBack();

  bool fOverwrite;
  std::vector<std::string> fProtect;
  std::vector<Entry> fEntries;
  std::vector<std::string> fCleanedFolders;
};

/// The reason a run may not write `target`, before any work is done: it
/// exists (without overwrite) or it is one of the protected files. Empty
/// when the target is free.
std::string TargetRefusal(const std::string& target, bool overwrite,
                          const std::vector<std::string>& protect);

/// Why `target` may never be written: it is one of the run's inputs (the
/// same file by any name). Empty when it is none of them.
std::string InputRefusal(const std::string& target, const std::vector<std::string>& protect);

/// True for a name of the tool's temporary files (".zordta-<pid>-XXXXXX.tmp"
/// and their backups): a later run in the folder removes such a file once its
/// process is gone.
bool IsTemporaryName(std::string_view name);

/// True when `path` names the same file as one of `others` (links followed).
bool SameFileAsAny(const std::string& path, const std::vector<std::string>& others);

/// The folder part of a path ("." for a bare name).
std::string FolderOfPath(const std::string& path);

}  // namespace zcli
