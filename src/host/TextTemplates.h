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

/// out = the 8-bit text of UTF-16 text: Windows-1252, "?" for what it lacks (a
/// surrogate pair gives one "?"). Bytes below 0x80 and from 0xA0 to 0xFF are their
/// own code points and take no lookup: payment data converts at every booking.
/// Both write through a plain pointer, so the compiler need not reload the
/// string's buffer after every character.
inline void AssignCp1252(std::string& out, std::u16string_view text) {
  out.resize(text.size());
  char* const start = out.data();
  char* written = start;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t cp = text[i];
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
      *written++ = static_cast<char>(cp);
      continue;
    }
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      ++i;
      cp = 0x10000;  // outside the code page in any case
    }
    *written++ = static_cast<char>(UnicodeToCp1252(cp));
  }
  out.resize(static_cast<std::size_t>(written - start));
}

/// out = UTF-16 from 8-bit Windows-1252 text; as above, only 0x80-0x9F look up.
inline void AssignUtf16(std::u16string& out, std::string_view text) {
  out.resize(text.size());
  char16_t* written = out.data();
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    *written++ = static_cast<char16_t>(b < 0x80 || b >= 0xA0 ? b : Cp1252ToUnicode(b));
  }
}

inline std::string Utf16ToCp1252(std::u16string_view text) {
  std::string out;
  AssignCp1252(out, text);
  return out;
}

inline std::u16string Cp1252ToUtf16(std::string_view text) {
  std::u16string out;
  AssignUtf16(out, text);
  return out;
}

/// The text without the control characters and blanks (up to 0x20) at its start.
template <class C>
View<C> TrimmedLeft(View<C> text) {
  std::size_t first = 0;
  while (first < text.size() && Code(text[first]) <= 0x20) ++first;
  return text.substr(first);
}

/// The text without the control characters and blanks at its end.
template <class C>
View<C> TrimmedRight(View<C> text) {
  std::size_t last = text.size();
  while (last > 0 && Code(text[last - 1]) <= 0x20) --last;
  return text.substr(0, last);
}

/// What Trim leaves, as a view into the text.
template <class C>
View<C> Trimmed(View<C> text) {
  return TrimmedRight(TrimmedLeft(text));
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
  throw EConvertError(Format(StringFromUtf8(messageUtf8), {text}));
}

}  // namespace zor::detail
