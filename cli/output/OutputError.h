// A file or stream the tool writes that could not be written.
#pragma once

#include <stdexcept>
#include <string>

#include "io/FileBytes.h"

namespace zcli {

/// What the run wrote before is not kept (a commit takes it back).
class OutputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// "<shownAs> kann nicht geschrieben werden: Der Datenträger ist voll." for an errno.
inline OutputError CannotWrite(const std::string& shownAs, int error) {
  return OutputError(shownAs + " kann nicht geschrieben werden: " + SystemReason(error) + ".");
}

}  // namespace zcli
