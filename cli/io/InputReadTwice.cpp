#include "io/InputReadTwice.h"

#include <filesystem>

#include "io/FileBytes.h"

namespace zcli {

void InputReadTwice::Prepare() {
  std::error_code error;
  fInMemory = fPath == kStandardInput || !std::filesystem::is_regular_file(fPath, error);
  if (fInMemory) fBytes = ReadInput(fPath);
}

}  // namespace zcli
