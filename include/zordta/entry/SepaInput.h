// SEPA credit transfers and direct debits: the settings and payments of
// a SEPA document as they are given as text, handed to the library's SepaPlan and
// SepaWriter.
#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "zordta/Config.h"
#include "zordta/Sepa.h"
#include "zordta/entry/CsvRecords.h"
#include "zordta/entry/Diagnostics.h"
#include "zordta/entry/InputRecord.h"
#include "zordta/entry/JobSchema.h"
#include "zordta/entry/SettingReader.h"
#include "zordta/host/Types.h"

namespace zor::entry {

struct ZORDTA_API SepaEntrySettings {
  /// Kind, version, scheme, message id, the client's account, creditor id.
  zor::SepaSettings library{};
  /// Of payments without a date of their own; none: today.
  std::optional<zor::TDate> ausfuehrung{};
  std::string dateiname{};  ///< empty: DefaultSepaFileName
  std::string verzeichnis = ".";
};

ZORDTA_API const JobSchema& SepaJobSchema();
ZORDTA_API const CsvColumns& SepaCsvColumns();

/// "sepa-ueberweisungen.xml" or "sepa-lastschriften.xml".
ZORDTA_API std::string DefaultSepaFileName(zor::SepaKind kind);

ZORDTA_API void ApplySepaSettings(const std::map<std::string, std::string>& values,
                                  const std::string& where, const KeyLabel& label,
                                  SepaEntrySettings& settings, Diagnostics& errors);

/// Checks what the library does not: the client's IBAN and BIC in detail, the
/// execution date. Faults go to `errors` under kClientWhere.
ZORDTA_API void CheckSepaClient(const SepaEntrySettings& settings, const KeyLabel& label,
                                Diagnostics& errors);

/// Fills `payment` from a record; every field that cannot be read or that
/// SepaPlan would refuse without saying which part is wrong (IBAN, BIC) is
/// reported. Answers false when the record had such a fault.
ZORDTA_API bool ReadSepaPayment(const InputRecord& record, zor::SepaKind kind,
                                const std::chrono::year_month_day& defaultDate,
                                zor::SepaPayment& payment, Diagnostics& errors);

/// Direct debits need a creditor identifier, the settings' or each payment's
/// own. A payment with neither is reported once (`reported`), at the settings'
/// glaeubiger_id, and given a stand-in so that its other fields are checked.
ZORDTA_API void CheckSepaCreditorId(const zor::SepaSettings& settings, zor::SepaPayment& payment,
                                    const KeyLabel& label, bool& reported, Diagnostics& errors);

/// The input's name for a field the library names by its XML element: the
/// job's key, flattened with dots ("Cdtr/Nm" -> "name", "Cdtr/PstlAdr/TwnNm"
/// -> "anschrift.ort", "UltmtDbtr/Id" -> "endzahler.kennung"); `settings`: a
/// field of the document's settings ("auftraggeber.anschrift.ort").
ZORDTA_API std::string SepaFieldLabel(const std::string& element, bool settings);

/// A refusal of the library, and the further ones it carries, each at its
/// field (SepaFieldLabel, then `label` where given).
ZORDTA_API void AddSepaRefusal(const zor::SepaError& e, const std::string& where, bool settings,
                               Diagnostics& errors, const KeyLabel& label = {});

/// A date of the host's kind as the library takes it.
ZORDTA_API std::chrono::year_month_day SepaDate(zor::TDate date);

/// Valid stand-ins for a client's IBAN or creditor ID the checks refused, so
/// that the payments are still checked; never written, as a fault was reported.
inline constexpr const char* kStandInIban = "DE89370400440532013000";
inline constexpr const char* kStandInCreditorId = "DE98ZZZ09999999999";

}  // namespace zor::entry
