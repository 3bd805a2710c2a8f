#include "sepa/SepaText.h"

#include <array>
#include <utility>

#include "sepa/SepaMessages.h"
#include "zordta/Printable.h"
#include "zordta/Transliteration.h"
#include "zordta/host/Text.h"

namespace zor::detail {

namespace {

using namespace msgsepa;

constexpr std::size_t kNameLength = 70;
constexpr std::size_t kIdentifierLength = 35;

constexpr std::u32string_view kBasicOthers = U" ':?,-(+.)/&*$%ÄÖÜäöüß";

// A byte per character of Latin-1, made from the list above: the check of most
// characters is one look-up, not a search of the list.
constexpr std::array<bool, 0x100> kBasicLatin1 = [] {
  std::array<bool, 0x100> basic{};
  for (char32_t c = 0; c < 0x80; ++c) {
    basic[c] = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
  }
  for (const char32_t c : kBasicOthers) {
    if (c < 0x100) basic[c] = true;
  }
  return basic;
}();

bool IsBasic(char32_t c) {
  if (c < 0x100) return kBasicLatin1[c];
  return kBasicOthers.find(c) != std::u32string_view::npos;
}

// The same for references: with the blank and without, since only some take it.
constexpr std::array<bool, 0x100> IdentifierBytes(bool blanks) {
  std::array<bool, 0x100> allowed{};
  for (unsigned c = 0; c < 0x80; ++c) {
    allowed[c] = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
  }
  for (const char c : std::string_view("+?/-:().,'")) allowed[static_cast<unsigned char>(c)] = true;
  allowed[' '] = blanks;
  return allowed;
}
constexpr std::array<bool, 0x100> kIdentifierBytes = IdentifierBytes(false);
constexpr std::array<bool, 0x100> kIdentifierBytesWithBlank = IdentifierBytes(true);

// The banks' counterpart of a character outside their set; empty when none.
// Their set holds the umlauts and ß; the signs' counterparts are theirs alone.
std::string_view Transliteration(char32_t c) {
  switch (c) {
    case U'\t':
    case U'\n':
    case U'\r':
    case U'\u00A0':
      return " ";
    case U'"':
    case U'\u2018':
    case U'\u2019':
    case U'\u201A':
    case U'\u201C':
    case U'\u201D':
    case U'\u201E':
    case U'`':
    case U'\u00B4':
      return "'";
    case U'[':
    case U'{':
      return "(";
    case U']':
    case U'}':
      return ")";
    case U'_':
    case U'\u2013':
    case U'\u2014':
      return "-";
    case U';':
      return ",";
    case U'!':
      return ".";
    case U'\u20AC':
      return "EUR";
    default:
      break;
  }
  return BaseLetters(c, Umlauts::Kept);
}

// Most text needs no change: one sweep over basic characters within the limit
// tells, without building anything.
bool KeptAsItIs(std::string_view utf8, std::size_t maxChars) {
  std::size_t continuations = 0;  // bytes that start no character
  for (std::size_t at = 0; at < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[at]);
    if (lead < 0x80) {
      if (!kBasicLatin1[lead]) return false;
      ++at;
      continue;
    }
    // C2 or C3 and a continuation byte: the rest of Latin-1, umlauts and ß among it.
    const auto next = at + 1 < utf8.size() ? static_cast<unsigned char>(utf8[at + 1]) : 0u;
    if ((lead == 0xC2 || lead == 0xC3) && (next & 0xC0) == 0x80) {
      if (!kBasicLatin1[(lead & 0x1Fu) << 6 | (next & 0x3Fu)]) return false;
      at += 2;
      ++continuations;
      continue;
    }
    char32_t c = 0;
    const std::size_t length = DecodeUtf8(utf8, at, c);
    if (length == 0 || !IsBasic(c)) return false;
    at += length;
    continuations += length - 1;
  }
  return utf8.size() - continuations <= maxChars;
}

}  // namespace

std::string SepaQuoted(std::string_view text) {
  return "\"" + PrintableText(text) + "\"";
}

void SepaRefuse(SepaFault fault, SepaPlace place, std::string text) {
  throw SepaError(fault, std::move(place), std::move(text));
}

