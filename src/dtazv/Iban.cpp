// zor::CheckIBAN: the IBAN registry's rules one after the other, the first
// broken one named.
#include "zordta/Iban.h"

#include <cstdint>

#include "dtazv/BankIdentifiers.h"
#include "dtazv/IbanRegistry.h"
#include "zordta/detail/DigitRun.h"

namespace zor {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsCapital(char c) {
  return c >= 'A' && c <= 'Z';
}

bool Fits(char c, IbanCharClass kind) {
  switch (kind) {
    case IbanCharClass::Digit:
      return IsDigit(c);
    case IbanCharClass::Capital:
      return IsCapital(c);
    case IbanCharClass::CapitalOrDigit:
      return IsDigit(c) || IsCapital(c);
  }
  return false;
}

IbanCheck Broken(IbanVerdict verdict, std::size_t position = 0, std::size_t expectedLength = 0,
                 IbanCharClass expected = IbanCharClass::CapitalOrDigit) {
  return IbanCheck{verdict, position, expectedLength, expected};
}

// A German IBAN, by far the most common here, with its check digits right:
// 22 characters, all digits after "DE", in one sum. It answers only yes, so
// anything else, right or wrong, takes the registry's way and its verdict.
bool IsRightGermanIban(std::string_view iban) {
  if (iban.size() != 22 || iban[0] != 'D' || iban[1] != 'E') return false;
  // The BBAN's 18 digits as two words of eight and a last two: every payment
  // of a file checks its IBAN, the writer once more.
  std::uint32_t high = 0;
  std::uint32_t middle = 0;
  if (!IsDigit(iban[2]) || !IsDigit(iban[3]) || !IsDigit(iban[20]) || !IsDigit(iban[21]) ||
      !detail::ReadEightDigits(iban.data() + 4, high) ||
      !detail::ReadEightDigits(iban.data() + 12, middle)) {
    return false;
  }
  const std::uint64_t bban = (std::uint64_t{high} * 100'000'000 + middle) * 100 +
                             static_cast<std::uint64_t>((iban[20] - '0') * 10 + (iban[21] - '0'));
  const auto check = static_cast<unsigned>((iban[2] - '0') * 10 + (iban[3] - '0'));
  // Check digits 00, 01 and 99 are never issued (see below).
  return check >= 2 && check <= 98 && detail::dtazv::GermanIbanMod97(bban, check) == 1;
}

}  // namespace

IbanCheck CheckIBAN(std::string_view iban) noexcept {
  if (IsRightGermanIban(iban))
    return IbanCheck{IbanVerdict::Valid, 0, 22, IbanCharClass::CapitalOrDigit};
  if (iban.empty()) return Broken(IbanVerdict::Empty);
  for (std::size_t i = 0; i < iban.size(); ++i) {
    if (!IsDigit(iban[i]) && !IsCapital(iban[i])) return Broken(IbanVerdict::Characters, i);
  }
  const detail::dtazv::IbanCountryFormat* country =
      iban.size() < 2 ? nullptr : detail::dtazv::FindIbanCountry(iban.substr(0, 2));
  if (country == nullptr) return Broken(IbanVerdict::UnknownCountry);
  const std::size_t length = country->length;
  if (iban.size() != length) return Broken(IbanVerdict::LengthForCountry, 0, length);

  for (std::size_t i = 2; i < 4; ++i) {
    if (!IsDigit(iban[i])) {
      return Broken(IbanVerdict::Structure, i, length, IbanCharClass::Digit);
    }
  }
  std::size_t position = 4;
  std::size_t wrongAt = iban.size();
  IbanCharClass wrongClass = IbanCharClass::CapitalOrDigit;
  detail::dtazv::ForEachBbanRun(country->bban, [&](std::size_t count, char letter) {
    const auto kind = static_cast<IbanCharClass>(letter);
    for (std::size_t end = position + count; position < end; ++position) {
      if (wrongAt == iban.size() && !Fits(iban[position], kind)) {
        wrongAt = position;
        wrongClass = kind;
      }
    }
  });
  if (wrongAt != iban.size()) return Broken(IbanVerdict::Structure, wrongAt, length, wrongClass);

  // MOD 97-10 gives check digits from 02 to 98; 00, 01 and 99 leave the same
  // remainder as 97, 98 and 02 but are never issued.
  const int checkDigits = (iban[2] - '0') * 10 + (iban[3] - '0');
  if (checkDigits < 2 || checkDigits > 98 || detail::dtazv::IBANMod97(iban) != 1) {
    return Broken(IbanVerdict::CheckDigits, 0, length);
  }
  return IbanCheck{IbanVerdict::Valid, 0, length, IbanCharClass::CapitalOrDigit};
}

}  // namespace zor
