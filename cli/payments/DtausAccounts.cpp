#include "payments/DtausAccounts.h"

#include <utility>

namespace zcli {

std::string RecordPlace(const zor::DtausPlace& place) {
  return "Datensatz " + std::to_string(place.record) + " (Byte " + std::to_string(place.offset) +
         ")";
}

DtausAccounts::DtausAccounts(const RunBankCodes& banks, bool assumeStandardRule,
                             const IbanList* list)
    : fBanks(banks), fOptions{.assumeStandardRule = assumeStandardRule}, fList(list) {}

bool DtausAccounts::Made(std::int64_t blz, std::int64_t konto, zor::SepaAccount& out) {
  if (!fIbans) {
    // The table's accounts need no bank-code file; any other does.
    if (fList) {
      if (const zor::IbanRow* listed = fList->Find({blz, konto})) {
        out.iban.assign(listed->iban);
        out.bic.assign(listed->bic);
        return false;
      }
    }
    if (!fBanks.file) throw *fBanks.fault;
    fIbans.emplace(*fBanks.file, fList ? &fList->Table() : nullptr, fOptions);
  }
  return fIbans->Make({blz, konto}, out);
}

bool DtausAccounts::Quietly(std::int64_t blz, std::int64_t konto, zor::SepaAccount& out) {
  try {
    Made(blz, konto, out);
    return true;
  } catch (const zor::BankCodeError&) {
    return false;
  }
}

bool DtausAccounts::Find(std::int64_t blz, std::int64_t konto, const RecordWhere& where,
                         const std::string& fieldPrefix, Diagnostics& errors, Diagnostics& warnings,
                         zor::SepaAccount& out) {
  try {
    if (Made(blz, konto, out) && !fRuleAssumedReported) {
      fRuleAssumedReported = true;
      warnings.Add(kBankCodeFileWhere, "",
                   "Die Datei nennt keine IBAN-Regeln; die IBANs sind nach der Standardregel "
                   "gebildet und für eine Bank mit eigener Regel falsch.");
    }
    return true;
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
        return false;
      case zor::BankCodeFault::SpecialIbanRule:
      case zor::BankCodeFault::Deleted:
      case zor::BankCodeFault::UnknownBankCode:
        errors.Add(where(), fieldPrefix + "blz",
                   OneLine(e.what()) + " Die IBAN mit --iban-liste angeben.");
        return false;
      case zor::BankCodeFault::BankCodeForm:
      case zor::BankCodeFault::AccountForm:
        break;
    }
    const bool account = e.Fault() == zor::BankCodeFault::AccountForm;
    errors.Add(where(), fieldPrefix + (account ? "konto" : "blz"), OneLine(e.what()));
    return false;
  }
}

}  // namespace zcli
