#include "io/FileBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>

#include "zordta/host/Exception.h"
#include "zordta/host/Text.h"

namespace zcli {

std::string SystemReason(int error) {
  switch (error) {
    case ENOSPC:
      return "Der Datenträger ist voll";
    case EDQUOT:
      return "Das Speicherkontingent (Quota) auf dem Datenträger ist erschöpft";
    case EFBIG:
      return "Die Datei ist zu groß";
    case EROFS:
      return "Das Dateisystem ist nur lesbar";
    case ENOENT:
      return "Datei oder Verzeichnis nicht gefunden";
    case EACCES:
    case EPERM:
      return "Keine Berechtigung";
    case EISDIR:
      return "Ist ein Verzeichnis";
    case ENOTDIR:
      return "Ist kein Verzeichnis";
    case ENAMETOOLONG:
      return "Der Dateiname ist zu lang";
    case ELOOP:
      return "Zu viele Ebenen aus symbolischen Verknüpfungen";
    case EIO:
      return "Eingabe-/Ausgabefehler";
    case ENOMEM:
      return "Nicht genügend Hauptspeicher verfügbar";
    case EMFILE:
    case ENFILE:
      return "Zu viele offene Dateien";
    case EBADF:
      return "Ungültiger Dateideskriptor";
    default:
      return std::strerror(error);
  }
}

namespace {

[[noreturn]] void CannotRead(const std::string& path, bool standardInput, const std::string& why) {
  const std::string subject = standardInput ? "Die Standardeingabe" : "Die Datei " + path;
  throw zor::Exception(zor::StringFromUtf8(subject + " kann nicht gelesen werden: " + why + "."));
}

}  // namespace

// An open input; standard input stays open when it is done.
class OpenInput {
 public:
  // "-" is standard input where `dashIsStandardInput`, else a file of that name.
  OpenInput(const std::string& path, bool dashIsStandardInput)
      : fPath(path), fStandardInput(dashIsStandardInput && path == kStandardInput) {
    if (fStandardInput) {
      fFd = STDIN_FILENO;
    } else {
      do {
        fFd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
      } while (fFd < 0 && errno == EINTR);
      if (fFd < 0) Fail(errno);
      fOwned = true;
    }
    const int statError = ::fstat(fFd, &fStat) == 0 ? 0 : errno;
    // Opening a folder works; reading it would not say why.
    if (statError || S_ISDIR(fStat.st_mode)) {
      if (fOwned) ::close(fFd);
      if (statError) Fail(statError);
      CannotRead(fPath, fStandardInput, "Das ist ein Verzeichnis");
    }
  }
  ~OpenInput() {
    if (fOwned) ::close(fFd);
  }
  OpenInput(const OpenInput&) = delete;
  OpenInput& operator=(const OpenInput&) = delete;

  bool Regular() const { return S_ISREG(fStat.st_mode); }
  std::size_t Size() const { return static_cast<std::size_t>(fStat.st_size); }
  const struct stat& Opened() const { return fStat; }
  struct stat Now() const {
    struct stat now {};
    if (::fstat(fFd, &now) != 0) Fail(errno);
    return now;
  }

  // Up to `count` bytes into `to`; fewer only at the end.
  std::size_t Read(char* to, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
      const ssize_t got = ::read(fFd, to + done, count - done);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) Fail(errno);
      if (got == 0) break;
      done += static_cast<std::size_t>(got);
    }
    return done;
  }

  // From here to the end. A regular file's size is a hint, not a limit: it may grow.
  std::string ReadRest() {
    std::string content;
    content.resize(Regular() && Size() > 0 ? Size() + 1 : 64 * 1024);
    std::size_t used = 0;
    while (true) {
      const std::size_t got = Read(content.data() + used, content.size() - used);
      used += got;
      if (used < content.size()) break;
      content.resize(content.size() * 2);
    }
    content.resize(used);
    return content;
  }

  std::string ReadAt(std::size_t from, std::size_t count) {
    std::string content(count, '\0');
    std::size_t done = 0;
    while (done < count) {
      const ssize_t got =
          ::pread(fFd, content.data() + done, count - done, static_cast<off_t>(from + done));
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) Fail(errno);
      if (got == 0) break;
      done += static_cast<std::size_t>(got);
    }
    content.resize(done);
    return content;
  }

 private:
  [[noreturn]] void Fail(int error) const {
    CannotRead(fPath, fStandardInput, SystemReason(error));
  }

  std::string fPath;
  bool fStandardInput = false;
  int fFd = -1;
  bool fOwned = false;
  struct stat fStat {};
};