std::string_view SepaText(std::string_view utf8, std::size_t maxChars, bool strict, SepaSpot spot,
                          const SepaWarn& warn, std::string& room) {
  if (KeptAsItIs(utf8, maxChars)) {
    const std::size_t kept = utf8.find_last_not_of(' ');
    return utf8.substr(0, kept == std::string_view::npos ? 0 : kept + 1);
  }
  std::string& out = room;
  out.clear();
  const SepaPlace place = spot.Place();
  std::string replaced;  // the characters transliterated, for the message
  std::string refused;   // those without a counterpart, each once
  std::size_t refusedCount = 0;
  std::size_t chars = 0;
  bool cut = false;
  out.reserve(utf8.size());
  for (std::size_t at = 0; at < utf8.size();) {
    char32_t c = static_cast<unsigned char>(utf8[at]);
    const std::size_t length = c < 0x80 ? 1 : DecodeUtf8(utf8, at, c);
    if (length == 0) SepaRefuse(SepaFault::Text, place, _MsgSepaMalformed);
    const std::string_view original = utf8.substr(at, length);
    at += length;
    std::string_view counterpart;
    if (!IsBasic(c)) {
      counterpart = Transliteration(c);
      if (counterpart.empty()) {
        // Each one named, not only the first: the text is fixed in one go.
        const std::string quoted = SepaQuoted(original);
        if (refused.find(quoted) == std::string::npos) {
          refused += (refused.empty() ? "" : ", ") + quoted;
          ++refusedCount;
        }
        continue;
      }
      if (replaced.find(original) == std::string::npos) {
        if (!replaced.empty()) replaced += ", ";
        replaced += original;
      }
    }
    const std::size_t add = counterpart.empty() ? 1 : counterpart.size();
    if (chars + add > maxChars) {
      cut = true;
      continue;  // the rest is checked, not kept
    }
    chars += add;
    if (counterpart.empty()) {
      out += original;  // well-formed, so the same bytes as `c` encoded anew
    } else {
      out += counterpart;
    }
  }
  if (!refused.empty()) {
    std::string text =
        Fill(refusedCount == 1 ? _MsgSepaNoCounterpart : _MsgSepaNoCounterparts, {refused});
    if (strict && !replaced.empty()) {
      text += " " + Fill(_MsgSepaTransliterationRefused, {replaced});
    } else if (!replaced.empty() && warn) {
      warn({place, Fill(_MsgSepaTransliterated, {replaced})});
    }
    SepaRefuse(SepaFault::Text, place, std::move(text));
  }
  if (!replaced.empty()) {
    if (strict) {
      SepaRefuse(SepaFault::Text, place, Fill(_MsgSepaTransliterationRefused, {replaced}));
    }
    if (warn) warn({place, Fill(_MsgSepaTransliterated, {replaced})});
  }
  if (cut) {
    const std::string limit = std::to_string(maxChars);
    if (strict) SepaRefuse(SepaFault::Text, place, Fill(_MsgSepaCutRefused, {limit}));
    if (warn) warn({place, Fill(_MsgSepaCut, {limit})});
  }
  // A text cut or blanked at its end keeps no trailing blanks.
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

std::string_view SepaName(std::string_view utf8, bool strict, SepaSpot spot, const SepaWarn& warn,
                          std::string& room) {
  const std::string_view name = SepaText(utf8, kNameLength, strict, spot, warn, room);
  if (name.empty()) SepaRefuse(SepaFault::Text, spot.Place(), _MsgSepaNameEmpty);
  return name;
}

void CheckSepaIdentifier(std::string_view id, bool blanks, SepaSpot spot) {
  if (id.empty()) SepaRefuse(SepaFault::Identifier, spot.Place(), _MsgSepaIdentifierEmpty);
  if (id.size() > kIdentifierLength) {
    SepaRefuse(SepaFault::Identifier, spot.Place(),
               Fill(_MsgSepaIdentifierLength, {SepaQuoted(id)}));
  }
  // Gathered without a branch per character: every payment has references.
  const std::array<bool, 0x100>& allowed = blanks ? kIdentifierBytesWithBlank : kIdentifierBytes;
  bool fits = true;
  for (const char c : id) fits &= allowed[static_cast<unsigned char>(c)];
  if (!fits) {
    SepaRefuse(SepaFault::Identifier, spot.Place(),
               Fill(_MsgSepaIdentifierCharacter, {SepaQuoted(id)}));
  }
  // The rulebooks keep the slash for structured references of their own.
  if (id.front() == '/' || id.back() == '/' || id.find("//") != std::string_view::npos) {
    SepaRefuse(SepaFault::Identifier, spot.Place(),
               Fill(_MsgSepaIdentifierSlash, {SepaQuoted(id)}));
  }
}

}  // namespace zor::detail
