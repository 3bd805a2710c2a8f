// zor::CheckBIC: the rules of a BIC one after the other, the first broken one
// named.
#include "zordta/Bic.h"

#include <array>
#include <cstdint>

#include "dtazv/AsciiWords.h"
#include "zordta/IsoCodes.h"

namespace zor {
namespace {

namespace words = detail::dtazv::words;

// 1 for a capital or a digit, 0 for any other byte.
constexpr std::array<unsigned char, 256> kCapitalOrDigit = [] {
  std::array<unsigned char, 256> table{};
  for (unsigned c = 'A'; c <= 'Z'; ++c) table[c] = 1;
  for (unsigned c = '0'; c <= '9'; ++c) table[c] = 1;
  return table;
}();

bool IsCapital(char c) {
  return c >= 'A' && c <= 'Z';
}

// A BIC of 8 or 11 capitals and digits with capitals where the bank code and
// country need them, read as two words (the last eight bytes overlap the first
// in an 11-character BIC). Every payment of a SEPA file asks, the tool once
// more; this answers only yes, anything else takes the way that names a rule.
bool IsWellFormed(std::string_view bic, BicBankCode bankCode) {
  if (bic.size() != 8 && bic.size() != 11) return false;
  const std::uint64_t head = words::Load(bic.data());
  const std::uint64_t tail = words::Load(bic.data() + bic.size() - 8);
  if (!words::AllAscii(head | tail)) return false;
  const auto capitals = [](std::uint64_t word) { return words::InRange(word, 'A', 'Z'); };
  const auto digits = [](std::uint64_t word) { return words::InRange(word, '0', '9'); };
  // The lanes that need a capital, named by their place in memory.
  static constexpr char kAllSix[8] = {'\x80', '\x80', '\x80', '\x80', '\x80', '\x80', 0, 0};
  static constexpr char kCountry[8] = {0, 0, 0, 0, '\x80', '\x80', 0, 0};
  const std::uint64_t letters = words::Load(bankCode == BicBankCode::Letters ? kAllSix : kCountry);
  return ((capitals(head) | digits(head)) & (capitals(tail) | digits(tail))) == words::kHighBits &&
         (capitals(head) & letters) == letters;
}

}  // namespace

BicCheck CheckBIC(std::string_view bic, BicBankCode bankCode) noexcept {
  if (IsWellFormed(bic, bankCode)) {
    return IsCountryCode(bic.substr(4, 2)) ? BicCheck{} : BicCheck{BicVerdict::Country, 4};
  }
  if (bic.empty()) return BicCheck{BicVerdict::Empty, 0};
  for (std::size_t i = 0; i < bic.size(); ++i) {
    if (kCapitalOrDigit[static_cast<unsigned char>(bic[i])] == 0) {
      return BicCheck{BicVerdict::Characters, i};
    }
  }
  if (bic.size() != 8 && bic.size() != 11) return BicCheck{BicVerdict::Length, 0};
  for (std::size_t i = bankCode == BicBankCode::Letters ? 0 : 4; i < 6; ++i) {
    if (!IsCapital(bic[i])) return BicCheck{BicVerdict::Structure, i};
  }
  if (!IsCountryCode(bic.substr(4, 2))) return BicCheck{BicVerdict::Country, 4};
  return BicCheck{};
}

}  // namespace zor
