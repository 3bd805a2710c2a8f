#include "dtazv/BankIdentifiers.h"

#include <array>
#include <cstddef>

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

// Asked for every byte of a BIC and an IBAN at every booking.
constexpr std::array<bool, 256> MakeLetterOrDigit() {
  std::array<bool, 256> table{};
  for (unsigned b = 0; b < 256; ++b) {
    table[b] = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9');
  }
  return table;
}

constexpr std::array<bool, 256> kLetterOrDigit = MakeLetterOrDigit();

}  // namespace

std::int32_t IBANMod97(const AnsiString& iban) {
  // The first four characters go to the end. Digits gather in 64 bits and are
  // reduced only when the number grows large, not once per digit.
  const std::size_t head = iban.size() < 4 ? iban.size() : 4;
  std::uint64_t value = 0;
  const auto add = [&value](char c) {
    const IbanDigits digits = kIbanDigits[static_cast<unsigned char>(c)];
    value = value * digits.scale + digits.value;
    if (value >= (std::uint64_t{1} << 56)) value %= 97;  // so that value * 100 + 35 fits
    return digits.scale != 0;
  };
  for (std::size_t i = head; i < iban.size(); ++i) {
    if (!add(iban[i])) return 0;
  }
  for (std::size_t i = 0; i < head; ++i) {
    if (!add(iban[i])) return 0;
  }
  return static_cast<std::int32_t>(value % 97);
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

bool IsWritableIdentifier(const AnsiString& identifier) {
  for (const char c : identifier) {
    if (!kLetterOrDigit[static_cast<unsigned char>(c)]) return false;
  }
  return true;
}

bool IsWritableCountryCode(const AnsiString& code) {
  for (const char c : code) {
    if (!IsAsciiLetter(c) && c != ' ') return false;
  }
  return true;
}

}  // namespace zor::detail::dtazv
