#include "payments/PaymentKeys.h"

#include "io/MessageText.h"
#include "io/Values.h"

namespace zcli {

const zor::DtausKey* KeyOf(std::string_view key) {
  if (key.size() != 5 || !ParseDigits(key)) return nullptr;
  return zor::FindDtausKey(key);
}

std::string KeyTextProblem(std::string_view key) {
  if (key.size() != 5 || !ParseDigits(key)) {
    return Quoted(key) + " ist kein Zahlungsschlüssel (fünf Ziffern, z.B. 53000).";
  }
  if (!KeyOf(key)) {
    return Quoted(key) + " ist kein bekannter Zahlungsschlüssel: Lastschriften beginnen mit " +
           zor::DtausKeyCodes(true, " oder ") + ", Gutschriften mit " +
           zor::DtausKeyCodes(false, " oder ") + ".";
  }
  return std::string();
}

std::string KeyProblem(std::string_view key, bool debitFile) {
  if (std::string problem = KeyTextProblem(key); !problem.empty()) return problem;
  const bool debitKey = zor::IsDebit(KeyOf(key)->kind);
  if (debitKey == debitFile) return std::string();
  return "Der Zahlungsschlüssel " + std::string(key) + " ist " +
         (debitKey ? "eine Lastschrift; die Datei enthält Gutschriften (" +
                         zor::DtausKeyCodes(false, ", ") + ")."
                   : "eine Gutschrift; die Datei enthält Lastschriften (" +
                         zor::DtausKeyCodes(true, ", ") + ").");
}

}  // namespace zcli
