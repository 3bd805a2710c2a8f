#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "support/TestSupport.h"
#include "zordta/host/FileSystem.h"
#include "zordta/host/Volumes.h"

namespace {

namespace fs = std::filesystem;

/// Installs replacement file operations for the scope, restoring the system's even on failure.
struct ScopedFileSystemOps {
  explicit ScopedFileSystemOps(zor::TFileSystemOps ops) { zor::SetFileSystemOps(std::move(ops)); }
  ~ScopedFileSystemOps() { zor::SetFileSystemOps({}); }
};

struct ScopedVolumeLabelSource {
  explicit ScopedVolumeLabelSource(zor::TVolumeLabelSource s) { zor::SetVolumeLabelSource(s); }
  ~ScopedVolumeLabelSource() { zor::SetVolumeLabelSource({}); }
};

std::vector<std::string> FolderEntries(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
  return names;
}

const std::vector<std::string> kOnlyTarget{"DTAUS0.TXT"};

const std::string kBytes = [] {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
  return bytes + "\r\n\x1A";
}();

TEST(WriteFileAtomically, CreatesAndReplacesByteExact) {
  zortest::TempDir dir;
  const fs::path target = dir.path() / "DTAUS0.TXT";
  zor::WriteFileAtomically(ZT(target.string()), kBytes);
  EXPECT_TRUE(zortest::SameBytes(kBytes, zortest::ReadFile(target)));
  // Shorter content must not leave a tail of the old file.
  zor::WriteFileAtomically(ZT(target.string()), "0128ADTAUS");
  EXPECT_TRUE(zortest::SameBytes("0128ADTAUS", zortest::ReadFile(target)));
  EXPECT_EQ(FolderEntries(dir.path()), kOnlyTarget);
}

TEST(WriteFileAtomically, RetriesShortAndInterruptedWrites) {
  zortest::TempDir dir;
  const fs::path target = dir.path() / "ÜBERWEISUNG.TXT";
  zor::TFileSystemOps ops;
  ops.write = [calls = std::make_shared<int>(0)](int fd, const void* data, std::size_t size) {
    errno = EINTR;
    return (*calls)++ % 2 == 0 ? -1L : ::write(fd, data, std::min<std::size_t>(size, 7));
  };
  ScopedFileSystemOps guard(ops);
  zor::WriteFileAtomically(ZT(target.string()), kBytes);
  EXPECT_TRUE(zortest::SameBytes(kBytes, zortest::ReadFile(target)));
}

TEST(WriteFileAtomically, FailureLeavesTargetAndNoTemporaryFile) {
  const auto fail = [](int error) {
    return [error](auto&&...) {
      errno = error;
      return -1;
    };
  };
  struct Case {
    const char* step;
    int error;
    zor::TFileSystemOps ops;
  } cases[5] = {{"open", EACCES, {}},
                {"write", ENOSPC, {}},
                {"fsync", EIO, {}},
                {"close", EDQUOT, {}},
                {"rename", EXDEV, {}}};
  cases[0].ops.open = [](const char* path, int flags, unsigned mode) {
    errno = EACCES;
    return (flags & O_CREAT) ? -1 : ::open(path, flags, mode);
  };
  cases[1].ops.write = [first = std::make_shared<bool>(true)](int fd, const void* data,
                                                              std::size_t size) {
    errno = ENOSPC;
    return std::exchange(*first, false) ? ::write(fd, data, std::min<std::size_t>(size, 5)) : -1L;
  };
  cases[2].ops.fsync = fail(EIO);
  cases[3].ops.close = [](int fd) {
    ::close(fd);
    errno = EDQUOT;
    return -1;
  };
  cases[4].ops.rename = fail(EXDEV);

  for (const auto& c : cases) {
    SCOPED_TRACE(c.step);
    zortest::TempDir dir;
    const fs::path target = dir.path() / "DTAUS0.TXT";
    std::ofstream(target) << "previous";
    ScopedFileSystemOps guard(c.ops);
    EXPECT_THROW_MESSAGE(zor::WriteFileAtomically(ZT(target.string()), kBytes),
                         ZT("Die Datei \"" + target.string() + "\" kann nicht erstellt werden. " +
                            std::strerror(c.error)));
    EXPECT_EQ(zortest::ReadFile(target), "previous");
    EXPECT_EQ(FolderEntries(dir.path()), kOnlyTarget);
  }

  zortest::TempDir dir;
  const fs::path missing = dir.path() / "fehlt" / "DTAUS0.TXT";
  EXPECT_THROW_MESSAGE(zor::WriteFileAtomically(ZT(missing.string()), "x"),
                       ZT("Die Datei \"" + missing.string() + "\" kann nicht erstellt werden. " +
                          std::strerror(ENOENT)));
}

TEST(WriteFileAtomically, TargetLockedByReaderIsRefused) {
  zortest::TempDir dir;
  const fs::path target = dir.path() / "DTAUS0.TXT";
  std::ofstream(target) << "held";
  const int reader = ::open(target.c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_EQ(::flock(reader, LOCK_EX), 0);
  EXPECT_THROW_MESSAGE(
      zor::WriteFileAtomically(ZT(target.string()), "new"),
      ZT("Die Datei \"" + target.string() + "\" wird von einem anderen Prozess verwendet."));
  EXPECT_EQ(zortest::ReadFile(target), "held");
  EXPECT_EQ(FolderEntries(dir.path()), kOnlyTarget);
  ::close(reader);
  zor::WriteFileAtomically(ZT(target.string()), "new");
  EXPECT_EQ(zortest::ReadFile(target), "new");
}

TEST(Volumes, ReplacedSourceAnswersLabels) {
  ScopedVolumeLabelSource guard([](const zor::String& root) {
    return root == ZT("A:\\") ? ZT("LOHN 03/24") : zor::String();
  });
  zor::String label = ZT("stale");
  EXPECT_TRUE(zor::GetVolumeInformation(ZT("A:\\"), label));
  EXPECT_EQ(label, ZT("LOHN 03/24"));
  EXPECT_FALSE(zor::GetVolumeInformation(ZT("B:\\"), label));
  EXPECT_EQ(label, zor::String());
}

TEST(Volumes, SystemLookupIsConsistent) {
  zortest::TempDir dir;
  for (const zor::String& root : {dir.AsPath(), zor::String(), ZT("/")}) {
    zor::String first, second;
    const bool found = zor::GetVolumeInformation(root, first);
    EXPECT_EQ(zor::GetVolumeInformation(root, second), found);
    EXPECT_EQ(first, second);
    EXPECT_EQ(found, !first.empty());
  }
  zor::String label = ZT("stale");
  EXPECT_FALSE(zor::GetVolumeInformation(ZT((dir.path() / "fehlt").string()), label));
  EXPECT_TRUE(label.empty());
  EXPECT_FALSE(zor::SetVolumeLabel(dir.AsPath(), ZT("NEU")));
}

}  // namespace
