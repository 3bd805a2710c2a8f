#include "payments/AccountWarnings.h"

#include <iostream>
#include <memory>
#include <string>
#include <utility>

#include "payments/AccountCheck.h"
#include "payments/BankCodeSource.h"

namespace zcli {

namespace {

// One checker serves a whole file: making one reads libktoblzcheck's data.
zor::AccountMethodCheck MethodCheck() {
  auto checker = std::make_shared<const AccountChecker>();
  return [checker](std::string_view bankCode, std::string_view account, std::string_view method) {
    switch (checker->Check(std::string(bankCode), std::string(account), std::string(method))) {
      case AccountVerdict::Valid:
        return zor::AccountMethodVerdict::Valid;
      case AccountVerdict::Invalid:
        return zor::AccountMethodVerdict::Invalid;
      case AccountVerdict::UnknownMethod:
        break;
    }
    return zor::AccountMethodVerdict::UnknownMethod;
  };
}

}  // namespace

AccountWarnings::AccountWarnings(std::shared_ptr<const zor::BankCodeFile> banks, std::string source)
    : fScreen(std::move(banks), std::move(source), MethodCheck()) {}

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

void AccountWarnings::Report(const zor::AccountScreenVerdict& verdict, std::string_view bankCode,
                             std::string_view account, std::string where,
                             Diagnostics& findings) const {
  findings.Add(std::move(where), std::string(verdict.Field()),
               fScreen.Message(verdict, bankCode, account));
}

void AccountWarnings::Check(std::string_view bankCode, std::string_view account,
                            const std::string& where, Diagnostics& findings) const {
  const zor::AccountScreenVerdict verdict = fScreen.Judge(bankCode, account);
  if (verdict.kind == zor::AccountScreenKind::Sound) return;
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
