#include "zordta/AccountScreen.h"

#include <charconv>
#include <optional>
#include <system_error>
#include <utility>

#include "bankdata/BankCodeMessages.h"
#include "core/MessageFill.h"
#include "zordta/Printable.h"

namespace zor {

using namespace detail::msgbank;
using detail::Fill;

namespace {

// The bank code as a number: the key of the banks met; none unless 8 digits.
std::optional<std::uint32_t> CodeNumber(std::string_view bankCode) {
  std::uint32_t number = 0;
  if (bankCode.size() != 8) return std::nullopt;
  const auto [end, error] =
      std::from_chars(bankCode.data(), bankCode.data() + bankCode.size(), number);
  if (error != std::errc() || end != bankCode.data() + bankCode.size()) return std::nullopt;
  return number;
}

}  // namespace

AccountScreen::AccountScreen(std::shared_ptr<const BankCodeFile> banks, std::string source,
                             AccountMethodCheck method)
    : fBanks(std::move(banks)), fSource(std::move(source)), fMethod(std::move(method)) {}

const BankCodeRecord* AccountScreen::Bank(std::string_view bankCode) const {
  const std::optional<std::uint32_t> key = CodeNumber(bankCode);
  if (key) {
    if (const auto met = fBanksMet.find(*key); met != fBanksMet.end()) return met->second;
  }
  const BankCodeRecord* bank = fBanks->Find(bankCode);
  if (key && bank != nullptr) fBanksMet.emplace(*key, bank);
  return bank;
}

AccountScreenVerdict AccountScreen::Judge(std::string_view bankCode,
                                          std::string_view account) const {
  const BankCodeRecord* bank = Bank(bankCode);
  if (bank == nullptr) return {AccountScreenKind::UnknownBank, bank};
  if (bank->IsDeleted()) return {AccountScreenKind::DeletedBank, bank};
  if (fMethod && fMethod(bankCode, account, bank->checkMethod) == AccountMethodVerdict::Invalid) {
    return {AccountScreenKind::FailsMethod, bank};
  }
  return {AccountScreenKind::Sound, bank};
}

std::string AccountScreen::Message(const AccountScreenVerdict& verdict, std::string_view bankCode,
                                   std::string_view account) const {
  switch (verdict.kind) {
    case AccountScreenKind::Sound:
      break;
    case AccountScreenKind::UnknownBank:
      return Fill(_MsgScreenUnknownBank, {bankCode, fSource});
    case AccountScreenKind::DeletedBank: {
      const BankCodeRecord& bank = *verdict.bank;
      return bank.successor.empty()
                 ? Fill(_MsgDeleted, {bank.bankCode, bank.name})
                 : Fill(_MsgDeletedWithSuccessor, {bank.bankCode, bank.name, bank.successor});
    }
    case AccountScreenKind::FailsMethod:
      return Fill(_MsgScreenFailsMethod,
                  {account, verdict.bank->checkMethod, PrintableText(verdict.bank->name)});
  }
  return {};
}

}  // namespace zor
