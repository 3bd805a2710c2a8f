#include "io/InputReadTwice.h"

#include <filesystem>

#include "io/FileBytes.h"
#include "zordta/host/Exception.h"
#include "zordta/host/Text.h"

namespace zcli {

void InputReadTwice::Prepare() {
  std::error_code error;
  fInMemory = fPath == kStandardInput || !std::filesystem::is_regular_file(fPath, error);
  if (fInMemory) fBytes = ReadInput(fPath);
}

void InputReadTwice::Open(std::ifstream& in) const {
  // Raises the German reason when the file cannot be opened or is a folder.
  ReadFileHead(fPath, 0);
  in.open(fPath, std::ios::binary);
  if (!in) {
    throw zor::Exception(zor::StringFromUtf8("Die Datei " + fPath + " kann nicht gelesen werden."));
  }
}

}  // namespace zcli
