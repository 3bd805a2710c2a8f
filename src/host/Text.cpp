#include "zordta/host/Text.h"

#include "host/Cp1252.h"
#include "host/TextConversion.h"
#include "host/TextTemplates.h"

namespace zor {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one code point from UTF-8 at i; malformed input yields U+FFFD and skips a byte.
char32_t NextUtf8(std::string_view s, std::size_t& i) {
  const auto lead = static_cast<unsigned char>(s[i]);
  int extra = 0;
  char32_t cp = 0;
  char32_t min = 0;
  if (lead < 0x80) {
    ++i;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    extra = 1, cp = lead & 0x1F, min = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, cp = lead & 0x0F, min = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, cp = lead & 0x07, min = 0x10000;
  } else {
    ++i;
    return kReplacement;
  }
  if (i + static_cast<std::size_t>(extra) >= s.size()) {
    ++i;
    return kReplacement;
  }
  for (int k = 1; k <= extra; ++k) {
    const auto b = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
    if ((b & 0xC0) != 0x80) {
      ++i;
      return kReplacement;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  i += static_cast<std::size_t>(extra) + 1;
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kReplacement;
  return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes one code point from UTF-16; a lone surrogate yields U+FFFD.
char32_t NextUtf16(std::u16string_view s, std::size_t& i) {
  const char16_t unit = s[i++];
  if (unit >= 0xD800 && unit <= 0xDBFF && i < s.size() && s[i] >= 0xDC00 && s[i] <= 0xDFFF) {
    const char32_t low = s[i++];
    return 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (low - 0xDC00);
  }
  if (unit >= 0xD800 && unit <= 0xDFFF) return kReplacement;
  return unit;
}

}  // namespace

// Both conversions from UTF-8 write at most one unit per byte read. ASCII, the
// common case, is copied without decoding.
std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out(utf8.size(), u'\0');
  std::size_t written = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    if (byte < 0x80) {
      out[written++] = byte;
      ++i;
      continue;
    }
    char32_t cp = NextUtf8(utf8, i);
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out[written++] = static_cast<char16_t>(0xD800 + (cp >> 10));
      cp = 0xDC00 + (cp & 0x3FF);
    }
    out[written++] = static_cast<char16_t>(cp);
  }
  out.resize(written);
  return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (std::size_t i = 0; i < utf16.size();) AppendUtf8(out, NextUtf16(utf16, i));
  return out;
}

AnsiString Utf8ToAnsi(std::string_view utf8) {
  AnsiString out(utf8.size(), '\0');
  std::size_t written = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    if (byte < 0x80) {
      out[written++] = static_cast<char>(byte);
      ++i;
    } else {
      out[written++] = static_cast<char>(detail::UnicodeToCp1252(NextUtf8(utf8, i)));
    }
  }
  out.resize(written);
  return out;
}

std::string AnsiToUtf8(const AnsiString& ansi) {
  std::string out;
  out.reserve(ansi.size());
  for (char c : ansi) AppendUtf8(out, detail::Cp1252ToUnicode(static_cast<unsigned char>(c)));
  return out;
}

namespace detail {

#if ZORDTA_WIDE_STRINGS
void AssignString(String& out, std::string_view ansi) {
  AssignUtf16(out, ansi);
}

void AssignAnsi(AnsiString& out, std::u16string_view text) {
  AssignCp1252(out, text);
}
#else
void AssignString(String& out, std::string_view ansi) {
  out.assign(ansi);
}

void AssignAnsi(AnsiString& out, std::string_view text) {
  out.assign(text);
}
#endif

}  // namespace detail

#if ZORDTA_WIDE_STRINGS
String StringFromUtf8(std::string_view utf8) {
  return Utf8ToUtf16(utf8);
}
std::string StringToUtf8(const String& text) {
  return Utf16ToUtf8(text);
}
String AnsiToString(const AnsiString& ansi) {
  String out;
  detail::AssignString(out, ansi);
  return out;
}
AnsiString StringToAnsi(const String& text) {
  AnsiString out;
  detail::AssignAnsi(out, text);
  return out;
}
#else
String StringFromUtf8(std::string_view utf8) {
  return Utf8ToAnsi(utf8);
}
std::string StringToUtf8(const String& text) {
  return AnsiToUtf8(text);
}
String AnsiToString(const AnsiString& ansi) {
  return ansi;
}
AnsiString StringToAnsi(const String& text) {
  return text;
}
#endif

}  // namespace zor
