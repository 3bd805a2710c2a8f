#include "io/FileBytes.h"

#include <fstream>
#include <sstream>

#include "zordta/host/Exception.h"
#include "zordta/host/Text.h"

namespace zcli {

namespace {

std::ifstream Open(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    throw zor::Exception(zor::StringFromUtf8("Die Datei " + path + " kann nicht gelesen werden."));
  }
  return in;
}

// The size of a regular file; -1 for a pipe, which has none.
std::streamoff SizeOf(std::ifstream& in) {
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  in.clear();
  in.seekg(0);
  return size;
}

std::string ReadAll(std::ifstream& in) {
  std::ostringstream piped;
  piped << in.rdbuf();
  return std::move(piped).str();
}

std::string ReadAt(std::ifstream& in, std::streamoff from, std::size_t count) {
  std::string content(count, '\0');
  in.seekg(from);
  in.read(content.data(), static_cast<std::streamsize>(count));
  content.resize(static_cast<std::size_t>(in.gcount()));
  return content;
}

}  // namespace

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in = Open(path);
  // A regular file is read in one piece; a pipe is copied as it comes.
  const std::streamoff size = SizeOf(in);
  if (size < 0) return ReadAll(in);
  return ReadAt(in, 0, static_cast<std::size_t>(size));
}

std::string ReadFileHead(const std::string& path, std::size_t count) {
  std::ifstream in = Open(path);
  return ReadAt(in, 0, count);
}

std::string ReadFileTail(const std::string& path, std::size_t count) {
  std::ifstream in = Open(path);
  const std::streamoff size = SizeOf(in);
  if (size < 0) {
    const std::string all = ReadAll(in);
    return all.substr(all.size() - std::min(all.size(), count));
  }
  const auto from = std::max<std::streamoff>(0, size - static_cast<std::streamoff>(count));
  return ReadAt(in, from, static_cast<std::size_t>(size - from));
}

}  // namespace zcli
