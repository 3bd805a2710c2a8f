#include "output/StagedFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "io/FileBytes.h"
#include "output/InterruptCleanup.h"

namespace zcli {

namespace {

constexpr const char* kTempPrefix = ".zordta-";
constexpr const char* kTempSuffix = ".tmp";
constexpr const char* kBackupSuffix = ".old";

mode_t NewFileMode() {
  // The tool runs on one thread, so reading the umask by setting it is safe here.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

bool IsDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The process that made ".zordta-<pid>-XXXXXX.tmp" (or its ".old" backup); 0 for other names.
pid_t OwnerOfTempName(std::string_view name) {
  if (name.rfind(kTempPrefix, 0) != 0) return 0;
  name.remove_prefix(std::strlen(kTempPrefix));
  const std::size_t dash = name.find('-');
  if (dash == std::string_view::npos || !IsDigits(name.substr(0, dash)) || dash > 9) return 0;
  std::string_view rest = name.substr(dash + 1);
  const std::string_view backup = kBackupSuffix;
  if (rest.size() > backup.size() && rest.substr(rest.size() - backup.size()) == backup) {
    rest.remove_suffix(backup.size());
  }
  if (rest.size() != 6 + std::strlen(kTempSuffix) || rest.substr(6) != kTempSuffix) return 0;
  return static_cast<pid_t>(std::stol(std::string(name.substr(0, dash))));
}

// A killed run cannot tidy up after itself; the next run in its folder does,
// but only for files of ours whose process is gone.
void RemoveStaleTemps(const std::string& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  const int dirFd = ::dirfd(dir);
  while (const dirent* entry = ::readdir(dir)) {
    const pid_t owner = OwnerOfTempName(entry->d_name);
    if (owner <= 0 || owner == ::getpid()) continue;
    if (::kill(owner, 0) == 0 || errno != ESRCH) continue;
    struct stat info {};
    if (::fstatat(dirFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (!S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) continue;
    ::unlinkat(dirFd, entry->d_name, 0);
  }
  ::closedir(dir);
}

// 0 or errno. A file that takes its target's place must be on disk first: a
// crash after the rename would otherwise leave an empty or partial target.
int SyncFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno;
  const int error = ::fsync(fd) == 0 ? 0 : errno;
  ::close(fd);
  return error;
}

void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

bool IsOneOf(int error, std::initializer_list<int> errors) {
  return std::find(errors.begin(), errors.end(), error) != errors.end();
}

// Puts `temp` at `target` unless something is there already; 0 or errno.
int LinkWithoutReplacing(const std::string& temp, const std::string& target) {
  if (::link(temp.c_str(), target.c_str()) == 0) return 0;
  if (!IsOneOf(errno, {EPERM, EOPNOTSUPP, ENOSYS})) return errno;
  // File systems without hard links (FAT, some network ones).
  if (::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
    return 0;
  }
  if (!IsOneOf(errno, {EINVAL, ENOSYS, EOPNOTSUPP})) return errno;
  // Neither: claim the name first, then replace the claim.
  const int claim = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (claim < 0) return errno;
  ::close(claim);
  if (::rename(temp.c_str(), target.c_str()) != 0) {
    const int error = errno;
    ::unlink(target.c_str());
    return error;
  }
  return 0;
}

bool IsFile(const std::string& path, dev_t device, ino_t inode) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 && info.st_dev == device && info.st_ino == inode;
}

}  // namespace

std::string FolderOfPath(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

bool SameFileAsAny(const std::string& path, const std::vector<std::string>& others) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return false;
  return std::any_of(others.begin(), others.end(), [&info](const std::string& other) {
    struct stat otherInfo {};
    return ::stat(other.c_str(), &otherInfo) == 0 && otherInfo.st_dev == info.st_dev &&
           otherInfo.st_ino == info.st_ino;
  });
}

std::string InputRefusal(const std::string& target, const std::vector<std::string>& protect) {
  if (!SameFileAsAny(target, protect)) return std::string();
  return "Die Datei " + target + " ist eine Eingabe dieses Aufrufs; sie wird nie ersetzt.";
}

bool IsTemporaryName(std::string_view name) {
  return OwnerOfTempName(name) > 0;
}

std::string TargetRefusal(const std::string& target, bool overwrite,
                          const std::vector<std::string>& protect) {
  if (std::string refusal = InputRefusal(target, protect); !refusal.empty()) return refusal;
  struct stat info {};
  // A dangling symbolic link is there too: lstat, not stat.
  if (::lstat(target.c_str(), &info) != 0) return std::string();
  if (S_ISDIR(info.st_mode)) return target + " ist ein Verzeichnis.";
  if (!overwrite) return "Die Datei " + target + " gibt es schon; --overwrite ersetzt sie.";
  return std::string();
}

StagedFiles::StagedFiles(bool overwrite, const std::vector<std::string>& protect)
    : fOverwrite(overwrite), fProtect(protect) {}

StagedFiles::~StagedFiles() {
  for (const Entry& e : fEntries) {
    if (!e.committed) {
      ::unlink(e.temp.c_str());
      KeepOnInterrupt(e.temp);
    }
  }
}

const std::string& StagedFiles::Stage(const std::string& target) {
  const std::string folder = FolderOfPath(target);
  if (std::find(fCleanedFolders.begin(), fCleanedFolders.end(), folder) == fCleanedFolders.end()) {
    RemoveStaleTemps(folder);
    fCleanedFolders.push_back(folder);
  }
  Entry entry;
  entry.target = target;
  entry.temp = folder + "/" + kTempPrefix + std::to_string(::getpid()) + "-XXXXXX" + kTempSuffix;
  int fd = -1;
  int error = 0;
  {
    // Between making the file and registering it, an interruption would leave it behind.
    const InterruptsDeferred registering;
    fd = ::mkostemps(entry.temp.data(), static_cast<int>(std::strlen(kTempSuffix)), O_CLOEXEC);
    if (fd >= 0) {
      RemoveOnInterrupt(entry.temp);
    } else {
      error = errno;
    }
  }
  if (fd < 0) {
    throw OutputError("Im Verzeichnis " + folder +
                      " kann keine Datei angelegt werden: " + SystemReason(error));
  }
  struct stat info {};
  ::fstat(fd, &info);
  ::close(fd);
  entry.device = info.st_dev;
  entry.inode = info.st_ino;
  fEntries.push_back(std::move(entry));
  return fEntries.back().temp;
}

const std::string* StagedFiles::TempOf(const std::string& target) const {
  for (const Entry& e : fEntries) {
    if (e.target == target) return &e.temp;
  }
  return nullptr;
}

std::vector<std::string> StagedFiles::Targets() const {
  std::vector<std::string> targets;
  for (const Entry& e : fEntries) targets.push_back(e.target);
  return targets;
}

void StagedFiles::Commit() {
  for (const Entry& e : fEntries) {
    if (std::string refusal = InputRefusal(e.target, fProtect); !refusal.empty()) {
      throw OutputError(refusal);
    }
  }
  for (const Entry& e : fEntries) {
    if (const int error = SyncFile(e.temp); error != 0) {
      throw OutputError("Die Datei " + e.target +
                        " kann nicht geschrieben werden: " + SystemReason(error));
    }
  }
  const InterruptsDeferred whole;
  if (fOverwrite) {
    CommitReplacing();
  } else {
    CommitWithoutReplacing();
  }
  std::vector<std::string> folders;
  for (Entry& e : fEntries) {
    KeepOnInterrupt(e.temp);
    const std::string folder = FolderOfPath(e.target);
    if (std::find(folders.begin(), folders.end(), folder) == folders.end()) {
      folders.push_back(folder);
    }
  }
  for (const std::string& folder : folders) SyncFolder(folder);
}

void StagedFiles::CommitWithoutReplacing() {
  const mode_t mode = NewFileMode();
  for (Entry& e : fEntries) {
    ::chmod(e.temp.c_str(), mode);
    const int error = LinkWithoutReplacing(e.temp, e.target);
    if (error != 0) {
      TakeBack();
      if (error == EEXIST) {
        throw OutputError("Die Datei " + e.target +
                          " gibt es inzwischen; --overwrite ersetzt sie.");
      }
      throw OutputError("Die Datei " + e.target +
                        " kann nicht geschrieben werden: " + SystemReason(error));
    }
    e.committed = true;
  }
  for (const Entry& e : fEntries) ::unlink(e.temp.c_str());
}

void StagedFiles::CommitReplacing() {
  const mode_t newMode = NewFileMode();
  for (Entry& e : fEntries) {
    struct stat old {};
    // The replaced file's permissions stay; the owner may have narrowed them.
    const bool replaces = ::stat(e.target.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    ::chmod(e.temp.c_str(), replaces ? (old.st_mode & 07777) : newMode);
    struct stat link {};
    if (::lstat(e.target.c_str(), &link) == 0) {
      // Kept until every file is in place, so a failure can put it back.
      e.backup = e.temp + kBackupSuffix;
      if (::link(e.target.c_str(), e.backup.c_str()) != 0) e.backup.clear();
    }
  }
  for (Entry& e : fEntries) {
    if (::rename(e.temp.c_str(), e.target.c_str()) != 0) {
      const int error = errno;
      TakeBack();
      throw OutputError("Die Datei " + e.target +
                        " kann nicht geschrieben werden: " + SystemReason(error));
    }
    e.committed = true;
  }
  for (Entry& e : fEntries) {
    if (!e.backup.empty()) ::unlink(e.backup.c_str());
    e.backup.clear();
  }
}

void StagedFiles::TakeBack() {
  for (Entry& e : fEntries) {
    if (e.committed) {
      if (!e.backup.empty()) {
        ::rename(e.backup.c_str(), e.target.c_str());
      } else if (IsFile(e.target, e.device, e.inode)) {
        ::unlink(e.target.c_str());
      }
      // Its temporary file went with the rename, or goes with the others.
      e.committed = false;
    } else if (!e.backup.empty()) {
      ::unlink(e.backup.c_str());
    }
    e.backup.clear();
  }
}

}  // namespace zcli
