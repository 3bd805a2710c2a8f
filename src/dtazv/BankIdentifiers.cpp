#include "dtazv/BankIdentifiers.h"

#include <cstddef>
#include <string>

namespace zor::detail::dtazv {
namespace {

bool IsAsciiLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Only digits count: a sign, a blank or any other byte makes the piece unreadable.
bool ReadDigits(const std::string& text, std::uint32_t& value) {
  if (text.empty()) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<std::uint32_t>(c - '0');
  }
  return true;
}

}  // namespace

AnsiString IBANLettersToDigits(const AnsiString& text) {
  AnsiString result;
  result.reserve(text.size() * 2);
  for (char c : text) {
    if (c >= 'A' && c <= 'Z') {
      result += std::to_string(c - 'A' + 10);
    } else {
      result += c;
    }
  }
  return result;
}

std::int32_t IBANMod97(const AnsiString& iban) {
  AnsiString upper(iban);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  const std::size_t head = upper.size() < 4 ? upper.size() : 4;
  const AnsiString number = IBANLettersToDigits(upper.substr(head) + upper.substr(0, head));

  // Nine digits at most per step, so every piece fits 32 bits.
  std::string rest;
  std::uint32_t remainder = 0;
  std::size_t pos = 0;
  std::size_t take = 9;
  while (pos < number.size()) {
    rest += number.substr(pos, take);
    std::uint32_t piece = 0;
    if (!ReadDigits(rest, piece)) return 0;
    remainder = piece % 97;
    rest = std::to_string(remainder);
    pos += take;
    take = 9 - rest.size();
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

}  // namespace zor::detail::dtazv
