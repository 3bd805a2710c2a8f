#include "zordta/Printable.h"

#include <cstdio>

namespace zor {

std::string PrintableText(std::string_view utf8) {
  std::string shown;
  shown.reserve(utf8.size());
  for (std::size_t at = 0; at < utf8.size(); ++at) {
    auto code = static_cast<unsigned char>(utf8[at]);
    // C1 characters are 0xC2 and a byte below 0xA0 in UTF-8.
    const bool c1 = code == 0xC2 && at + 1 < utf8.size() &&
                    static_cast<unsigned char>(utf8[at + 1]) >= 0x80 &&
                    static_cast<unsigned char>(utf8[at + 1]) < 0xA0;
    if (c1) code = static_cast<unsigned char>(utf8[++at]);
    if (code < 0x20 || code == 0x7F || c1) {
      char hex[16];
      std::snprintf(hex, sizeof hex, "[U+%04X]", static_cast<unsigned>(code));
      shown += hex;
    } else {
      shown += utf8[at];
    }
  }
  return shown;
}

}  // namespace zor
