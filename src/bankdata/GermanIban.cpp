#include <algorithm>
#include <array>
#include <cstdint>

#include "bankdata/BankCodeMessages.h"
#include "core/MessageFill.h"
#include "dtazv/BankIdentifiers.h"
#include "zordta/BankCodes.h"
#include "zordta/detail/DigitRun.h"

namespace zor {

using namespace detail::msgbank;
using detail::Fill;

namespace {

bool AllDigits(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// ISO 7064 MOD 97-10: 98 minus the remainder with check digits 00.
// The 18 digits are read as two words of eight and a last two: every
// payment of a converted file has its IBAN made.
std::array<char, 2> CheckDigits(std::string_view bban) {
  std::uint64_t value = 0;
  std::size_t i = 0;
  for (std::uint32_t eight = 0;
       i + 8 <= bban.size() && detail::ReadEightDigits(bban.data() + i, eight); i += 8) {
    value = value * 100'000'000 + eight;
  }
  for (; i < bban.size(); ++i) value = value * 10 + static_cast<std::uint64_t>(bban[i] - '0');
  const unsigned check = 98 - detail::dtazv::GermanIbanMod97(value, 0);
  return {static_cast<char>('0' + check / 10), static_cast<char>('0' + check % 10)};
}

BankCodeErrorDetails DetailsOf(const BankCodeRecord& bank) {
  BankCodeErrorDetails d;
  d.bankCode = bank.bankCode;
  d.bankName = bank.name;
  d.successor = bank.successor;
  d.rule = bank.ibanRule.value_or(IbanRule{});
  return d;
}

std::string TwoDigits(int n) {
  return std::string(n < 10 ? "0" : "") + std::to_string(n);
}

void RefuseDeleted(const BankCodeRecord& bank) {
  if (!bank.IsDeleted()) return;
  const std::string text =
      bank.successor.empty()
          ? Fill(_MsgDeleted, {bank.bankCode, bank.name})
          : Fill(_MsgDeletedWithSuccessor, {bank.bankCode, bank.name, bank.successor});
  throw BankCodeError(BankCodeFault::Deleted, text, DetailsOf(bank));
}

}  // namespace

void CheckAccountNumber(std::string_view account) {
  if (account.empty() || account.size() > 10 || !AllDigits(account)) {
    throw BankCodeError(BankCodeFault::AccountForm, Fill(_MsgAccountForm, {account}));
  }
  if (account.find_first_not_of('0') == std::string_view::npos) {
    throw BankCodeError(BankCodeFault::AccountForm, Fill(_MsgAccountZero, {account}));
  }
}

const BankCodeRecord& BankCodeFile::Lookup(std::string_view bankCode) const {
  // Find answers none for a code of another form; only then is its form asked.
  const BankCodeRecord* bank = Find(bankCode);
  if (bank == nullptr && (bankCode.size() != 8 || !AllDigits(bankCode))) {
    throw BankCodeError(BankCodeFault::BankCodeForm, Fill(_MsgBankCodeForm, {bankCode}));
  }
  if (bank == nullptr) {
    BankCodeErrorDetails d;
    d.bankCode = bankCode;
    throw BankCodeError(BankCodeFault::UnknownBankCode, Fill(_MsgUnknownBankCode, {bankCode}), d);
  }
  RefuseDeleted(*bank);
  return *bank;
}

GermanIbanResult GermanIban(const BankCodeFile& file, std::string_view bankCode,
                            std::string_view account, GermanIbanOptions options) {
  GermanIbanResult result;
  GermanIban(file, bankCode, account, options, result);
  return result;
}

void GermanIban(const BankCodeFile& file, std::string_view bankCode, std::string_view account,
                GermanIbanOptions options, GermanIbanResult& result) {
  GermanIban(file.Lookup(bankCode), account, options, result);
}

void GermanIban(const BankCodeRecord& record, std::string_view account, GermanIbanOptions options,
                GermanIbanResult& result) {
  const BankCodeRecord* bank = &record;
  // A record of the caller's own making may hold any code.
  const std::string_view bankCode = bank->bankCode;
  if (bankCode.size() != 8 || !detail::AreEightDigits(detail::LoadEightBytes(bankCode.data()))) {
    throw BankCodeError(BankCodeFault::BankCodeForm, Fill(_MsgBankCodeForm, {bankCode}));
  }
  RefuseDeleted(*bank);
  CheckAccountNumber(account);
  bool ruleAssumed = false;
  if (!bank->ibanRule) {
    if (!options.assumeStandardRule) {
      throw BankCodeError(BankCodeFault::IbanRuleUnknown,
                          Fill(_MsgIbanRuleUnknown, {bank->bankCode, bank->name}),
                          DetailsOf(*bank));
    }
    ruleAssumed = true;
  } else if (!bank->ibanRule->IsStandard()) {
    const IbanRule rule = *bank->ibanRule;
    std::string number = std::to_string(rule.number);
    number.insert(0, 4 - std::min<std::size_t>(4, number.size()), '0');
    throw BankCodeError(
        BankCodeFault::SpecialIbanRule,
        Fill(_MsgSpecialIbanRule, {bank->bankCode, bank->name, number, TwoDigits(rule.version)}),
        DetailsOf(*bank));
  }
  // Bank code (8 digits) and account padded to 10: the checks above let
  // nothing else through, so with its check digits this is always an IBAN
  // of the registry's German form (22 characters, all digits after DE).
  char bban[18];
  std::copy(bankCode.begin(), bankCode.end(), bban);
  std::fill(bban + 8, bban + 18 - account.size(), '0');
  std::copy(account.begin(), account.end(), bban + 18 - account.size());
  const std::string_view digits(bban, sizeof bban);
  const std::array<char, 2> check = CheckDigits(digits);
  result.iban.assign("DE");
  result.iban.append(check.data(), check.size());
  result.iban.append(digits);
  result.bic.assign(bank->bic);
  result.bankName.assign(bank->name);
  result.ruleAssumed = ruleAssumed;
}

}  // namespace zor
