#include "dtazv/BankIdentifiers.h"

#include <array>
#include <cstddef>

#include "dtazv/AsciiWords.h"
#include "zordta/detail/DigitRun.h"

namespace zor::detail::dtazv {
namespace {

bool IsAsciiLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// What a character adds to an IBAN's number: a digit itself, a letter two
// digits (A = 10 ... Z = 35, small letters as capitals). A scale of 0 marks a
// sign, a blank or any other byte, which makes the number unreadable.
struct IbanDigits {
  std::uint8_t scale;
  std::uint8_t value;
};

constexpr std::array<IbanDigits, 256> MakeIbanDigits() {
  std::array<IbanDigits, 256> table{};
  for (unsigned b = 0; b < 256; ++b) {
    if (b >= '0' && b <= '9') {
      table[b] = {10, static_cast<std::uint8_t>(b - '0')};
    } else if (b >= 'A' && b <= 'Z') {
      table[b] = {100, static_cast<std::uint8_t>(b - 'A' + 10)};
    } else if (b >= 'a' && b <= 'z') {
      table[b] = {100, static_cast<std::uint8_t>(b - 'a' + 10)};
    }
  }
  return table;
}

constexpr std::array<IbanDigits, 256> kIbanDigits = MakeIbanDigits();

// Each letter's capital and each digit itself; 0 for every other byte. Asked
// for every byte of a BIC and an IBAN at every booking.
constexpr std::array<char, 256> MakeCapitalOrDigit() {
  std::array<char, 256> table{};
  for (unsigned b = 0; b < 256; ++b) {
    if ((b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9')) table[b] = static_cast<char>(b);
    if (b >= 'a' && b <= 'z') table[b] = static_cast<char>(b - 'a' + 'A');
  }
  return table;
}

constexpr std::array<char, 256> kCapitalOrDigit = MakeCapitalOrDigit();

// The eight bytes at text in capitals, when all are letters A-Z, a-z or digits.
bool AlphanumericWord(const char* text, std::uint64_t& capitals) {
  const std::uint64_t word = words::Load(text);
  if (!words::AllAscii(word)) return false;
  capitals = words::Capitals(word);
  return (words::InRange(capitals, '0', '9') | words::InRange(capitals, 'A', 'Z')) ==
         words::kHighBits;
}

}  // namespace

std::int32_t IBANMod97(std::string_view iban) {
  // The first four characters go to the end. Digits gather in 64 bits and are
  // reduced only when the number grows large, not once per digit; a run of
  // eight digits (most of an IBAN) joins the number at once.
  const std::size_t head = iban.size() < 4 ? iban.size() : 4;
  std::uint64_t value = 0;
  const auto add = [&value](char c) {
    const IbanDigits digits = kIbanDigits[static_cast<unsigned char>(c)];
    value = value * digits.scale + digits.value;
    if (value >= (std::uint64_t{1} << 56)) value %= 97;  // so that value * 100 + 35 fits
    return digits.scale != 0;
  };
  std::size_t i = head;
  while (i < iban.size()) {
    std::uint32_t eight = 0;
    if (i + 8 <= iban.size() && ReadEightDigits(iban.data() + i, eight)) {
      value = value % 97 * 100'000'000 + eight;
      i += 8;
    } else if (add(iban[i])) {
      ++i;
    } else {
      return 0;
    }
  }
  for (std::size_t k = 0; k < head; ++k) {
    if (!add(iban[k])) return 0;
  }
  return static_cast<std::int32_t>(value % 97);
}

std::uint32_t GermanIbanMod97(std::uint64_t bban, unsigned checkDigits) {
  // The BBAN fits in 64 bits; "DE" (13 14) and the check digits follow it as
  // six more digits.
  return static_cast<std::uint32_t>((bban % 97 * 1'000'000 + 131400 + checkDigits) % 97);
}

bool IsValidIBAN(const AnsiString& iban) {
  return iban.size() >= 5 && iban.size() <= 34 && IBANMod97(iban) == 1;
}

bool IsValidBIC(const AnsiString& bic) {
  if (bic.size() != 8 && bic.size() != 11) return false;
  for (std::size_t i = 0; i < 6; ++i) {
    if (!IsAsciiLetter(bic[i])) return false;
  }
  return true;
}

bool WritableInCapitals(std::string_view identifier, AnsiString& capitals) {
  const std::size_t size = identifier.size();
  capitals.resize(size);
  const char* const in = identifier.data();
  char* const out = capitals.data();
  std::uint64_t word = 0;
  std::size_t i = 0;
  for (; i + 8 <= size; i += 8) {
    if (!AlphanumericWord(in + i, word)) break;
    words::Store(out + i, word);
  }
  // The rest, unless the last eight bytes pass as one word.
  if (i < size && size >= 8 && i + 8 > size && AlphanumericWord(in + size - 8, word)) {
    words::Store(out + size - 8, word);
    return true;
  }
  for (; i < size; ++i) {
    const char capital = kCapitalOrDigit[static_cast<unsigned char>(in[i])];
    if (capital == 0) return false;
    out[i] = capital;
  }
  return true;
}

bool IsWritableCountryCode(std::string_view code) {
  for (const char c : code) {
    if (!IsAsciiLetter(c) && c != ' ') return false;
  }
  return true;
}

}  // namespace zor::detail::dtazv
