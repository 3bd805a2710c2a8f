#include "payments/DtausAccounts.h"

#include <charconv>
#include <cstring>
#include <iterator>
#include <string_view>
#include <utility>

namespace zcli {

namespace {

// The record's field holds eight digits; a leading zero is no bank code, and
// the file says so rather than a message about the number of digits.
std::string_view BankCodeText(std::int64_t blz, char (&text)[24]) {
  char* end = std::to_chars(std::begin(text), std::end(text), blz).ptr;
  const auto digits = static_cast<std::size_t>(end - text);
  if (digits < 8) {
    std::memmove(text + 8 - digits, text, digits);
    std::memset(text, '0', 8 - digits);
    end = text + 8;
  }
  return std::string_view(text, static_cast<std::size_t>(end - text));
}

}  // namespace

std::string RecordPlace(const zor::DtausPlace& place) {
  return "Datensatz " + std::to_string(place.record) + " (Byte " + std::to_string(place.offset) +
         ")";
}

DtausAccounts::DtausAccounts(const RunBankCodes& banks, bool assumeStandardRule,
                             const IbanList* list)
    : fBanks(banks), fAssumeStandardRule(assumeStandardRule), fList(list) {}

const zor::BankCodeRecord* DtausAccounts::BankMet(std::int64_t blz, std::string_view code) {
  const auto key = static_cast<std::uint32_t>(blz);
  if (const auto met = fBanksMet.find(key); met != fBanksMet.end()) return met->second;
  const zor::BankCodeRecord* bank = fBanks.file->Find(code);
  if (bank != nullptr) fBanksMet.emplace(key, bank);
  return bank;
}

bool DtausAccounts::Made(std::int64_t blz, std::int64_t konto, zor::SepaAccount& out) {
  if (fList) {
    if (const zor::IbanRow* listed = fList->Find({blz, konto})) {
      out.iban.assign(listed->iban);
      out.bic.assign(listed->bic);
      return false;
    }
  }
  if (!fBanks.file) throw *fBanks.fault;
  char code[24];
  char number[24];
  const char* numberEnd = std::to_chars(std::begin(number), std::end(number), konto).ptr;
  const std::string_view numberText(number, static_cast<std::size_t>(numberEnd - number));
  const zor::GermanIbanOptions options{.assumeStandardRule = fAssumeStandardRule};
  // A code of eight digits without a leading zero; any other takes the way
  // that names its fault.
  if (const zor::BankCodeRecord* bank = blz >= 10'000'000 && blz <= 99'999'999
                                            ? BankMet(blz, BankCodeText(blz, code))
                                            : nullptr) {
    zor::GermanIban(*bank, numberText, options, fMade);
  } else {
    zor::GermanIban(*fBanks.file, BankCodeText(blz, code), numberText, options, fMade);
  }
  // Copied into the room `out` keeps: an exchange of short strings costs
  // more than the copy.
  out.iban.assign(fMade.iban);
  out.bic.assign(fMade.bic);
  return fMade.ruleAssumed;
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
