// Reading the bytes of input files, with German messages for the ones that
// cannot be read. Files are read from start to end without seeking, so a pipe
// (standard input, `<(...)`, /dev/fd/N) is read like any file, once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <streambuf>
#include <string>
#include <string_view>

namespace zcli {

/// The path that names standard input.
inline constexpr const char* kStandardInput = "-";

/// The system's reason for an errno value, in German where it is a common one
/// (a full disk among them); the tool runs in the C locale, which knows only
/// English. Every message that words an errno takes it from here.
std::string SystemReason(int error);

/// How messages name an input: "Standardeingabe" for "-", else the path as given.
std::string InputName(const std::string& path);

/// The whole input; "-" reads standard input. Raises zor::Exception naming the
/// input and the system's reason when it cannot be read, and for a folder.
std::string ReadInput(const std::string& path);

/// At most `count` bytes from the start or from the end of a file (fewer when
/// the file is shorter); raises zor::Exception when it cannot be read.
std::string ReadFileHead(const std::string& path, std::size_t count);
std::string ReadFileTail(const std::string& path, std::size_t count);
/// At most `count` bytes from `offset` of a regular file on; empty for any other.
std::string ReadFileAt(const std::string& path, std::size_t offset, std::size_t count);

/// A file's size and last modification, to tell whether it is still the file read before.
struct FileStamp {
  std::uint64_t size = 0;
  std::int64_t modifiedSeconds = 0;
  std::int64_t modifiedNanoseconds = 0;
  bool operator==(const FileStamp&) const = default;
};

/// The stamp a file has now; none when it cannot be found.
std::optional<FileStamp> CurrentStamp(const std::string& path);

class OpenInput;

/// An input read from start to end in blocks that each end after a line break,
/// or where the input ends: a reader that counts lines never gets one in two
/// pieces. A line longer than a block makes its block longer. "-" reads
/// standard input. Raises zor::Exception as ReadInput does.
class LineBlocks {
 public:
  static constexpr std::size_t kBlockSize = 256 * 1024;

  explicit LineBlocks(const std::string& path, std::size_t blockSize = kBlockSize);
  ~LineBlocks();
  LineBlocks(const LineBlocks&) = delete;
  LineBlocks& operator=(const LineBlocks&) = delete;

  /// False for a pipe or a terminal, which can be read only once.
  bool Regular() const;
  /// The input's size and modification time when it was opened, and now.
  FileStamp OpenedStamp() const;
  FileStamp CurrentStamp() const;
  /// The next block; empty at the end. Valid until the next call.
  std::string_view Next();
  /// A checksum of the blocks handed out so far.
  std::uint64_t Checksum() const { return fChecksum; }

 private:
  std::unique_ptr<OpenInput> fInput;
  std::string fBuffer;
  std::size_t fFilled = 0;
  std::size_t fHandedOut = 0;
  bool fAtEnd = false;
  std::uint64_t fChecksum = 0;
};

/// A regular file as a stream that sums the bytes it reads, so that two
/// readings can tell whether they got the same bytes. Requests of whole blocks
/// are read straight into the reader's buffer; either way the file is read and
/// summed in the same blocks, however the reader asks. Raises zor::Exception
/// as ReadInput does when the file cannot be opened; a fault while reading
/// marks the stream bad. With `dashIsStandardInput`, "-" reads standard input.
class SummedFileBuffer : public std::streambuf {
 public:
  static constexpr std::size_t kBlockSize = 64 * 1024;

  explicit SummedFileBuffer(const std::string& path, bool dashIsStandardInput = false);
  ~SummedFileBuffer() override;
  SummedFileBuffer(const SummedFileBuffer&) = delete;
  SummedFileBuffer& operator=(const SummedFileBuffer&) = delete;

  /// A checksum of the bytes read from the file so far.
  std::uint64_t Checksum() const { return fChecksum; }

 protected:
  int_type underflow() override;
  std::streamsize xsgetn(char* to, std::streamsize count) override;

 private:
  // Whole blocks from the file into `to`, fewer bytes only at its end.
  std::size_t ReadSummed(char* to, std::size_t count);

  std::unique_ptr<OpenInput> fInput;
  std::string fBuffer;
  std::uint64_t fChecksum = 0;
};

}  // namespace zcli
