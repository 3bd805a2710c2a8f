#include "payments/AccountWarnings.h"

#include <charconv>
#include <iostream>
#include <optional>
#include <system_error>
#include <utility>

#include "io/MessageText.h"
#include "payments/BankCodeSource.h"

namespace zcli {

namespace {

std::string Deleted(const zor::BankCodeRecord& bank) {
  return "Die Bankleitzahl " + bank.bankCode + " (" + bank.name +
         ") ist gelöscht oder zur Löschung vorgesehen" +
         (bank.successor.empty() ? " und hat keinen Nachfolger."
                                 : "; sie wird ersetzt durch " + bank.successor + ".");
}

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

AccountWarnings::AccountWarnings(std::shared_ptr<const zor::BankCodeFile> banks, std::string source)
    : fBanks(std::move(banks)), fSource(std::move(source)) {}

std::shared_ptr<const AccountWarnings> AccountWarnings::Of(const RunBankCodes& banks) {
  if (!banks.file) return nullptr;
  return std::make_shared<const AccountWarnings>(banks.file, banks.name);
}

void AccountWarnings::Unread(const RunBankCodes& banks, const std::string& bankCodeFile) {
  if (!banks.fault) return;
  if (!bankCodeFile.empty()) throw *banks.fault;
  std::cerr << "Warnung: Bankleitzahlen und Konten sind nicht geprüft: "
            << OneLine(banks.fault->what()) << '\n';
}

const zor::BankCodeRecord* AccountWarnings::Bank(std::string_view bankCode) const {
  const std::optional<std::uint32_t> key = CodeNumber(bankCode);
  if (key) {
    if (const auto met = fBanksMet.find(*key); met != fBanksMet.end()) return met->second;
  }
  const zor::BankCodeRecord* bank = fBanks->Find(bankCode);
  if (key && bank != nullptr) fBanksMet.emplace(*key, bank);
  return bank;
}

AccountWarnings::Verdict AccountWarnings::Judge(std::string_view bankCode,
                                                std::string_view account) const {
  const zor::BankCodeRecord* bank = Bank(bankCode);
  if (bank == nullptr) return {Verdict::UnknownBank, bank};
  if (bank->IsDeleted()) return {Verdict::DeletedBank, bank};
  if (fChecker.Check(std::string(bankCode), std::string(account), bank->checkMethod) ==
      AccountVerdict::Invalid) {
    return {Verdict::FailsMethod, bank};
  }
  return {Verdict::Sound, bank};
}

void AccountWarnings::Report(const Verdict& verdict, std::string_view bankCode,
                             std::string_view account, std::string where,
                             Diagnostics& findings) const {
  switch (verdict.kind) {
    case Verdict::Sound:
      return;
    case Verdict::UnknownBank:
      findings.Add(std::move(where), "blz",
                   "Die Bankleitzahl " + std::string(bankCode) +
                       " gibt es nicht (Bankleitzahlendatei " + fSource + ").");
      return;
    case Verdict::DeletedBank:
      findings.Add(std::move(where), "blz", Deleted(*verdict.bank));
      return;
    case Verdict::FailsMethod:
      findings.Add(std::move(where), "konto",
                   "Die Kontonummer " + std::string(account) + " passt nicht zum Prüfverfahren " +
                       verdict.bank->checkMethod + " der Bank " + Quoted(verdict.bank->name) +
                       " (Prüfziffer falsch).");
      return;
  }
}

void AccountWarnings::Check(std::string_view bankCode, std::string_view account,
                            const std::string& where, Diagnostics& findings) const {
  const Verdict verdict = Judge(bankCode, account);
  if (verdict.kind == Verdict::Sound) return;
  if (findings.Keeps()) {
    Report(verdict, bankCode, account, where, findings);
  } else {
    findings.AddNotKept(1);
  }
}

void AccountWarnings::Check(std::int64_t bankCode, std::int64_t account, const std::string& where,
                            Diagnostics& findings) const {
  CheckAt(
      bankCode, account, [&where] { return where; }, findings);
}

}  // namespace zcli
