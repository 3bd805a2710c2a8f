#include "dtazv/RecordFields.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "core/MessageFill.h"
#include "core/ShownBytes.h"
#include "core/TwoDigitYear.h"
#include "dtazv/DtazvReadMessages.h"
#include "zordta/host/SysUtils.h"

namespace zor::detail::dtazv {
namespace {

using namespace msgdtazvRead;

constexpr bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
constexpr bool IsCapital(char c) {
  return c >= 'A' && c <= 'Z';
}
bool IsSmall(char c) {
  return c >= 'a' && c <= 'z';
}
// The format's characters: blank, + , - . /, digits and capitals. A table, as
// a file of a million payments has some 400 million bytes of text to check.
constexpr std::array<bool, 256> kFormatChars = [] {
  std::array<bool, 256> table{};
  for (int c = 0; c < 256; ++c) {
    const char ch = static_cast<char>(c);
    table[static_cast<std::size_t>(c)] =
        ch == ' ' || (ch >= '+' && ch <= '/') || IsDigit(ch) || IsCapital(ch);
  }
  return table;
}();

bool IsFormatChar(char c) {
  return kFormatChars[static_cast<unsigned char>(c)];
}

// Eight bytes at a time: most of a payment's 768 bytes are blank fields and the
// blank ends of names.
std::string_view WithoutTrailingBlanks(std::string_view text) {
  constexpr std::uint64_t kBlanks = 0x2020202020202020ULL;
  std::size_t end = text.size();
  while (end >= 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, text.data() + end - 8, 8);
    if (word != kBlanks) break;
    end -= 8;
  }
  while (end > 0 && text[end - 1] == ' ') --end;
  return text.substr(0, end);
}

// The offset of the first byte that is no blank, or npos.
std::size_t FirstNonBlank(std::string_view text) {
  constexpr std::uint64_t kBlanks = 0x2020202020202020ULL;
  std::size_t at = 0;
  while (at + 8 <= text.size()) {
    std::uint64_t word = 0;
    std::memcpy(&word, text.data() + at, 8);
    if (word != kBlanks) break;
    at += 8;
  }
  while (at < text.size() && text[at] == ' ') ++at;
  return at < text.size() ? at : std::string_view::npos;
}

int TwoDigits(std::string_view text, std::size_t at) {
  return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

}  // namespace

int ThisYear() {
  int year = 0, month = 0, day = 0;
  DecodeDate(zor::Date(), year, month, day);
  return year;
}

std::string PlaceText(const DtazvPlace& place) {
  return Fill(_MsgZvReadPlace, {std::to_string(place.record), std::to_string(place.offset)});
}

void ReadNotes::Add(Kind kind, DtazvPlace place, std::string text) {
  if (++fOfKind[static_cast<std::size_t>(kind)] > kOfAKind) return;
  fNotes.push_back({place, std::move(text)});
}

void ReadNotes::Close(DtazvPlace place) {
  for (std::size_t& count : fOfKind) {
    if (count > kOfAKind) {
      fNotes.push_back({place, Fill(_MsgZvReadMoreNotes, {std::to_string(count - kOfAKind)})});
    }
    count = 0;
  }
}

void RecordFields::Fail(DtazvFault fault, Field f, std::string text) const {
  throw DtazvReadError(fault, PlaceOf(f), std::move(text));
}

std::string RecordFields::Positions(Field f) const {
  return Fill(_MsgZvReadPositions, {std::to_string(f.offset + 1), std::to_string(f.End())});
}

std::int64_t RecordFields::Digits(Field f, const char* name) const {
  std::int64_t value = 0;
  for (const char c : At(f)) {
    if (!IsDigit(c)) {
      Fail(DtazvFault::Structure, f,
           Fill(_MsgZvReadNotDigits, {name, Positions(f), ShownBytes(At(f))}));
    }
    value = value * 10 + (c - '0');
  }
  return value;
}

std::int64_t RecordFields::DigitsOrBlank(Field f, const char* name) const {
  if (FirstNonBlank(At(f)) == std::string_view::npos) return 0;
  return Digits(f, name);
}

std::chrono::year_month_day RecordFields::Date(Field f, const char* name) const {
  Digits(f, name);
  const std::string_view text = At(f);
  const std::chrono::year_month_day date{
      std::chrono::year(detail::FullYear(TwoDigits(text, 0), fThisYear)),
      std::chrono::month(static_cast<unsigned>(TwoDigits(text, 2))),
      std::chrono::day(static_cast<unsigned>(TwoDigits(text, 4)))};
  if (!date.ok()) {
    Fail(DtazvFault::Structure, f, Fill(_MsgZvReadNoDate, {name, Positions(f), ShownBytes(text)}));
  }
  return date;
}

std::optional<std::chrono::year_month_day> RecordFields::DateOrBlank(Field f,
                                                                     const char* name) const {
  if (FirstNonBlank(At(f)) == std::string_view::npos) return std::nullopt;
  return Date(f, name);
}

void RecordFields::Literal(Field f, std::string_view expected, const char* name) const {
  if (At(f) == expected) return;
  Fail(DtazvFault::Structure, f,
       Fill(_MsgZvReadLiteral, {name, Positions(f), ShownBytes(At(f)), ShownBytes(expected)}));
}

void RecordFields::Blank(Field f, const char* name) const {
  const std::size_t stray = FirstNonBlank(At(f));
  if (stray == std::string_view::npos) return;
  throw DtazvReadError(DtazvFault::Structure, {fStart.record, PlaceOf(f).offset + stray},
                       Fill(_MsgZvReadNotBlank, {name, Positions(f), ShownBytes(At(f))}));
}

char RecordFields::Capital(Field f, std::size_t at, const char* name, bool& lowered) const {
  const char c = At(f)[at];
  const DtazvPlace place{fStart.record, PlaceOf(f).offset + at};
  if (!IsSmall(c)) {
    throw DtazvReadError(DtazvFault::Text, place,
                         Fill(_MsgZvReadBadByte, {name, Positions(f), ShownBytes({&c, 1})}));
  }
  if (!fTolerant) {
    throw DtazvReadError(DtazvFault::Text, place,
                         Fill(_MsgZvReadLowerCase, {name, Positions(f), ShownBytes({&c, 1})}));
  }
  lowered = true;
  return static_cast<char>(c - 'a' + 'A');
}

void RecordFields::NoteLowered(Field f, const char* name, const std::string& read) {
  fNotes.Add(ReadNotes::Kind::LowerCase, PlaceOf(f),
             Fill(_MsgZvReadLowerCaseRead, {name, Positions(f), read}));
}

void RecordFields::Text(Field f, const char* name, std::string& out) {
  const std::string_view text = WithoutTrailingBlanks(At(f));
  bool plain = true;
  for (const char c : text) plain &= IsFormatChar(c);
  out.assign(text);
  if (plain) return;
  bool lowered = false;
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (!IsFormatChar(out[i])) out[i] = Capital(f, i, name, lowered);
  }
  if (lowered) NoteLowered(f, name, out);
}

void RecordFields::Code(Field f, const char* name, CodeChars chars, std::string& out) {
  out.assign(WithoutTrailingBlanks(At(f)));
  bool lowered = false;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const char c = out[i];
    if (IsCapital(c) || (chars == CodeChars::Alphanumerics && IsDigit(c))) continue;
    if (IsSmall(c)) {
      out[i] = Capital(f, i, name, lowered);
      continue;
    }
    const bool letters = chars == CodeChars::Letters;
    throw DtazvReadError(
        DtazvFault::Structure, {fStart.record, PlaceOf(f).offset + i},
        Fill(_MsgZvReadCodeShape, {name, Positions(f), ShownBytes(At(f)),
                                   letters ? _MsgZvReadLetters : _MsgZvReadAlphanumerics}));
  }
  if (lowered) NoteLowered(f, name, out);
}

void RecordFields::Currency(Field f, const char* name, bool optional, std::string& out) {
  Code(f, name, CodeChars::Letters, out);
  if (out.size() == f.width || (optional && out.empty())) return;
  Fail(DtazvFault::Structure, f, Fill(_MsgZvReadCurrency, {name, Positions(f), ShownBytes(At(f))}));
}

}  // namespace zor::detail::dtazv
