#include "entry/AmountField.h"

#include "zordta/PaymentValues.h"

namespace zor::entry {

std::optional<std::int64_t> ReadAmount(const InputRecord& r, Diagnostics& errors) {
  return ReadAmount(r.Get("betrag"), r.where, errors);
}

std::optional<std::int64_t> ReadAmount(std::string_view betrag, const std::string& where,
                                       Diagnostics& errors) {
  const std::optional<std::int64_t> cent = zor::ParseAmountCent(betrag);
  if (!cent) errors.Add(where, "betrag", zor::AmountProblem(betrag));
  return cent;
}

}  // namespace zor::entry
