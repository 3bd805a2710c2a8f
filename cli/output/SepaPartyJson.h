// What a read SEPA file carries beyond accounts, amounts and references, in the
// keys "sepa write" takes back: addresses, identifications, ultimate parties,
// structured references, mandate amendments, block ids. Nothing is printed
// for what the file leaves out.
#pragma once

#include <nlohmann/json.hpp>

#include "zordta/SepaReader.h"

namespace zcli {

/// "aktuell", "alt" or "2009".
const char* SepaVersionWord(zor::SepaVersion version);

/// The account's "anschrift" and "kennung", where it has them.
void AddSepaAccountExtras(const zor::SepaAccount& account, nlohmann::ordered_json& out);
/// The document's and the blocks' settings beyond the account.
void AddSepaSettingsExtras(const zor::SepaDocument& document, const zor::SepaBlock& block,
                           nlohmann::ordered_json& out);
/// A payment's fields beyond account, amount, references and mandate.
void AddSepaPaymentExtras(const zor::SepaPayment& payment, nlohmann::ordered_json& out);

}  // namespace zcli
