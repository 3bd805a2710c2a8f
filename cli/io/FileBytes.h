// Reading the bytes of input files, with German messages for the ones that
// cannot be read.
#pragma once

#include <cstddef>
#include <string>

namespace zcli {

/// The whole file; raises zor::Exception when it cannot be read.
std::string ReadWholeFile(const std::string& path);

/// At most `count` bytes from the start or from the end of a file (fewer when
/// the file is shorter); raises zor::Exception when it cannot be read.
std::string ReadFileHead(const std::string& path, std::size_t count);
std::string ReadFileTail(const std::string& path, std::size_t count);

}  // namespace zcli
