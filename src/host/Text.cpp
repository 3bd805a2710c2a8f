#include "zordta/host/Text.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "host/Cp1252.h"
#include "host/TextConversion.h"
#include "host/TextTemplates.h"

namespace zor {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// How many bytes the conversions replace by one U+FFFD where the text is not
// UTF-8: a whole sequence that is shaped like one but overlong, a surrogate or
// beyond U+10FFFF, else the single byte.
std::size_t MalformedLength(std::string_view s, std::size_t i) {
  const auto lead = static_cast<unsigned char>(s[i]);
  const std::size_t length = (lead & 0xE0) == 0xC0   ? 2
                             : (lead & 0xF0) == 0xE0 ? 3
                             : (lead & 0xF8) == 0xF0 ? 4
                                                     : 1;
  if (s.size() - i < length) return 1;
  for (std::size_t k = 1; k < length; ++k) {
    if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 1;
  }
  return length;
}

// Decodes one code point from UTF-8 at i; malformed input yields U+FFFD.
char32_t NextUtf8(std::string_view s, std::size_t& i) {
  char32_t cp = 0;
  const std::size_t length = DecodeUtf8(s, i, cp);
  if (length != 0) {
    i += length;
    return cp;
  }
  i += MalformedLength(s, i);
  return kReplacement;
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

std::size_t DecodeUtf8(std::string_view text, std::size_t at, char32_t& codePoint) {
  const auto lead = static_cast<unsigned char>(text[at]);
  std::size_t length = 0;
  char32_t min = 0;
  if (lead < 0x80) {
    codePoint = lead;
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, codePoint = lead & 0x1F, min = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, codePoint = lead & 0x0F, min = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, codePoint = lead & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (text.size() - at < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[at + i]);
    if ((next & 0xC0) != 0x80) return 0;
    codePoint = (codePoint << 6) | (next & 0x3F);
  }
  // Overlong forms, surrogates and values beyond U+10FFFF are not UTF-8.
  if (codePoint < min || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
    return 0;
  }
  return length;
}

std::size_t FindMalformedUtf8(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    if (static_cast<unsigned char>(text[at]) < 0x80) {  // most text is plain ASCII
      ++at;
      continue;
    }
    char32_t codePoint = 0;
    const std::size_t length = DecodeUtf8(text, at, codePoint);
    if (length == 0) return at;
    at += length;
  }
  return std::string_view::npos;
}

bool InWindows1252(char32_t codePoint) {
  return codePoint == '?' || detail::UnicodeToCp1252(codePoint) != '?';
}

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
  for (std::size_t i = 0; i < utf16.size();) detail::AppendUtf8(out, NextUtf16(utf16, i));
  return out;
}

AnsiString Utf8ToAnsi(std::string_view utf8) {
  AnsiString out;
  Utf8ToAnsi(utf8, out);
  return out;
}

void Utf8ToAnsi(std::string_view utf8, AnsiString& out) {
  out.resize(utf8.size());  // never more characters than bytes
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
}

std::string AnsiToUtf8(const AnsiString& ansi) {
  std::string out;
  out.reserve(ansi.size());
  // ASCII bytes are their own UTF-8: copied a run at a time.
  std::size_t ascii = 0;
  for (std::size_t i = 0; i < ansi.size(); ++i) {
    const auto byte = static_cast<unsigned char>(ansi[i]);
    if (byte < 0x80) continue;
    out.append(ansi, ascii, i - ascii);
    detail::AppendUtf8(out, detail::Cp1252ToUnicode(byte));
    ascii = i + 1;
  }
  out.append(ansi, ascii);
  return out;
}

namespace detail {

#if ZORDTA_WIDE_STRINGS
namespace {

// True when a byte of text lies in 0x80-0x9F, the only bytes that are not their
// own code points. Payment data converts at every booking and has none of
// them: eight bytes are looked at together, a byte 100xxxxx in binary leaving
// its high bit after the two bits below it are masked off.
bool HasHighControls(std::string_view text) {
  const auto mask = [](std::uint64_t word) { return word & ~(word << 1) & ~(word << 2); };
  const auto load = [&text](std::size_t at) {
    std::uint64_t word = 0;
    std::memcpy(&word, text.data() + at, 8);
    return word;
  };
  std::uint64_t found = 0;
  if (text.size() < 8) {
    for (const char c : text) found |= mask(static_cast<unsigned char>(c));
    return (found & 0x80) != 0;
  }
  for (std::size_t at = 0; at + 8 <= text.size(); at += 8) found |= mask(load(at));
  found |= mask(load(text.size() - 8));  // the last bytes, overlapping the word before
  return (found & 0x8080808080808080ULL) != 0;
}

}  // namespace

void AssignString(String& out, std::string_view ansi) {
  out.resize(ansi.size());
  char16_t* const written = out.data();
  const auto* const bytes = reinterpret_cast<const unsigned char*>(ansi.data());
  if (!HasHighControls(ansi)) {
    // A loop the compiler turns into wide moves.
    for (std::size_t i = 0; i < ansi.size(); ++i) written[i] = bytes[i];
    return;
  }
  const std::array<char16_t, 256>& units = Cp1252Units();
  for (std::size_t i = 0; i < ansi.size(); ++i) written[i] = units[bytes[i]];
}

void AssignAscii(String& out, std::string_view ascii) {
  out.resize(ascii.size());
  char16_t* const written = out.data();
  for (std::size_t i = 0; i < ascii.size(); ++i) written[i] = static_cast<char16_t>(ascii[i]);
}

void AssignAnsi(AnsiString& out, std::u16string_view text) {
  // Payment data is mostly ASCII: a text of ASCII alone converts unit by unit,
  // without the tests for the code page.
  std::size_t ascii = 0;
  while (ascii < text.size() && text[ascii] < 0x80) ++ascii;
  if (ascii == text.size()) {
    out.resize(text.size());
    char* const written = out.data();
    for (std::size_t i = 0; i < text.size(); ++i) written[i] = static_cast<char>(text[i]);
    return;
  }
  AssignCp1252(out, text);
}
#else
void AssignString(String& out, std::string_view ansi) {
  out.assign(ansi);
}

void AssignAscii(String& out, std::string_view ascii) {
  out.assign(ascii);
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
  if (!detail::HasHighControls(ansi)) {
    // Built from the bytes, widened as they are copied: no zeros written first.
    const auto* const bytes = reinterpret_cast<const unsigned char*>(ansi.data());
    return String(bytes, bytes + ansi.size());
  }
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

namespace detail {

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

}  // namespace detail

}  // namespace zor
