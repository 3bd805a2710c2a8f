// The library's own checks, asked one at a time so that every fault is named.
#pragma once

#include <string>
#include <string_view>

#include "zordta/entry/Diagnostics.h"
#include "zordta/host/Exception.h"

namespace zor::entry {

/// Runs one of the library's checks; its exception becomes a diagnostic. The
/// field is a view: its text is made only for a fault.
template <class Check>
void TryCheck(Diagnostics& errors, const std::string& where, std::string_view field,
              Check&& check) {
  try {
    check();
  } catch (const zor::Exception& e) {
    errors.Add(where, std::string(field), e.what());
  }
}

}  // namespace zor::entry
