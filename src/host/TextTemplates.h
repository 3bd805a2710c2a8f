// Helpers for writing the host text functions once over both character types.
#pragma once

#include <string>
#include <string_view>
#include <type_traits>

#include "host/Cp1252.h"
#include "zordta/host/Exception.h"
#include "zordta/host/SysUtils.h"
#include "zordta/host/Text.h"
#include "zordta/host/Types.h"

namespace zor::detail {

template <class C>
using Str = std::basic_string<C>;
template <class C>
using View = std::basic_string_view<C>;

/// The character code: a Windows-1252 byte or a UTF-16 unit, never negative.
template <class C>
constexpr unsigned Code(C c) {
  if constexpr (std::is_same_v<C, char>) {
    return static_cast<unsigned char>(c);
  } else {
    return static_cast<unsigned>(c);
  }
}

/// 8-bit text from UTF-16: Windows-1252, "?" for what it lacks (a surrogate pair gives one "?").
inline std::string Utf16ToCp1252(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      ++i;
      cp = 0x10000;  // outside the code page in any case
    }
    out += static_cast<char>(UnicodeToCp1252(cp));
  }
  return out;
}

/// UTF-16 from 8-bit Windows-1252 text.
inline std::u16string Cp1252ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char c : text) out += static_cast<char16_t>(Cp1252ToUnicode(static_cast<unsigned char>(c)));
  return out;
}

/// Text in the character type C, converted through Windows-1252 where the widths differ.
template <class C>
Str<C> ConvertText(std::string_view text) {
  if constexpr (std::is_same_v<C, char>) {
    return Str<C>(text);
  } else {
    return Cp1252ToUtf16(text);
  }
}
template <class C>
Str<C> ConvertText(std::u16string_view text) {
  if constexpr (std::is_same_v<C, char>) {
    return Utf16ToCp1252(text);
  } else {
    return Str<C>(text);
  }
}

/// Appends ASCII text (digits, signs, "NAN") to text of either width.
template <class C>
void AppendAscii(Str<C>& out, std::string_view ascii) {
  for (char c : ascii) out += static_cast<C>(c);
}

/// Raises a host message whose only "%s" takes the offending text.
template <class C>
[[noreturn]] void RaiseWithText(const char* messageUtf8, View<C> text) {
  throw Exception(Format(StringFromUtf8(messageUtf8), {text}));
}

}  // namespace zor::detail