namespace {

// A sum that any change of a single byte changes (every step is a bijection
// of its lane, and so is folding the lanes): it tells a file that changed
// between two readings, at a fraction of std::hash's cost. Four lanes, so that
// no step waits for the multiplication before it. No defence against intent.
std::uint64_t BlockSum(std::string_view block) {
  constexpr std::uint64_t kPrime = 0x100000001B3ULL;
  std::uint64_t lanes[4] = {0xCBF29CE484222325ULL, 1, 2, 3};
  const auto word = [&block](std::size_t at) {
    std::uint64_t w = 0;
    std::memcpy(&w, block.data() + at, sizeof w);
    return w;
  };
  std::size_t at = 0;
  for (; block.size() - at >= 32; at += 32) {
    for (std::size_t lane = 0; lane < 4; ++lane) {
      lanes[lane] = (lanes[lane] ^ word(at + 8 * lane)) * kPrime;
    }
  }
  std::uint64_t sum = lanes[0];
  for (std::size_t lane = 1; lane < 4; ++lane) sum = (sum ^ lanes[lane]) * kPrime;
  for (; block.size() - at >= 8; at += 8) sum = (sum ^ word(at)) * kPrime;
  for (; at < block.size(); ++at) sum = (sum ^ static_cast<unsigned char>(block[at])) * kPrime;
  return sum;
}

// Blocks summed one after the other: the same blocks in the same order give
// the same sum.
std::uint64_t WithBlock(std::uint64_t checksum, std::string_view block) {
  if (block.empty()) return checksum;
  return (checksum ^ BlockSum(block)) * 0x100000001B3ULL + block.size();
}

FileStamp StampOf(const struct stat& s) {
  return {static_cast<std::uint64_t>(s.st_size), s.st_mtim.tv_sec, s.st_mtim.tv_nsec};
}

}  // namespace

std::string InputName(const std::string& path) {
  return path == kStandardInput ? "Standardeingabe" : path;
}

std::string ReadInput(const std::string& path) {
  OpenInput in(path, true);
  return in.ReadRest();
}

std::string ReadFileHead(const std::string& path, std::size_t count) {
  OpenInput in(path, false);
  std::string content(count, '\0');
  content.resize(in.Read(content.data(), count));
  return content;
}

std::string ReadFileAt(const std::string& path, std::size_t offset, std::size_t count) {
  OpenInput in(path, false);
  if (!in.Regular() || offset >= in.Size()) return std::string();
  return in.ReadAt(offset, std::min(count, in.Size() - offset));
}

std::string ReadFileTail(const std::string& path, std::size_t count) {
  OpenInput in(path, false);
  if (in.Regular()) {
    const std::size_t size = in.Size();
    const std::size_t from = size > count ? size - count : 0;
    return in.ReadAt(from, size - from);
  }
  // A pipe has no end to start from: what came last is its tail.
  const std::string all = in.ReadRest();
  return all.substr(all.size() - std::min(all.size(), count));
}

std::optional<FileStamp> CurrentStamp(const std::string& path) {
  struct stat now {};
  if (::stat(path.c_str(), &now) != 0) return std::nullopt;
  return StampOf(now);
}

LineBlocks::LineBlocks(const std::string& path, std::size_t blockSize)
    : fInput(std::make_unique<OpenInput>(path, true)),
      fBuffer(std::max<std::size_t>(blockSize, 1), '\0') {}

