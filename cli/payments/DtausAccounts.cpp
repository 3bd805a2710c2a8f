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

bool DtausAccounts::Make(std::int64_t blz, std::int64_t konto, zor::SepaAccount& out) {
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

bool DtausAccounts::Prepared(std::int64_t blz, std::int64_t konto, zor::SepaAccount& out,
                             bool& standardRule) {
  try {
    standardRule = Make(blz, konto, out);
    return true;
  } catch (const zor::BankCodeError&) {
    return false;
  }
}

bool DtausAccounts::Quietly(std::int64_t blz, std::int64_t konto, zor::SepaAccount& out) {
  bool standardRule = false;
  return Prepared(blz, konto, out, standardRule);
}

}  // namespace zcli
