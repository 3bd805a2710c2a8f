#include <algorithm>

#include "bankdata/BankCodeMessages.h"
#include "bankdata/MessageFill.h"
#include "zordta/BankCodes.h"
#include "zordta/Iban.h"

namespace zor {

using namespace detail::msgbank;
using detail::bankdata::Fill;

namespace {

bool AllDigits(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// ISO 7064 MOD 97-10 over the BBAN followed by "DE00" as digits (D=13, E=14).
std::string CheckDigits(std::string_view bban) {
  unsigned rest = 0;
  for (const char c : bban) rest = (rest * 10 + static_cast<unsigned>(c - '0')) % 97;
  for (const char c : std::string_view("131400")) {
    rest = (rest * 10 + static_cast<unsigned>(c - '0')) % 97;
  }
  const unsigned check = 98 - rest;
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
  if (bankCode.size() != 8 || !AllDigits(bankCode)) {
    throw BankCodeError(BankCodeFault::BankCodeForm, Fill(_MsgBankCodeForm, {bankCode}));
  }
  const BankCodeRecord* bank = Find(bankCode);
  if (bank == nullptr) {
    BankCodeErrorDetails d;
    d.bankCode = bankCode;
    throw BankCodeError(BankCodeFault::UnknownBankCode, Fill(_MsgUnknownBankCode, {bankCode}), d);
  }
  if (bank->IsDeleted()) {
    const std::string text =
        bank->successor.empty()
            ? Fill(_MsgDeleted, {bank->bankCode, bank->name})
            : Fill(_MsgDeletedWithSuccessor, {bank->bankCode, bank->name, bank->successor});
    throw BankCodeError(BankCodeFault::Deleted, text, DetailsOf(*bank));
  }
  return *bank;
}

GermanIbanResult GermanIban(const BankCodeFile& file, std::string_view bankCode,
                            std::string_view account, GermanIbanOptions options) {
  const BankCodeRecord* bank = &file.Lookup(bankCode);
  CheckAccountNumber(account);
  GermanIbanResult result;
  if (!bank->ibanRule) {
    if (!options.assumeStandardRule) {
      throw BankCodeError(BankCodeFault::IbanRuleUnknown,
                          Fill(_MsgIbanRuleUnknown, {bank->bankCode, bank->name}),
                          DetailsOf(*bank));
    }
    result.ruleAssumed = true;
  } else if (!bank->ibanRule->IsStandard()) {
    const IbanRule rule = *bank->ibanRule;
    std::string number = std::to_string(rule.number);
    number.insert(0, 4 - std::min<std::size_t>(4, number.size()), '0');
    throw BankCodeError(
        BankCodeFault::SpecialIbanRule,
        Fill(_MsgSpecialIbanRule, {bank->bankCode, bank->name, number, TwoDigits(rule.version)}),
        DetailsOf(*bank));
  }
  const std::string bban =
      std::string(bankCode) + std::string(10 - account.size(), '0') + std::string(account);
  result.iban = "DE" + CheckDigits(bban) + bban;
  // The registry's check as the last word: a German IBAN is 22 characters, all digits after DE.
  if (!CheckIBAN(result.iban).IsValid()) {
    throw BankCodeError(BankCodeFault::AccountForm, Fill(_MsgAccountForm, {account}));
  }
  result.bic = bank->bic;
  result.bankName = bank->name;
  return result;
}

}  // namespace zor
