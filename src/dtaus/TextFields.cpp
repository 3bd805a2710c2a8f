#include "dtaus/TextFields.h"

#include <array>
#include <cstdint>

#include "dtaus/DtausReadMessages.h"
#include "zordta/detail/DigitRun.h"

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
  // Fields are blank at their end more often than not: eight blanks at a time.
  constexpr std::uint64_t kEightBlanks = 0x2020202020202020;
  std::size_t end = field.size();
  while (end >= 8 && LoadEightBytes(field.data() + end - 8) == kEightBlanks) end -= 8;
  while (end > 0 && field[end - 1] == ' ') --end;
  // Most fields hold only bytes that stand for themselves: one look at each,
  // without a branch, and one copy.
  bool plain = true;
  for (std::size_t i = 0; i < end; ++i)
    plain &= kStandsForItself[static_cast<unsigned char>(field[i])];
  if (plain) {
    utf8.assign(field.data(), end);
    return {};
  }
  TextReading reading;
  // Made in a buffer at hand and copied once: the fields of a record part
  // are short. Every byte's meaning gives two bytes, of which it keeps one
  // or both.
  constexpr std::size_t kShortField = 128;
  std::array<char, 2 * kShortField + 1> made;
  if (end <= kShortField) {
    std::size_t length = 0;
    for (std::size_t i = 0; i < end; ++i) {
      const ByteMeaning& m = kMeanings[static_cast<unsigned char>(field[i])];
      made[length] = m.utf8[0];
      made[length + 1] = m.utf8[1];
      length += m.length;
      if (m.deviation > reading.deviation) reading = {m.deviation, i};
    }
    utf8.assign(made.data(), length);
    return reading;
  }
  utf8.clear();
  for (std::size_t i = 0; i < end; ++i) {
    const ByteMeaning& m = kMeanings[static_cast<unsigned char>(field[i])];
    utf8.append(m.utf8, m.length);
    if (m.deviation > reading.deviation) reading = {m.deviation, i};
  }
  return reading;
}

const char* DeviationName(TextDeviation deviation) {
  using namespace msgdtausRead;
  switch (deviation) {
    case TextDeviation::None:
      return "";
    case TextDeviation::LowerCase:
      return _MsgReadLowerCase;
    case TextDeviation::Cp437Umlaut:
      return _MsgReadCp437Umlaut;
    case TextDeviation::Windows1252Umlaut:
      return _MsgReadWindows1252Umlaut;
    case TextDeviation::LowerUmlaut7Bit:
      return _MsgReadLowerUmlaut7Bit;
    case TextDeviation::OtherPrintable:
      return _MsgReadOtherPrintable;
    case TextDeviation::Refused:
      return _MsgReadRefusedByte;
  }
  return "";
}

}  // namespace zor::detail::dtaus
