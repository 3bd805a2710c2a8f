#include "payments/AccountWarnings.h"

#include <charconv>
#include <filesystem>
#include <iostream>
#include <iterator>
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

void AccountWarnings::Check(std::string_view bankCode, std::string_view account,
                            const std::string& where, Diagnostics& findings) const {
  const zor::BankCodeRecord* bank = fBanks.Find(bankCode);
  const bool known = bank != nullptr && !bank->IsDeleted();
  if (known && fChecker.Check(std::string(bankCode), std::string(account), bank->checkMethod) !=
                   AccountVerdict::Invalid) {
    return;
  }
  // A file of a million payments to unknown banks: the texts beyond the kept
  // ones are not even made.
  if (!findings.Keeps()) {
    findings.AddNotKept(1);
  } else if (bank == nullptr) {
    findings.Add(where, "blz",
                 "Die Bankleitzahl " + std::string(bankCode) +
                     " gibt es nicht (Bankleitzahlendatei " + fSource + ").");
  } else if (!known) {
    findings.Add(where, "blz", Deleted(*bank));
  } else {
    findings.Add(where, "konto",
                 "Die Kontonummer " + std::string(account) + " passt nicht zum Prüfverfahren " +
                     bank->checkMethod + " der Bank " + Quoted(bank->name) +
                     " (Prüfziffer falsch).");
  }
}

void AccountWarnings::Check(std::int64_t bankCode, std::int64_t account, const std::string& where,
                            Diagnostics& findings) const {
  char code[24];
  char number[24];
  const auto codeEnd = std::to_chars(std::begin(code), std::end(code), bankCode).ptr;
  const auto numberEnd = std::to_chars(std::begin(number), std::end(number), account).ptr;
  Check(std::string_view(code, static_cast<std::size_t>(codeEnd - code)),
        std::string_view(number, static_cast<std::size_t>(numberEnd - number)), where, findings);
}

}  // namespace zcli
