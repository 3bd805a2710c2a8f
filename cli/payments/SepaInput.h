// SEPA credit transfers and direct debits: the settings and payments of
// "sepa write" as the tool reads them, handed to the library's SepaPlan and
// SepaWriter.
#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <string>

#include "io/CsvReader.h"
#include "io/Diagnostics.h"
#include "io/InputRecord.h"
#include "io/JobFile.h"
#include "payments/SettingReader.h"
#include "zordta/Sepa.h"
#include "zordta/host/Types.h"

namespace zcli {

struct SepaCliSettings {
  /// Kind, version, scheme, message id, the client's account, creditor id.
  zor::SepaSettings library;
  /// Of payments without a date of their own; none: today.
  std::optional<zor::TDate> ausfuehrung;
  std::string dateiname;  ///< empty: DefaultSepaFileName
  std::string verzeichnis = ".";
};

const JobSchema& SepaJobSchema();
const CsvColumns& SepaCsvColumns();

/// "sepa-ueberweisungen.xml" or "sepa-lastschriften.xml".
std::string DefaultSepaFileName(zor::SepaKind kind);

void ApplySepaSettings(const std::map<std::string, std::string>& values, const std::string& where,
                       const KeyLabel& label, SepaCliSettings& settings, Diagnostics& errors);

/// Checks what the library does not: the client's IBAN and BIC in detail, the
/// execution date. Faults go to `errors` under kClientWhere.
void CheckSepaClient(const SepaCliSettings& settings, const KeyLabel& label, Diagnostics& errors);

/// Fills `payment` from a record; every field the tool cannot read or that the
/// library would refuse without saying which part is wrong (IBAN, BIC) is
/// reported. Answers false when the record had such a fault.
bool ReadSepaPayment(const InputRecord& record, zor::SepaKind kind,
                     const std::chrono::year_month_day& defaultDate, zor::SepaPayment& payment,
                     Diagnostics& errors);

/// The input's name for a field the library names by its XML element
/// ("Cdtr/Nm" -> "name"); `settings`: a field of the document's settings.
std::string SepaFieldLabel(const std::string& element, bool settings);

/// A refusal of the library, and the further ones it carries, each at its
/// field (SepaFieldLabel, then `label` where given).
void AddSepaRefusal(const zor::SepaError& e, const std::string& where, bool settings,
                    Diagnostics& errors, const KeyLabel& label = {});

/// A date of the host's kind as the library takes it.
std::chrono::year_month_day SepaDate(zor::TDate date);

/// Valid stand-ins for a client's IBAN or creditor ID the checks refused, so
/// that the payments are still checked; never written, as a fault was reported.
inline constexpr const char* kStandInIban = "DE89370400440532013000";
inline constexpr const char* kStandInCreditorId = "DE98ZZZ09999999999";

}  // namespace zcli
