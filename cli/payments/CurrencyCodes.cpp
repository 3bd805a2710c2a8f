#include "payments/CurrencyCodes.h"

#include "io/MessageText.h"
#include "zordta/IsoCodes.h"

namespace zcli {

std::string CurrencyProblem(std::string_view code) {
  std::string upper(code);
  bool letters = upper.size() == 3;
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    letters = letters && c >= 'A' && c <= 'Z';
  }
  if (!letters) return Quoted(code) + " ist kein Währungscode (drei Buchstaben, z.B. USD).";
  if (zor::IsPayableCurrency(upper)) return std::string();
  if (zor::IsCurrencyCode(upper)) {
    return Quoted(upper) +
           " ist keine Währung, in der gezahlt werden kann (ein Code für Edelmetall, "
           "Rechnungseinheit, Test oder „keine Währung“).";
  }
  return Quoted(upper) + " ist keine gültige Währung nach ISO 4217 (z.B. EUR, USD, CHF).";
}

}  // namespace zcli
