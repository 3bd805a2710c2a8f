#include "payments/BankIdentifiers.h"

#include "io/MessageText.h"
#include "payments/CountryCodes.h"
#include "payments/IbanLengths.h"
#include "zordta/host/Exception.h"
#include "zordta/host/Text.h"

namespace zcli {

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsCapital(char c) {
  return c >= 'A' && c <= 'Z';
}

// The UTF-8 character that begins at `offset`, whole.
std::string_view CharAt(std::string_view text, std::size_t offset) {
  char32_t codePoint = 0;
  const std::size_t size = zor::DecodeUtf8(text, offset, codePoint);
  return text.substr(offset, size == 0 ? 1 : size);
}

// "" when the text holds only capitals and digits, else the first other character.
std::string_view FirstForeignChar(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!IsDigit(text[i]) && !IsCapital(text[i])) return CharAt(text, i);
  }
  return std::string_view();
}

// The check digits are the library's to judge: its check is the one the file
// must pass, and the shape was checked before.
bool CheckDigitsAgree(zor::TZorDTAZV& checker, std::string_view iban) {
  try {
    return checker.ValidateIBAN(zor::AnsiString(iban));
  } catch (const zor::Exception&) {
    return false;
  }
}

}  // namespace

std::string IbanProblem(std::string_view iban, zor::TZorDTAZV& checker) {
  if (iban.empty()) return "Die IBAN fehlt.";
  const std::string_view foreign = FirstForeignChar(iban);
  if (!foreign.empty()) {
    return "Eine IBAN besteht aus Buchstaben und Ziffern; " + Quoted(foreign) +
           " gehört nicht hinein.";
  }
  const std::string_view country = iban.substr(0, 2);
  const std::size_t length = IbanLength(country);
  if (length == 0) {
    return Quoted(country) + " ist kein Land mit IBAN (eine IBAN beginnt mit dem Ländercode, " +
           "z.B. DE).";
  }
  if (iban.size() != length) {
    return "Eine IBAN aus " + std::string(country) + " hat " + std::to_string(length) +
           " Zeichen, diese hat " + std::to_string(iban.size()) + ".";
  }
  const std::string_view checkDigits = iban.substr(2, 2);
  if (!IsDigit(checkDigits[0]) || !IsDigit(checkDigits[1])) {
    return "Auf den Ländercode folgen zwei Prüfziffern, nicht " + Quoted(checkDigits) + ".";
  }
  if (!CheckDigitsAgree(checker, iban)) {
    return "Die Prüfziffern " + std::string(checkDigits) +
           " passen nicht zur IBAN: ein Zeichen ist falsch oder vertauscht.";
  }
  return std::string();
}

std::string BicProblem(std::string_view bic) {
  if (bic.empty()) return "Die BIC fehlt.";
  const std::string_view foreign = FirstForeignChar(bic);
  if (!foreign.empty()) {
    return "Eine BIC besteht aus Buchstaben und Ziffern; " + Quoted(foreign) +
           " gehört nicht hinein.";
  }
  if (bic.size() != 8 && bic.size() != 11) {
    return "Eine BIC hat 8 oder 11 Zeichen, diese hat " + std::to_string(bic.size()) + ".";
  }
  for (std::size_t i = 0; i < 6; ++i) {
    if (!IsCapital(bic[i])) {
      return "Eine BIC beginnt mit sechs Buchstaben (Bank und Land), nicht mit " +
             Quoted(bic.substr(0, 6)) + ".";
    }
  }
  const std::string_view country = bic.substr(4, 2);
  if (!IsCountryCode(country)) {
    return "Zeichen 5 und 6 einer BIC nennen das Land der Bank; " + Quoted(country) +
           " ist kein Land (ISO 3166, z.B. DE).";
  }
  return std::string();
}

}  // namespace zcli
