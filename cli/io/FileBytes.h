// Reading the bytes of input files, with German messages for the ones that
// cannot be read. Files are read from start to end without seeking, so a pipe
// (standard input, `<(...)`, /dev/fd/N) is read like any file, once.
#pragma once

#include <cstddef>
#include <string>

namespace zcli {

/// The path that names standard input.
inline constexpr const char* kStandardInput = "-";

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

}  // namespace zcli
