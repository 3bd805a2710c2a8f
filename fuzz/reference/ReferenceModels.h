// Plain, slow models of the character filters and the IBAN check, written
// straight from their rules. The fuzz harnesses compare the library's
// table-driven code with them byte for byte.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace zorfuzz {

/// Ends the run as a finding when a property does not hold.
inline void Check(bool condition) {
  if (!condition) std::abort();
}

/// Capital of a Windows-1252 byte: a-z and 0xE0-0xFE (not 0xF7) are 0x20 above
/// theirs; š, œ, ž and ÿ have theirs elsewhere.
inline unsigned char AnsiCapital(unsigned char b) {
  if ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7)) return b - 0x20;
  switch (b) {
    case 0x9A:
      return 0x8A;
    case 0x9C:
      return 0x8C;
    case 0x9E:
      return 0x8E;
    case 0xFF:
      return 0x9F;
    default:
      return b;
  }
}

/// DTAUS: a-z to capitals; keep the blank, $ % &, * + , - . /, digits, A-Z, the
/// umlauts Ä Ö Ü ä ö ü ß and the file kind's own umlaut codes; then the umlauts
/// into the file kind's codes.
inline std::string ModelDtausClean(std::string_view text, bool firstKind) {
  const std::string_view own =
      firstKind ? std::string_view("\x5C\x5D\x7E") : std::string_view("\x8E\x99\x9A\xE1");
  const std::string_view umlauts("\xC4\xD6\xDC\xDF\xE4\xF6\xFC");
  const std::string_view signs(" $%&*+,-./");
  std::string kept;
  for (char c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    const bool keep = signs.find(c) != std::string_view::npos || (c >= '0' && c <= '9') ||
                      (c >= 'A' && c <= 'Z') || umlauts.find(c) != std::string_view::npos ||
                      own.find(c) != std::string_view::npos;
    if (keep) kept += c;
  }
  const char* codes = firstKind ? "[\\]~" : "\x8E\x99\x9A\xE1";
  std::string result;
  for (char c : kept) {
    switch (static_cast<unsigned char>(c)) {
      case 0xC4:
      case 0xE4:
        result += codes[0];
        break;
      case 0xD6:
      case 0xF6:
        result += codes[1];
        break;
      case 0xDC:
      case 0xFC:
        result += codes[2];
        break;
      case 0xDF:
        result += codes[3];
        break;
      default:
        result += c;
    }
  }
  return result;
}

/// DTAUS back to text: either kind's umlaut codes to Ä Ö Ü ß, everything else
/// to its Windows-1252 capital.
inline std::string ModelDtausDecode(std::string_view text) {
  std::string result;
  for (char c : text) {
    switch (static_cast<unsigned char>(c)) {
      case 0x5B:
      case 0x8E:
        result += '\xC4';
        break;
      case 0x5C:
      case 0x99:
        result += '\xD6';
        break;
      case 0x5D:
      case 0x9A:
        result += '\xDC';
        break;
      case 0x7E:
      case 0xE1:
        result += '\xDF';
        break;
      default:
        result += static_cast<char>(AnsiCapital(static_cast<unsigned char>(c)));
    }
  }
  return result;
}

/// DTAZV: ß to SS, capitals, Ä Ö Ü to AE OE UE, then only the blank, + , - . /,
/// digits and A-Z.
inline std::string ModelDtazvClean(std::string_view text) {
  std::string spelled;
  for (char c : text) {
    if (c == '\xDF') {
      spelled += "SS";
      continue;
    }
    const unsigned char upper = AnsiCapital(static_cast<unsigned char>(c));
    if (upper == 0xC4) {
      spelled += "AE";
    } else if (upper == 0xD6) {
      spelled += "OE";
    } else if (upper == 0xDC) {
      spelled += "UE";
    } else {
      spelled += static_cast<char>(upper);
    }
  }
  std::string result;
  for (char c : spelled) {
    if (c == ' ' || (c >= '+' && c <= '/') || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z')) {
      result += c;
    }
  }
  return result;
}

/// ISO 7064 MOD 97-10 on the IBAN moved by four and spelled as digits, computed
/// on nine-digit pieces; 0 when a character is neither a letter nor a digit.
inline int ModelIbanRemainder(std::string_view iban) {
  std::string upper(iban);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  const std::size_t head = upper.size() < 4 ? upper.size() : 4;
  const std::string moved = upper.substr(head) + upper.substr(0, head);
  std::string digits;
  for (char c : moved) {
    if (c >= 'A' && c <= 'Z') {
      digits += std::to_string(c - 'A' + 10);
    } else if (c >= '0' && c <= '9') {
      digits += c;
    } else {
      return 0;
    }
  }
  std::uint64_t remainder = 0;
  for (std::size_t at = 0; at < digits.size(); at += 9) {
    const std::string piece = std::to_string(remainder) + digits.substr(at, 9);
    remainder = std::stoull(piece) % 97;
  }
  return static_cast<int>(remainder);
}

inline bool ModelIbanValid(std::string_view iban) {
  return iban.size() >= 5 && iban.size() <= 34 && ModelIbanRemainder(iban) == 1;
}

}  // namespace zorfuzz
