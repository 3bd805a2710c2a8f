#include "payments/DtausAccounts.h"

#include <utility>

#include "payments/BankCodeSource.h"

namespace zcli {

namespace {

// The record's field holds eight digits; a leading zero is no bank code, and
// the file says so rather than a message about the number of digits.
std::string BankCodeText(std::int64_t blz) {
  std::string digits = std::to_string(blz);
  if (digits.size() < 8) digits.insert(0, 8 - digits.size(), '0');
  return digits;
}

}  // namespace

DtausAccounts::DtausAccounts(std::string bankCodeFile, bool assumeStandardRule,
                             const IbanList* list)
    : fBankCodeFile(std::move(bankCodeFile)),
      fAssumeStandardRule(assumeStandardRule),
      fList(list) {}

std::optional<SepaAccountIds> DtausAccounts::Find(std::int64_t blz, std::int64_t konto,
                                                  const std::string& where,
                                                  const std::string& fieldPrefix,
                                                  Diagnostics& errors, Diagnostics& warnings) {
  if (fList) {
    if (const ListedAccount* listed = fList->Find({blz, konto})) {
      return SepaAccountIds{listed->iban, listed->bic};
    }
  }
  if (!fBanks) fBanks = LoadBankCodes(fBankCodeFile);
  try {
    const zor::GermanIbanResult r =
        zor::GermanIban(*fBanks, BankCodeText(blz), std::to_string(konto),
                        {.assumeStandardRule = fAssumeStandardRule});
    if (r.ruleAssumed && !fRuleAssumedReported) {
      fRuleAssumedReported = true;
      warnings.Add(kBankCodeFileWhere, "",
                   "Die Datei nennt keine IBAN-Regeln; die IBANs sind nach der Standardregel "
                   "gebildet und für eine Bank mit eigener Regel falsch.");
    }
    return SepaAccountIds{r.iban, r.bic};
  } catch (const zor::BankCodeError& e) {
    switch (e.Fault()) {
      case zor::BankCodeFault::File:
        throw;
      case zor::BankCodeFault::IbanRuleUnknown:
        if (!fRulesMissingReported) {
          fRulesMissingReported = true;
          errors.Add(kBankCodeFileWhere, "",
                     "Die Datei nennt keine IBAN-Regeln. Eine Bankleitzahlendatei mit IBAN-Regeln "
                     "mit --bankdaten angeben, mit --standardregel die Standardregel annehmen "
                     "oder die IBANs mit --iban-liste angeben.");
        }
        return std::nullopt;
      case zor::BankCodeFault::SpecialIbanRule:
      case zor::BankCodeFault::Deleted:
      case zor::BankCodeFault::UnknownBankCode:
        errors.Add(where, fieldPrefix + "blz",
                   OneLine(e.what()) + " Die IBAN mit --iban-liste angeben.");
        return std::nullopt;
      case zor::BankCodeFault::BankCodeForm:
      case zor::BankCodeFault::AccountForm:
        break;
    }
    const bool account = e.Fault() == zor::BankCodeFault::AccountForm;
    errors.Add(where, fieldPrefix + (account ? "konto" : "blz"), OneLine(e.what()));
    return std::nullopt;
  }
}

}  // namespace zcli
