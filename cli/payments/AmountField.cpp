#include "payments/AmountField.h"

#include "io/MessageText.h"
#include "io/Values.h"

namespace zcli {

std::optional<std::int64_t> ReadAmount(const InputRecord& r, Diagnostics& errors) {
  return ReadAmount(r.Get("betrag"), r.where, errors);
}

std::optional<std::int64_t> ReadAmount(std::string_view betrag, const std::string& where,
                                       Diagnostics& errors) {
  const std::optional<std::int64_t> cent = ParseAmountCent(betrag);
  if (betrag.empty()) {
    errors.Add(where, "betrag", "Betrag fehlt.");
  } else if (!cent) {
    errors.Add(
        where, "betrag",
        Quoted(betrag) + " ist kein Betrag (z.B. 1234,56 oder 1234.56, ohne Tausenderpunkte).");
  }
  return cent;
}

}  // namespace zcli
