#include "payments/AccountWarnings.h"

#include <filesystem>
#include <iostream>
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

}  // namespace

AccountWarnings::AccountWarnings(zor::BankCodeFile banks, std::string source)
    : fBanks(std::move(banks)), fSource(std::move(source)) {}

std::shared_ptr<const AccountWarnings> AccountWarnings::Load(const std::string& bankCodeFile) {
  std::filesystem::path path = bankCodeFile;
  if (bankCodeFile.empty()) {
    try {
      path = DefaultBankCodeFile();
      return std::make_shared<const AccountWarnings>(zor::BankCodeFile::Load(path),
                                                     path.filename().string());
    } catch (const zor::BankCodeError& e) {
      std::cerr << "Warnung: Bankleitzahlen und Konten sind nicht geprüft: " << OneLine(e.what())
                << '\n';
      return nullptr;
    }
  }
  return std::make_shared<const AccountWarnings>(zor::BankCodeFile::Load(path),
                                                 path.filename().string());
}

void AccountWarnings::Check(const std::string& bankCode, const std::string& account,
                            const std::string& where, Diagnostics& findings) const {
  const zor::BankCodeRecord* bank = fBanks.Find(bankCode);
  if (bank == nullptr) {
    findings.Add(
        where, "blz",
        "Die Bankleitzahl " + bankCode + " gibt es nicht (Bankleitzahlendatei " + fSource + ").");
    return;
  }
  if (bank->IsDeleted()) {
    findings.Add(where, "blz", Deleted(*bank));
    return;
  }
  if (fChecker.Check(bankCode, account, bank->checkMethod) == AccountVerdict::Invalid) {
    findings.Add(where, "konto",
                 "Die Kontonummer " + account + " passt nicht zum Prüfverfahren " +
                     bank->checkMethod + " der Bank " + Quoted(bank->name) +
                     " (Prüfziffer falsch).");
  }
}

void AccountWarnings::Check(std::int64_t bankCode, std::int64_t account, const std::string& where,
                            Diagnostics& findings) const {
  Check(std::to_string(bankCode), std::to_string(account), where, findings);
}

}  // namespace zcli