LineBlocks::~LineBlocks() = default;

bool LineBlocks::Regular() const {
  return fInput->Regular();
}

FileStamp LineBlocks::OpenedStamp() const {
  return StampOf(fInput->Opened());
}

FileStamp LineBlocks::CurrentStamp() const {
  return StampOf(fInput->Now());
}

std::string_view LineBlocks::Next() {
  // What the last block left of its final line moves to the front.
  fFilled -= fHandedOut;
  std::memmove(fBuffer.data(), fBuffer.data() + fHandedOut, fFilled);
  fHandedOut = 0;
  std::size_t searched = 0;
  while (true) {
    if (!fAtEnd && fFilled < fBuffer.size()) {
      const std::size_t wanted = fBuffer.size() - fFilled;
      const std::size_t got = fInput->Read(fBuffer.data() + fFilled, wanted);
      fFilled += got;
      fAtEnd = got < wanted;
    }
    const std::size_t lastBreak =
        std::string_view(fBuffer.data() + searched, fFilled - searched).rfind('\n');
    if (lastBreak != std::string_view::npos) {
      fHandedOut = searched + lastBreak + 1;
      break;
    }
    if (fAtEnd) {
      fHandedOut = fFilled;
      break;
    }
    // A line longer than the buffer: room for the rest of it.
    searched = fFilled;
    fBuffer.resize(fBuffer.size() * 2);
  }
  const std::string_view block(fBuffer.data(), fHandedOut);
  fChecksum = WithBlock(fChecksum, block);
  return block;
}

SummedFileBuffer::SummedFileBuffer(const std::string& path, bool dashIsStandardInput)
    : fInput(std::make_unique<OpenInput>(path, dashIsStandardInput)), fBuffer(kBlockSize, '\0') {}

SummedFileBuffer::~SummedFileBuffer() = default;

std::size_t SummedFileBuffer::ReadSummed(char* to, std::size_t count) {
  const std::size_t got = fInput->Read(to, count);
  for (std::size_t at = 0; at < got; at += kBlockSize) {
    fChecksum = WithBlock(fChecksum, std::string_view(to + at, std::min(kBlockSize, got - at)));
  }
  return got;
}

SummedFileBuffer::int_type SummedFileBuffer::underflow() {
  if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
  std::size_t got = 0;
  try {
    got = ReadSummed(fBuffer.data(), kBlockSize);
  } catch (...) {
    setg(nullptr, nullptr, nullptr);
    throw;  // the stream marks itself bad
  }
  setg(fBuffer.data(), fBuffer.data(), fBuffer.data() + got);
  return got == 0 ? traits_type::eof() : traits_type::to_int_type(*gptr());
}

std::streamsize SummedFileBuffer::xsgetn(char* to, std::streamsize count) {
  const auto wanted = static_cast<std::size_t>(count);
  std::size_t done = 0;
  // What the last block left, then whole blocks straight from the file: an
  // empty buffer always ends on a block's end, so the blocks summed stay the same.
  const auto held = std::min(wanted, static_cast<std::size_t>(egptr() - gptr()));
  if (held > 0) {
    std::memcpy(to, gptr(), held);
    gbump(static_cast<int>(held));
    done += held;
  }
  if (done < wanted && wanted - done >= kBlockSize) {
    const std::size_t whole = (wanted - done) / kBlockSize * kBlockSize;
    const std::size_t got = ReadSummed(to + done, whole);
    done += got;
    if (got < whole) return static_cast<std::streamsize>(done);
  }
  while (done < wanted && underflow() != traits_type::eof()) {
    const auto part = std::min(wanted - done, static_cast<std::size_t>(egptr() - gptr()));
    std::memcpy(to + done, gptr(), part);
    gbump(static_cast<int>(part));
    done += part;
  }
  return static_cast<std::streamsize>(done);
}

}  // namespace zcli
