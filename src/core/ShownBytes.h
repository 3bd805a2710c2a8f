// A field's bytes as a message shows them: in quotes, printable ASCII as it
// is, any other byte as \xHH, so that a damaged record is named exactly.
#pragma once

#include <string>
#include <string_view>

namespace zor::detail {

inline std::string ShownBytes(std::string_view bytes) {
  std::string shown = "\"";
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x20 && b < 0x7F) {
      shown += c;
    } else {
      static constexpr char kHex[] = "0123456789ABCDEF";
      shown += "\\x";
      shown += kHex[b >> 4];
      shown += kHex[b & 0xF];
    }
  }
  return shown + "\"";
}

}  // namespace zor::detail
