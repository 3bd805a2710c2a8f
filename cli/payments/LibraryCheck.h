// The library's own checks, asked one at a time so that every fault is named.
#pragma once

#include <string>

#include "io/Diagnostics.h"
#include "zordta/host/Exception.h"

namespace zcli {

/// Runs one of the library's checks; its exception becomes a diagnostic.
template <class Check>
void TryCheck(Diagnostics& errors, const std::string& where, const std::string& field,
              Check&& check) {
  try {
    check();
  } catch (const zor::Exception& e) {
    errors.Add(where, field, e.what());
  }
}

}  // namespace zcli
