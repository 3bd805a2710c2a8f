// Capitals of Windows-1252 bytes, usable in constant expressions so that the
// character tables of the record writers are built by the compiler.
#pragma once

namespace zor::detail {

/// The small letters of Windows-1252 and their capitals: a-z and 0xE0-0xFE (but the
/// division sign 0xF7) lie 0x20 above theirs, four more sit elsewhere. ß and µ have none.
constexpr unsigned AnsiUpper(unsigned code) {
  if ((code >= 'a' && code <= 'z') || (code >= 0xE0 && code <= 0xFE && code != 0xF7)) {
    return code - 0x20;
  }
  switch (code) {
    case 0x9A:
      return 0x8A;  // š
    case 0x9C:
      return 0x8C;  // œ
    case 0x9E:
      return 0x8E;  // ž
    case 0xFF:
      return 0x9F;  // ÿ
    default:
      return code;
  }
}

}  // namespace zor::detail
