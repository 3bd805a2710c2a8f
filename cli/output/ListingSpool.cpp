#include "output/ListingSpool.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "output/OutputError.h"

namespace zcli {

namespace {

constexpr std::size_t kReadSize = 1 << 16;

std::string TemporaryFolder() {
  const char* folder = std::getenv("TMPDIR");
  return folder != nullptr && *folder != '\0' ? folder : "/tmp";
}

OutputError CannotReadBack(const std::string& folder, int error) {
  return OutputError("Die Zwischendatei in " + folder +
                     " kann nicht gelesen werden: " + SystemReason(error) + ".");
}

}  // namespace

ListingSpool::ListingSpool(std::size_t memoryLimit) : fMemoryLimit(memoryLimit) {}

ListingSpool::~ListingSpool() {
  if (fFile >= 0) ::close(fFile);
}

void ListingSpool::Ready() {
  if (fText.size() >= fMemoryLimit) Spill();
}

void ListingSpool::Spill() {
  if (fFile < 0) {
    fFolder = TemporaryFolder();
    std::string name = fFolder + "/zordta-XXXXXX";
    fFile = ::mkostemp(name.data(), O_CLOEXEC);
    if (fFile < 0) throw CannotWrite("Die Zwischendatei in " + fFolder, errno);
    // Unnamed from here on: nothing is left behind, however the run ends.
    ::unlink(name.c_str());
  }
  std::size_t written = 0;
  while (written < fText.size()) {
    const ssize_t n = ::write(fFile, fText.data() + written, fText.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw CannotWrite("Die Zwischendatei in " + fFolder, n < 0 ? errno : ENOSPC);
    written += static_cast<std::size_t>(n);
  }
  fText.clear();
}

void ListingSpool::Unmark(std::string_view piece, const Put& put) {
  while (!piece.empty()) {
    if (fSkip > 0) {
      const std::size_t skipped = std::min(fSkip, piece.size());
      piece.remove_prefix(skipped);
      fSkip -= skipped;
      continue;
    }
    const void* mark =
        fOptionalSize == 0 ? nullptr : std::memchr(piece.data(), kOptional, piece.size());
    if (mark == nullptr) {
      put(piece);
      break;
    }
    const auto before = static_cast<std::size_t>(static_cast<const char*>(mark) - piece.data());
    if (before > 0) put(piece.substr(0, before));
    piece.remove_prefix(before + 1);
    if (fDrop) fSkip = fOptionalSize;
  }
}

void ListingSpool::Replay(const Put& put, std::size_t optionalSize, bool dropOptional) {
  fOptionalSize = optionalSize;
  fDrop = dropOptional;
  fSkip = 0;
  if (fFile >= 0) {
    if (::lseek(fFile, 0, SEEK_SET) < 0) throw CannotReadBack(fFolder, errno);
    std::vector<char> block(kReadSize);
    for (;;) {
      const ssize_t n = ::read(fFile, block.data(), block.size());
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) throw CannotReadBack(fFolder, errno);
      if (n == 0) break;
      Unmark(std::string_view(block.data(), static_cast<std::size_t>(n)), put);
    }
  }
  Unmark(fText, put);
  fText.clear();
}

}  // namespace zcli
