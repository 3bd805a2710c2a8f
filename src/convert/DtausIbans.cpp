#include <charconv>
#include <cstring>
#include <iterator>

#include "zordta/AccountTables.h"

namespace zor {

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

DtausIbans::DtausIbans(const BankCodeFile& banks, const IbanTable* table, GermanIbanOptions options)
    : fBanks(banks), fTable(table), fOptions(options) {}

const BankCodeRecord* DtausIbans::BankMet(std::int64_t blz, std::string_view code) {
  const auto key = static_cast<std::uint32_t>(blz);
  if (const auto met = fBanksMet.find(key); met != fBanksMet.end()) return met->second;
  const BankCodeRecord* bank = fBanks.Find(code);
  if (bank != nullptr) fBanksMet.emplace(key, bank);
  return bank;
}

bool DtausIbans::Make(DtausAccount account, SepaAccount& out) {
  if (fTable != nullptr) {
    if (const IbanRow* listed = fTable->Find(account)) {
      out.iban.assign(listed->iban);
      out.bic.assign(listed->bic);
      return false;
    }
  }
  char code[24];
  char number[24];
  const char* numberEnd = std::to_chars(std::begin(number), std::end(number), account.konto).ptr;
  const std::string_view numberText(number, static_cast<std::size_t>(numberEnd - number));
  // A code of eight digits without a leading zero; any other takes the way
  // that names its fault.
  if (const BankCodeRecord* bank = account.blz >= 10'000'000 && account.blz <= 99'999'999
                                       ? BankMet(account.blz, BankCodeText(account.blz, code))
                                       : nullptr) {
    GermanIban(*bank, numberText, fOptions, fMade);
  } else {
    GermanIban(fBanks, BankCodeText(account.blz, code), numberText, fOptions, fMade);
  }
  // Copied into the room `out` keeps: an exchange of short strings costs
  // more than the copy.
  out.iban.assign(fMade.iban);
  out.bic.assign(fMade.bic);
  return fMade.ruleAssumed;
}

}  // namespace zor
