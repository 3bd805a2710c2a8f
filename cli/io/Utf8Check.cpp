#include "io/Utf8Check.h"

#include <array>
#include <cstdio>

namespace zcli {
namespace {

// Code points of the bytes 0x80 to 0x9F. The five gaps of the code page pass
// as the control characters of the same number, as the library converts them.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

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
  std::size_t at = 0;
  while (at < text.size()) {
    char32_t codePoint = 0;
    const std::size_t length = DecodeUtf8(text, at, codePoint);
    if (length == 0) return at;
    at += length;
  }
  return std::string_view::npos;
}

bool InCp1252(char32_t codePoint) {
  if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) return true;
  for (char32_t mapped : kHighControls) {
    if (mapped == codePoint) return true;
  }
  return false;
}

std::vector<ForeignChar> FindCharsOutsideCp1252(std::string_view utf8) {
  std::vector<ForeignChar> found;
  std::size_t at = 0;
  std::size_t index = 0;
  while (at < utf8.size()) {
    char32_t codePoint = 0;
    std::size_t length = DecodeUtf8(utf8, at, codePoint);
    ++index;
    if (length == 0) {
      // Callers check well-formedness first; a stray byte still counts as foreign.
      codePoint = 0xFFFD;
      length = 1;
    }
    if (!InCp1252(codePoint)) found.push_back({at, index, codePoint});
    at += length;
  }
  return found;
}

std::string DescribeChar(char32_t codePoint) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(codePoint));
  std::string glyph;
  // Control and invisible characters are shown by their number alone.
  const bool printable = codePoint >= 0x20 && !(codePoint >= 0x7F && codePoint < 0xA0) &&
                         codePoint != 0xFFFD && !(codePoint >= 0x200B && codePoint <= 0x200F);
  if (printable) {
    if (codePoint < 0x80) {
      glyph += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
      glyph += static_cast<char>(0xC0 | (codePoint >> 6));
      glyph += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
      glyph += static_cast<char>(0xE0 | (codePoint >> 12));
      glyph += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
      glyph += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
      glyph += static_cast<char>(0xF0 | (codePoint >> 18));
      glyph += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
      glyph += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
      glyph += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
    return "„" + glyph + "“ (" + hex + ")";
  }
  return hex;
}

bool IsControlChar(char32_t codePoint) {
  return codePoint < 0x20 || (codePoint >= 0x7F && codePoint < 0xA0);
}

std::vector<ForeignChar> FindUnwritableChars(std::string_view utf8) {
  std::vector<ForeignChar> found;
  std::size_t index = 0;
  for (std::size_t at = 0; at < utf8.size();) {
    ++index;
    const auto byte = static_cast<unsigned char>(utf8[at]);
    if (byte >= 0x20 && byte < 0x7F) {  // most text is plain ASCII
      ++at;
      continue;
    }
    char32_t codePoint = 0;
    std::size_t length = DecodeUtf8(utf8, at, codePoint);
    if (length == 0) {
      // Callers check well-formedness first; a stray byte still counts.
      codePoint = 0xFFFD;
      length = 1;
    }
    if (IsControlChar(codePoint) || !InCp1252(codePoint)) found.push_back({at, index, codePoint});
    at += length;
  }
  return found;
}

std::string UnwritableCharProblem(char32_t codePoint) {
  if (!IsControlChar(codePoint)) return DescribeChar(codePoint) + " gibt es in Windows-1252 nicht.";
  const char* name = codePoint == '\t'   ? "Tabulator"
                     : codePoint == '\n' ? "Zeilenumbruch"
                     : codePoint == '\r' ? "Wagenrücklauf"
                                         : "Steuerzeichen";
  return std::string(name) + " (" + DescribeChar(codePoint) + ") ist nicht erlaubt.";
}

std::string UnwritableCharMessage(const ForeignChar& c) {
  return "Zeichen " + std::to_string(c.index) + ": " + UnwritableCharProblem(c.codePoint);
}

std::string ForeignCharMessage(const ForeignChar& c) {
  return "Zeichen " + std::to_string(c.index) + ": " + DescribeChar(c.codePoint) +
         " gibt es in Windows-1252 nicht.";
}

std::size_t CharCount(std::string_view utf8) {
  std::size_t count = 0;
  for (char c : utf8) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  }
  return count;
}

}  // namespace zcli
