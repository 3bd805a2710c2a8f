#include "payments/PaymentKeys.h"

#include "io/MessageText.h"
#include "io/Values.h"

namespace zcli {

std::optional<KeyKind> KindOfKey(std::string_view key) {
  if (key.size() != 5 || !ParseDigits(key)) return std::nullopt;
  const std::string_view type = key.substr(0, 2);
  if (type == "04" || type == "05") return KeyKind::kDebit;
  if (type == "51" || type == "53" || type == "54" || type == "56") return KeyKind::kCredit;
  return std::nullopt;
}

std::string KeyTextProblem(std::string_view key) {
  if (key.size() != 5 || !ParseDigits(key)) {
    return Quoted(key) + " ist kein Zahlungsschlüssel (fünf Ziffern, z.B. 53000).";
  }
  if (!KindOfKey(key)) {
    return Quoted(key) +
           " ist kein bekannter Zahlungsschlüssel: Lastschriften beginnen mit 04 oder 05, "
           "Gutschriften mit 51, 53, 54 oder 56.";
  }
  return std::string();
}

std::string KeyProblem(std::string_view key, bool debitFile) {
  if (std::string problem = KeyTextProblem(key); !problem.empty()) return problem;
  const bool debitKey = KindOfKey(key) == KeyKind::kDebit;
  if (debitKey == debitFile) return std::string();
  return "Der Zahlungsschlüssel " + std::string(key) + " ist " +
         (debitKey ? "eine Lastschrift; die Datei enthält Gutschriften (51, 53, 54, 56)."
                   : "eine Gutschrift; die Datei enthält Lastschriften (04, 05).");
}

}  // namespace zcli
