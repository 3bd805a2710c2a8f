// Letters with diacritics, and ligatures, as the plain letters a payment file
// can hold ("é" -> "e", "Æ" -> "AE"), for the ones a file's repertoire lacks.
#pragma once

#include <string_view>

namespace zcli {

/// The base letters of a Windows-1252 letter, in its case; empty for a byte
/// that is no such letter.
std::string_view BaseLetters(unsigned char ansiByte);

}  // namespace zcli
