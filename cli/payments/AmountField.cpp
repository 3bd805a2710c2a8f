#include "payments/AmountField.h"

#include "io/MessageText.h"
#include "io/Values.h"

namespace zcli {

std::optional<std::int64_t> ReadAmount(const InputRecord& r, Diagnostics& errors) {
  const std::string_view betrag = r.Get("betrag");
  const std::optional<std::int64_t> cent = ParseAmountCent(betrag);
  if (betrag.empty()) {
    errors.Add(r.where, "betrag", "Betrag fehlt.");
  } else if (!cent) {
    errors.Add(
        r.where, "betrag",
        Quoted(betrag) + " ist kein Betrag (z.B. 1234,56 oder 1234.56, ohne Tausenderpunkte).");
  }
  return cent;
}

}  // namespace zcli
