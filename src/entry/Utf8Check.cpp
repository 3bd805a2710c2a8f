#include "zordta/entry/Utf8Check.h"

#include <cstdio>
#include "core/MessageFill.h"
#include "entry/RowMessages.h"

#include "zordta/host/Text.h"

namespace zor::entry {

using zor::detail::Fill;

std::vector<ForeignChar> FindCharsOutsideCp1252(std::string_view utf8) {
  std::vector<ForeignChar> found;
  std::size_t at = 0;
  std::size_t index = 0;
  while (at < utf8.size()) {
    char32_t codePoint = 0;
    std::size_t length = zor::DecodeUtf8(utf8, at, codePoint);
    ++index;
    if (length == 0) {
      // Callers check well-formedness first; a stray byte still counts as foreign.
      codePoint = 0xFFFD;
      length = 1;
    }
    if (!zor::InWindows1252(codePoint)) found.push_back({at, index, codePoint});
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
    return Fill(_MsgRowCharacter, {glyph, hex});
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
    std::size_t length = zor::DecodeUtf8(utf8, at, codePoint);
    if (length == 0) {
      // Callers check well-formedness first; a stray byte still counts.
      codePoint = 0xFFFD;
      length = 1;
    }
    if (IsControlChar(codePoint) || !zor::InWindows1252(codePoint))
      found.push_back({at, index, codePoint});
    at += length;
  }
  return found;
}

std::string UnwritableCharProblem(char32_t codePoint) {
  if (!IsControlChar(codePoint)) return Fill(_MsgRowNotInCp1252, {DescribeChar(codePoint)});
  const char* name = codePoint == '\t'   ? _MsgRowTab
                     : codePoint == '\n' ? _MsgRowLineFeed
                     : codePoint == '\r' ? _MsgRowCarriageReturn
                                         : _MsgRowControlChar;
  return Fill(_MsgRowNotAllowed, {name, DescribeChar(codePoint)});
}

std::string UnwritableCharMessage(const ForeignChar& c) {
  return Fill(_MsgRowAtCharacter, {std::to_string(c.index), UnwritableCharProblem(c.codePoint)});
}

std::string ForeignCharMessage(const ForeignChar& c) {
  return Fill(_MsgRowAtCharacter,
              {std::to_string(c.index), Fill(_MsgRowNotInCp1252, {DescribeChar(c.codePoint)})});
}

std::size_t CharCount(std::string_view utf8) {
  std::size_t count = 0;
  for (char c : utf8) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  }
  return count;
}

}  // namespace zor::entry
