// Diagnostics as "where|field|message" lines, for comparing them whole.
#pragma once

#include <string>
#include <vector>

#include "io/EntryNames.h"
#include "zordta/entry/Diagnostics.h"

namespace zclitest {

inline std::vector<std::string> Lines(const zcli::Diagnostics& d) {
  std::vector<std::string> lines;
  for (const zcli::Diagnostic& item : d.Items()) {
    lines.push_back(item.where + "|" + item.field + "|" + item.message);
  }
  return lines;
}

}  // namespace zclitest
