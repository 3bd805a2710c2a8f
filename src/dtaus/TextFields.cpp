#include "dtaus/TextFields.h"

#include <array>

namespace zor::detail::dtaus {
namespace {

struct ByteMeaning {
  char utf8[2];
  unsigned char length;
  TextDeviation deviation;
};

constexpr ByteMeaning Ascii(unsigned b, TextDeviation deviation) {
  return {{static_cast<char>(b), 0}, 1, deviation};
}

constexpr ByteMeaning Latin(unsigned codePoint, TextDeviation deviation) {
  return {
      {static_cast<char>(0xC0 | (codePoint >> 6)), static_cast<char>(0x80 | (codePoint & 0x3F))},
      2,
      deviation};
}

constexpr unsigned kAe = 0xC4, kOe = 0xD6, kUe = 0xDC, kSz = 0xDF;

constexpr std::array<ByteMeaning, 256> MakeMeanings() {
  std::array<ByteMeaning, 256> table{};
  for (unsigned b = 0; b < 256; ++b) {
    const bool base = b == ' ' || b == '$' || b == '%' || b == '&' || (b >= '*' && b <= '/') ||
                      (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z');
    if (base) {
      table[b] = Ascii(b, TextDeviation::None);
    } else if (b >= 'a' && b <= 'z') {
      table[b] = Ascii(b - 'a' + 'A', TextDeviation::LowerCase);
    } else if (b > 0x20 && b < 0x7F) {
      table[b] = Ascii(b, TextDeviation::OtherPrintable);
    } else {
      table[b] = Ascii('?', TextDeviation::Refused);
    }
  }
  // The format's two codes of the umlauts: 7-bit German and the PC code page.
  table[0x5B] = table[0x8E] = Latin(kAe, TextDeviation::None);
  table[0x5C] = table[0x99] = Latin(kOe, TextDeviation::None);
  table[0x5D] = table[0x9A] = Latin(kUe, TextDeviation::None);
  table[0x7E] = table[0xE1] = Latin(kSz, TextDeviation::None);
  // What damaged archives hold instead; the format knows capitals only.
  table[0x7B] = Latin(kAe, TextDeviation::LowerUmlaut7Bit);
  table[0x7C] = Latin(kOe, TextDeviation::LowerUmlaut7Bit);
  table[0x7D] = Latin(kUe, TextDeviation::LowerUmlaut7Bit);
  table[0x84] = Latin(kAe, TextDeviation::Cp437Umlaut);
  table[0x94] = Latin(kOe, TextDeviation::Cp437Umlaut);
  table[0x81] = Latin(kUe, TextDeviation::Cp437Umlaut);
  table[0xC4] = table[0xE4] = Latin(kAe, TextDeviation::Windows1252Umlaut);
  table[0xD6] = table[0xF6] = Latin(kOe, TextDeviation::Windows1252Umlaut);
  table[0xDC] = table[0xFC] = Latin(kUe, TextDeviation::Windows1252Umlaut);
  table[0xDF] = Latin(kSz, TextDeviation::Windows1252Umlaut);
  return table;
}

constexpr std::array<ByteMeaning, 256> kMeanings = MakeMeanings();

constexpr std::array<bool, 256> MakeStandsForItself() {
  std::array<bool, 256> table{};
  for (unsigned b = 0; b < 256; ++b) {
    const ByteMeaning& m = kMeanings[b];
    table[b] =
        m.length == 1 && m.utf8[0] == static_cast<char>(b) && m.deviation == TextDeviation::None;
  }
  return table;
}

constexpr std::array<bool, 256> kStandsForItself = MakeStandsForItself();

}  // namespace

TextReading ReadTextField(std::string_view field, std::string& utf8) {
  utf8.clear();
  std::size_t end = field.size();
  while (end > 0 && field[end - 1] == ' ') --end;
  TextReading reading;
  for (std::size_t i = 0; i < end; ++i) {
    // Most bytes stand for themselves: such a run is copied in one piece, as
    // this runs for every text field of every record.
    std::size_t run = i;
    while (run < end && kStandsForItself[static_cast<unsigned char>(field[run])]) ++run;
    utf8.append(field.data() + i, run - i);
    if (run == end) break;
    const ByteMeaning& m = kMeanings[static_cast<unsigned char>(field[run])];
    utf8.append(m.utf8, m.length);
    if (m.deviation > reading.deviation) reading = {m.deviation, run};
    i = run;
  }
  return reading;
}

const char* DeviationName(TextDeviation deviation) {
  switch (deviation) {
    case TextDeviation::None:
      return "";
    case TextDeviation::LowerCase:
      return "Kleinbuchstabe";
    case TextDeviation::Cp437Umlaut:
      return "Umlaut in Kleinschreibung der Codepage 437";
    case TextDeviation::Windows1252Umlaut:
      return "Umlaut in Windows-1252";
    case TextDeviation::LowerUmlaut7Bit:
      return "Umlaut in Kleinschreibung des 7-Bit-Codes";
    case TextDeviation::OtherPrintable:
      return "Zeichen außerhalb des DTAUS-Zeichensatzes";
    case TextDeviation::Refused:
      return "Steuerzeichen oder unbekanntes Byte";
  }
  return "";
}

}  // namespace zor::detail::dtaus
