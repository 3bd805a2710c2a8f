#include "dtazv/BankIdentifiers.h"

#include <cstddef>

namespace zor::detail::dtazv {
namespace {

bool IsAsciiLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

std::int32_t IBANMod97(const AnsiString& iban) {
  // The first four characters go to the end; a letter counts as two digits
  // (A = 10 ... Z = 35), small letters as capitals. The remainder is taken digit
  // by digit, so no number grows beyond 9999.
  const std::size_t head = iban.size() < 4 ? iban.size() : 4;
  std::uint32_t remainder = 0;
  for (std::size_t i = 0; i < iban.size(); ++i) {
    const char c = iban[(i + head) % iban.size()];
    if (c >= '0' && c <= '9') {
      remainder = (remainder * 10 + static_cast<std::uint32_t>(c - '0')) % 97;
    } else if (IsAsciiLetter(c)) {
      const char upper = c >= 'a' ? static_cast<char>(c - 'a' + 'A') : c;
      remainder = (remainder * 100 + static_cast<std::uint32_t>(upper - 'A' + 10)) % 97;
    } else {
      return 0;  // a sign, a blank or any other byte makes the number unreadable
    }
  }
  return static_cast<std::int32_t>(remainder);
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
    if (!IsAsciiLetter(c) && !(c >= '0' && c <= '9')) return false;
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
