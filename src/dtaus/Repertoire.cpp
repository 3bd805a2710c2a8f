#include "dtaus/Repertoire.h"

#include <algorithm>
#include <array>

#include "host/AnsiCase.h"

namespace zor::detail::dtaus {
namespace {

struct UmlautCodes {
  unsigned char ae, oe, ue, sz;
};

// 7-bit German codes ("[", "\", "]", "~") and the PC codes.
constexpr UmlautCodes kFirstKindCodes{0x5B, 0x5C, 0x5D, 0x7E};
constexpr UmlautCodes kSecondKindCodes{0x8E, 0x99, 0x9A, 0xE1};

constexpr bool InBaseSet(unsigned b) {
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

// Besides the base set, a file kind keeps its own codes of Ö, Ü and ß; the first
// kind's "[" for Ä is not among them.
constexpr bool IsOwnUmlautCode(unsigned b, bool firstKind) {
  return firstKind ? (b == 0x5C || b == 0x5D || b == 0x7E)
                   : (b == 0x8E || b == 0x99 || b == 0x9A || b == 0xE1);
}

constexpr unsigned InFileCode(unsigned b, const UmlautCodes& codes) {
  switch (b) {
    case 0xE4:
    case 0xC4:
      return codes.ae;
    case 0xF6:
    case 0xD6:
      return codes.oe;
    case 0xFC:
    case 0xDC:
      return codes.ue;
    case 0xDF:
      return codes.sz;
    default:
      return b;
  }
}

// What each input byte becomes in a file of one kind; 0 drops it (no kept byte is 0).
// Only a-z are capitalised: the filter runs on that, then the umlauts are put in
// the file's code, so an umlaut already in the file's code passes unchanged.
using ByteTable = std::array<unsigned char, 256>;

constexpr ByteTable MakeCleaningTable(bool firstKind) {
  const UmlautCodes& codes = firstKind ? kFirstKindCodes : kSecondKindCodes;
  ByteTable table{};
  for (unsigned b = 0; b < 256; ++b) {
    const unsigned c = (b >= 'a' && b <= 'z') ? b - 'a' + 'A' : b;
    if (InBaseSet(c) || IsOwnUmlautCode(c, firstKind)) {
      table[b] = static_cast<unsigned char>(InFileCode(c, codes));
    }
  }
  return table;
}

constexpr ByteTable kFirstKindTable = MakeCleaningTable(true);
constexpr ByteTable kSecondKindTable = MakeCleaningTable(false);

// Both kinds' umlaut codes back to Ä, Ö, Ü and ß; every other byte to its capital.
// The table is looked up on the input byte, not on its capital.
constexpr ByteTable MakeDecodingTable() {
  ByteTable table{};
  for (unsigned b = 0; b < 256; ++b) {
    switch (b) {
      case 0x5B:
      case 0x8E:
        table[b] = 0xC4;
        break;
      case 0x5C:
      case 0x99:
        table[b] = 0xD6;
        break;
      case 0x5D:
      case 0x9A:
        table[b] = 0xDC;
        break;
      case 0x7E:
      case 0xE1:
        table[b] = 0xDF;
        break;
      default:
        table[b] = static_cast<unsigned char>(AnsiUpper(b));
    }
  }
  return table;
}

constexpr ByteTable kDecodingTable = MakeDecodingTable();

}  // namespace

bool IsFirstFileKind(const String& fileName) {
  // Asked at every booking, so compared in place rather than through a converted copy.
  constexpr std::string_view kPrefix = "DTAUS0";
  if (fileName.size() < kPrefix.size()) return false;
  for (std::size_t i = 0; i < kPrefix.size(); ++i) {
    if (fileName[i] != static_cast<unsigned char>(kPrefix[i])) return false;
  }
  return true;
}

std::size_t RemoveInvalidChars(std::string_view text, bool firstKind, char* out,
                               std::size_t capacity) {
  const ByteTable& table = firstKind ? kFirstKindTable : kSecondKindTable;
  // Every byte is stored and the position moves on only for a kept one: no
  // branch on the data. While fewer bytes were read than out holds, that store
  // stays inside out, so the first stretch needs no test of the capacity.
  const std::size_t unchecked = std::min(text.size(), capacity);
  std::size_t written = 0;
  std::size_t i = 0;
  const auto keep = [&](std::size_t at) {
    const unsigned char kept = table[static_cast<unsigned char>(text[at])];
    out[written] = static_cast<char>(kept);
    written += kept != 0 ? 1 : 0;
  };
  for (; i + 4 <= unchecked; i += 4) {
    keep(i);
    keep(i + 1);
    keep(i + 2);
    keep(i + 3);
  }
  for (; i < unchecked; ++i) keep(i);
  for (; i < text.size() && written < capacity; ++i) {
    const unsigned char kept = table[static_cast<unsigned char>(text[i])];
    if (kept != 0) out[written++] = static_cast<char>(kept);
  }
  return written;
}

AnsiString RemoveInvalidChars(const AnsiString& text, bool firstKind) {
  AnsiString result(text.size(), '\0');
  result.resize(RemoveInvalidChars(text, firstKind, result.data(), result.size()));
  return result;
}

void DecodeChars(std::string_view text, AnsiString& result) {
  result.resize(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    result[i] = static_cast<char>(kDecodingTable[static_cast<unsigned char>(text[i])]);
  }
}

AnsiString DecodeChars(const AnsiString& text) {
  AnsiString result;
  DecodeChars(text, result);
  return result;
}

}  // namespace zor::detail::dtaus
