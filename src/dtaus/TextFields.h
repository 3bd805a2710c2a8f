// The text fields of a DTAUS file as a reader sees them: which bytes the format
// allows, which a damaged archive shows instead (lower case, umlauts of other
// code pages), and the UTF-8 each byte stands for.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zor::detail::dtaus {

/// How a byte departs from the format's characters, from harmless to refused.
enum class TextDeviation : unsigned char {
  None,
  LowerCase,          ///< a-z
  Cp437Umlaut,        ///< ä, ö, ü in the PC code page
  Windows1252Umlaut,  ///< Ä, Ö, Ü, ß, ä, ö, ü in Windows-1252
  LowerUmlaut7Bit,    ///< ä, ö, ü in the 7-bit German code ("{", "|", "}")
  OtherPrintable,     ///< a printable ASCII byte the format does not have
  Refused,            ///< a control byte or any other byte: no reading of it is safe
};

struct TextReading {
  TextDeviation deviation = TextDeviation::None;  ///< the most serious one, if any
  std::size_t at = 0;                             ///< its first index in the field
};

/// The field without its trailing blanks, in UTF-8 capitals (both umlaut codes
/// of the format decode to Ä, Ö, Ü and ß), into `utf8`. A deviating byte is
/// read as what it most likely means; the answer names the most serious one.
TextReading ReadTextField(std::string_view field, std::string& utf8);

/// A German phrase for the deviation, e.g. "Kleinbuchstabe".
const char* DeviationName(TextDeviation deviation);

}  // namespace zor::detail::dtaus
