// Reading a whole file in one go: byte by byte, a few MB take seconds in the
// sanitizer builds.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

namespace zortest {

/// The bytes of a file; empty when it cannot be read.
inline std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return {};
  std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
  in.seekg(0);
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

}  // namespace zortest
