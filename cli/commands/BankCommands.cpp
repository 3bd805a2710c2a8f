// zordta iban aus | konto check: IBAN and account check from bank code and account.
#include <iostream>
#include <memory>
#include <string>

#include <CLI/CLI.hpp>

#include "commands/Commands.h"
#include "payments/AccountCheck.h"
#include "payments/BankCodeSource.h"
#include "zordta/BankCodes.h"

namespace zcli {

namespace {

struct BankOptions {
  std::string bankCode;
  std::string account;
  std::string bankCodeFile;
  bool assumeStandardRule = false;
  bool withoutAccountCheck = false;
};

// Blanks are how people group digits ("370 400 44"); they carry nothing.
std::string WithoutBlanks(std::string text) {
  std::erase(text, ' ');
  return text;
}

std::string BankLine(const zor::BankCodeRecord& bank) {
  return "Bank: " + bank.name + ", " + bank.postalCode + " " + bank.city + "\n";
}

std::string Problem(const zor::BankCodeRecord& bank, const std::string& bankCode,
                    const std::string& account) {
  switch (CheckAccount(bankCode, account, bank.checkMethod)) {
    case AccountVerdict::Valid:
      return std::string();
    case AccountVerdict::UnknownMethod:
      return "Das Prüfverfahren " + bank.checkMethod +
             " ist nicht bekannt; die Kontonummer lässt sich nicht prüfen.";
    case AccountVerdict::Invalid:
      break;
  }
  return "Die Kontonummer passt nicht zum Prüfverfahren " + bank.checkMethod +
         " der Bank (Prüfziffer falsch).";
}

int MakeIban(const BankOptions& o) {
  const zor::BankCodeFile banks = LoadBankCodes(o.bankCodeFile);
  zor::GermanIbanOptions options;
  options.assumeStandardRule = o.assumeStandardRule;
  try {
    const std::string bankCode = WithoutBlanks(o.bankCode);
    const std::string account = WithoutBlanks(o.account);
    const zor::GermanIbanResult r = zor::GermanIban(banks, bankCode, account, options);
    // Valid check digits on a mistyped account would hide the typo for good.
    if (std::string problem = Problem(banks.Lookup(bankCode), bankCode, account);
        !problem.empty()) {
      if (!o.withoutAccountCheck) {
        std::cout << "Keine IBAN: " << problem
                  << " Mit --ohne-kontopruefung wird die IBAN trotzdem gebildet.\n";
        return kBadData;
      }
      std::cerr << "Warnung: " << problem
                << " Die IBAN ist ohne Kontoprüfung gebildet; vor dem Gebrauch bei der Bank "
                   "bestätigen lassen.\n";
    }
    std::cout << "IBAN: " << r.iban << "\nBIC: " << (r.bic.empty() ? "keine" : r.bic)
              << "\nBank: " << r.bankName << '\n';
    if (r.ruleAssumed) {
      std::cerr << "Hinweis: Die Bankleitzahlendatei nennt keine IBAN-Regeln; die IBAN ist nach "
                   "der Standardregel gebildet und für eine Bank mit eigener Regel falsch.\n";
    }
    return kDone;
  } catch (const zor::BankCodeError& e) {
    if (e.Fault() == zor::BankCodeFault::File) throw;
    std::cout << "Keine IBAN: " << e.what() << '\n';
    if (e.Fault() == zor::BankCodeFault::IbanRuleUnknown) {
      std::cout << "Eine Bankleitzahlendatei mit IBAN-Regeln mit --bankdaten angeben, oder mit "
                   "--standardregel die Standardregel annehmen.\n";
    }
    return kBadData;
  }
}

int CheckAccountCommand(const BankOptions& o) {
  const zor::BankCodeFile banks = LoadBankCodes(o.bankCodeFile);
  const std::string bankCode = WithoutBlanks(o.bankCode);
  const std::string account = WithoutBlanks(o.account);
  std::string problem;
  try {
    const zor::BankCodeRecord& bank = banks.Lookup(bankCode);
    std::cout << BankLine(bank) << "Prüfverfahren: " << bank.checkMethod << '\n';
    zor::CheckAccountNumber(account);
    problem = Problem(bank, bankCode, account);
  } catch (const zor::BankCodeError& e) {
    if (e.Fault() == zor::BankCodeFault::File) throw;
    problem = e.what();
  }
  std::cout << "Konto " << account << ": " << (problem.empty() ? "gültig" : "ungültig: " + problem)
            << '\n';
  return problem.empty() ? kDone : kBadData;
}

void AddBankOptions(CLI::App& command, BankOptions& o) {
  command.add_option("BLZ", o.bankCode, "Bankleitzahl (8 Ziffern)")->required();
  command.add_option("KONTO", o.account, "Kontonummer (bis 10 Ziffern)")->required();
  command.add_option("--bankdaten", o.bankCodeFile,
                     "Bankleitzahlendatei der Bundesbank (Standard: die neueste blz_*.txt im "
                     "Datenordner von ktoblzcheck)");
}

}  // namespace

void AddBankCommands(CLI::App& app, Action& action) {
  // "iban" is the group of "iban check".
  CLI::App* iban = app.get_subcommand("iban");
  iban->description("IBAN prüfen oder aus Bankleitzahl und Konto bilden");
  auto ibanOptions = std::make_shared<BankOptions>();
  CLI::App* make = iban->add_subcommand(
      "aus", "IBAN und BIC aus Bankleitzahl und Kontonummer (Standard-IBAN-Regel)");
  AddBankOptions(*make, *ibanOptions);
  make->add_flag("--standardregel", ibanOptions->assumeStandardRule,
                 "Für eine Bankleitzahlendatei ohne IBAN-Regeln die Standardregel annehmen");
  make->add_flag("--ohne-kontopruefung", ibanOptions->withoutAccountCheck,
                 "Die IBAN auch für eine Kontonummer bilden, die das Prüfverfahren der Bank "
                 "ablehnt (mit Warnung)");
  make->callback(
      [ibanOptions, &action] { action = [ibanOptions] { return MakeIban(*ibanOptions); }; });

  CLI::App* konto = app.add_subcommand("konto", "Kontonummer prüfen");
  konto->require_subcommand(1);
  auto kontoOptions = std::make_shared<BankOptions>();
  CLI::App* check = konto->add_subcommand(
      "check", "Kontonummer nach dem Prüfverfahren der Bank prüfen; Exit-Code 1 wenn ungültig");
  AddBankOptions(*check, *kontoOptions);
  check->callback([kontoOptions, &action] {
    action = [kontoOptions] { return CheckAccountCommand(*kontoOptions); };
  });
}

}  // namespace zcli
