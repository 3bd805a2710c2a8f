// Letters with diacritics, and ligatures, as the plain letters of their case
// ("é" -> "e", "Æ" -> "AE", "Ł" -> "L"), for a format whose character set lacks
// them. The one table of Latin-1 and Latin Extended-A letters (U+00C0 to
// U+017F); what a format does with the umlauts and ß is its own choice:
//
//   zor::BaseLetters(U'Ä', zor::Umlauts::Spelled)   // "AE": DTAUS and DTAZV files
//   zor::BaseLetters(U'Ä', zor::Umlauts::Kept)      // "": SEPA texts hold the letter
//
// Signs (quotes, brackets, the euro) are no letters: a format maps them itself.
#pragma once

#include <string_view>

#include "zordta/Config.h"

namespace zor {

/// What becomes of Ä Ö Ü ä ö ü ß.
enum class Umlauts {
  Spelled,  ///< "AE" "OE" "UE" "ae" "oe" "ue" "ss"
  Kept,     ///< no base letters: the format holds them as they are
};

/// The base letters of a letter, in its case; empty for any other character.
ZORDTA_API std::string_view BaseLetters(char32_t codePoint, Umlauts umlauts) noexcept;
/// The same for a byte of Windows-1252 text (0x8A "Š" -> "S", 0x9C "œ" -> "oe").
ZORDTA_API std::string_view AnsiBaseLetters(char ansiByte, Umlauts umlauts) noexcept;

}  // namespace zor
