// The values of a payment given as text, checked before they are booked: the
// amount, the execution date, the currency, the DTAUS payment key, and what is
// wrong with an IBAN or a BIC. Each check answers "" for a good value, else why
// not in one German sentence that names the value:
//
//   if (const std::optional<std::int64_t> cent = zor::ParseAmountCent(betrag)) ...
//   else report(zor::AmountProblem(betrag));
//   if (std::string problem = zor::IbanProblemText(iban); !problem.empty()) ...
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "zordta/Config.h"
#include "zordta/DtausKeys.h"
#include "zordta/host/Types.h"

namespace zor {

/// An amount in cents: digits, then "," or "." and one or two decimals, blanks
/// around it ignored. No thousands separators: "1.234" would be ambiguous.
ZORDTA_API std::optional<std::int64_t> ParseAmountCent(std::string_view text) noexcept;
/// "" when ParseAmountCent reads `text`, else why not (a missing amount among them).
ZORDTA_API std::string AmountProblem(std::string_view text);

/// "" when the date lies between today and today + limits::kExecutionWindowDays,
/// the window both DTAUS and DTAZV files accept for execution; else why not.
ZORDTA_API std::string ExecutionDateProblem(TDate date);

/// "" for a currency one can pay in (ISO 4217, letters in any case), else why not.
ZORDTA_API std::string CurrencyProblem(std::string_view code);

/// The DTAUS key of five digits whose first two are known; null for any other text.
ZORDTA_API const DtausKey* PaymentKeyOf(std::string_view key) noexcept;
/// "" when `key` is a key at all (five digits, known first two), else why not.
ZORDTA_API std::string PaymentKeyTextProblem(std::string_view key);
/// "" when a file of debits (`debitFile`) or of credits takes `key`, else why not.
ZORDTA_API std::string PaymentKeyProblem(std::string_view key, bool debitFile);

/// "" for a valid IBAN (capitals, no blanks), else what zor::CheckIBAN found,
/// said precisely: a character that does not belong, a country without IBANs,
/// a length that is not the country's, a character the country's format does
/// not allow at its place, or check digits that do not agree.
ZORDTA_API std::string IbanProblemText(std::string_view iban);
/// "" for a valid BIC (capitals, no blanks, a country at characters 5 and 6),
/// else what zor::CheckBIC found, said precisely.
ZORDTA_API std::string BicProblemText(std::string_view bic);

}  // namespace zor
