// A file or stream the tool writes that could not be written.
#pragma once

#include <stdexcept>

namespace zcli {

/// What the run wrote before is not kept (a commit takes it back).
class OutputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace zcli
