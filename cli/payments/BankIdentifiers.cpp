#include "payments/BankIdentifiers.h"

#include "io/MessageText.h"
#include "zordta/Bic.h"
#include "zordta/Iban.h"
#include "zordta/host/Text.h"

namespace zcli {

namespace {

// The UTF-8 character that begins at `offset`, whole.
std::string_view CharAt(std::string_view text, std::size_t offset) {
  char32_t codePoint = 0;
  const std::size_t size = zor::DecodeUtf8(text, offset, codePoint);
  return text.substr(offset, size == 0 ? 1 : size);
}

// What the registry's class of characters is called in a message.
std::string_view ClassName(zor::IbanCharClass kind) {
  switch (kind) {
    case zor::IbanCharClass::Digit:
      return "eine Ziffer";
    case zor::IbanCharClass::Capital:
      return "ein Buchstabe";
    case zor::IbanCharClass::CapitalOrDigit:
      break;
  }
  return "ein Buchstabe oder eine Ziffer";
}

}  // namespace

std::string IbanProblem(std::string_view iban) {
  const zor::IbanCheck check = zor::CheckIBAN(iban);
  const std::string country(iban.substr(0, 2));
  switch (check.verdict) {
    case zor::IbanVerdict::Valid:
      return std::string();
    case zor::IbanVerdict::Empty:
      return "Die IBAN fehlt.";
    case zor::IbanVerdict::Characters:
      return "Eine IBAN besteht aus Buchstaben und Ziffern; " +
             Quoted(CharAt(iban, check.position)) + " gehört nicht hinein.";
    case zor::IbanVerdict::UnknownCountry:
      return Quoted(country) + " ist kein Land mit IBAN (eine IBAN beginnt mit dem Ländercode, " +
             "z.B. DE).";
    case zor::IbanVerdict::LengthForCountry:
      return "Eine IBAN aus " + country + " hat " + std::to_string(check.expectedLength) +
             " Zeichen, diese hat " + std::to_string(iban.size()) + ".";
    case zor::IbanVerdict::Structure:
      if (check.position < 4) {
        return "Auf den Ländercode folgen zwei Prüfziffern, nicht " + Quoted(iban.substr(2, 2)) +
               ".";
      }
      return "An Stelle " + std::to_string(check.position + 1) + " gehört in eine IBAN aus " +
             country + " " + std::string(ClassName(check.expected)) + ", nicht " +
             Quoted(iban.substr(check.position, 1)) + ".";
    case zor::IbanVerdict::CheckDigits:
      break;
  }
  const std::string checkDigits(iban.substr(2, 2));
  if (checkDigits == "00" || checkDigits == "01" || checkDigits == "99") {
    return "Die Prüfziffern " + checkDigits + " gibt es nicht; sie liegen zwischen 02 und 98.";
  }
  return "Die Prüfziffern " + checkDigits +
         " passen nicht zur IBAN: ein Zeichen ist falsch oder vertauscht.";
}

std::string BicProblem(std::string_view bic) {
  const zor::BicCheck check = zor::CheckBIC(bic);
  switch (check.verdict) {
    case zor::BicVerdict::Valid:
      return std::string();
    case zor::BicVerdict::Empty:
      return "Die BIC fehlt.";
    case zor::BicVerdict::Characters:
      return "Eine BIC besteht aus Buchstaben und Ziffern; " + Quoted(CharAt(bic, check.position)) +
             " gehört nicht hinein.";
    case zor::BicVerdict::Length:
      return "Eine BIC hat 8 oder 11 Zeichen, diese hat " + std::to_string(bic.size()) + ".";
    case zor::BicVerdict::Structure:
      return "Eine BIC beginnt mit sechs Buchstaben (Bank und Land), nicht mit " +
             Quoted(bic.substr(0, 6)) + ".";
    case zor::BicVerdict::Country:
      break;
  }
  return "Zeichen 5 und 6 einer BIC nennen das Land der Bank; " + Quoted(bic.substr(4, 2)) +
         " ist kein Land (ISO 3166, z.B. DE).";
}

}  // namespace zcli
