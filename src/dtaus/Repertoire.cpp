#include "dtaus/Repertoire.h"

#include <array>
#include <string_view>

#include "zordta/host/SysUtils.h"
#include "zordta/host/Text.h"

namespace zor::detail::dtaus {
namespace {

struct UmlautCodes {
  char ae, oe, ue, sz;
};

// 7-bit German codes ("[", "\", "]", "~") and the PC codes.
constexpr UmlautCodes kFirstKindCodes{'\x5B', '\x5C', '\x5D', '\x7E'};
constexpr UmlautCodes kSecondKindCodes{'\x8E', '\x99', '\x9A', '\xE1'};

constexpr std::string_view kFirstKindAdditions{"\x5C\x5D\x7E"};
constexpr std::string_view kSecondKindAdditions{"\x8E\x99\x9A\xE1"};

bool InBaseSet(unsigned char b) {
  if (b == 0x20 || b == 0x24 || b == 0x25 || b == 0x26) return true;
  if (b >= 0x2A && b <= 0x2F) return true;
  if (b >= 0x30 && b <= 0x39) return true;
  if (b >= 0x41 && b <= 0x5A) return true;
  switch (b) {
    case 0xC4:
    case 0xD6:
    case 0xDC:
    case 0xDF:
    case 0xE4:
    case 0xF6:
    case 0xFC:
      return true;
    default:
      return false;
  }
}

char DecodeByte(unsigned char b, char otherwise) {
  switch (b) {
    case 0x5B:
    case 0x8E:
      return '\xC4';
    case 0x5C:
    case 0x99:
      return '\xD6';
    case 0x5D:
    case 0x9A:
      return '\xDC';
    case 0x7E:
    case 0xE1:
      return '\xDF';
    default:
      return otherwise;
  }
}

}  // namespace

bool IsFirstFileKind(const String& fileName) {
  return fileName.size() >= 6 && fileName.substr(0, 6) == StringFromUtf8("DTAUS0");
}

AnsiString RemoveInvalidChars(const AnsiString& text, bool firstKind) {
  const std::string_view additions = firstKind ? kFirstKindAdditions : kSecondKindAdditions;
  const UmlautCodes& codes = firstKind ? kFirstKindCodes : kSecondKindCodes;

  AnsiString result;
  result.reserve(text.size());
  for (char c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    const auto b = static_cast<unsigned char>(c);
    // The filter runs before the replacement, so an umlaut already in the file's
    // code passes through unchanged.
    if (InBaseSet(b) || additions.find(c) != std::string_view::npos) result += c;
  }
  for (char& c : result) {
    switch (static_cast<unsigned char>(c)) {
      case 0xE4:
      case 0xC4:
        c = codes.ae;
        break;
      case 0xF6:
      case 0xD6:
        c = codes.oe;
        break;
      case 0xFC:
      case 0xDC:
        c = codes.ue;
        break;
      case 0xDF:
        c = codes.sz;
        break;
      default:
        break;
    }
  }
  return result;
}

AnsiString DecodeChars(const AnsiString& text) {
  const AnsiString upper = AnsiUpperCase(text);
  AnsiString result(text.size(), ' ');
  for (std::size_t i = 0; i < text.size(); ++i) {
    // The table is looked up on the input byte, not on its capital.
    result[i] = DecodeByte(static_cast<unsigned char>(text[i]), upper[i]);
  }
  return result;
}

}  // namespace zor::detail::dtaus
