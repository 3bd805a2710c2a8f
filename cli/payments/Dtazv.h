// Foreign payments (DTAZV): settings, payments and the checks before writing.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "io/CsvReader.h"
#include "io/Diagnostics.h"
#include "io/InputRecord.h"
#include "io/JobFile.h"
#include "payments/Settings.h"
#include "zordta/ZorDTAZV.h"

namespace zcli {

struct DtazvSettings {
  std::string name;
  std::string name2;
  std::string strasse;
  std::string ort;
  std::int64_t blz = 0;
  std::int64_t konto = 0;
  std::string waehrung = "EUR";
  std::int64_t bundeslandschluessel = 0;
  std::int64_t firmennummer = 0;
  std::int64_t zahlungsart = 0;
  std::int64_t laufendeNummer = 0;
  std::optional<zor::TDate> ausfuehrung;
  std::string dateiname = "DTAZV";
  std::string verzeichnis = ".";
};

struct DtazvPayment {
  std::string where;
  std::string bic;   ///< upper case
  std::string iban;  ///< upper case, without blanks
  std::string name;
  std::string name2;
  std::string strasse;
  std::string ort;
  std::string land;  ///< two letters; from the IBAN when not given
  std::int64_t cent = 0;
  std::string waehrung;  ///< three letters; empty: the client's currency
  std::vector<std::string> purpose;
  std::optional<zor::TDate> datum;
  std::string notiz;
  std::string ansprechpartner;
  /// Fields whose text could not be read (already reported); the others are still checked.
  std::set<std::string> unreadable;
};

const JobSchema& DtazvJobSchema();
const CsvColumns& DtazvCsvColumns();

void ApplyDtazvSettings(const std::map<std::string, std::string>& values, const std::string& where,
                        const KeyLabel& label, DtazvSettings& settings, Diagnostics& errors);

std::vector<DtazvPayment> ParseDtazvPayments(const std::vector<InputRecord>& records,
                                             Diagnostics& errors);

/// The library's checks on client and payments, on a component never finished.
void CheckDtazv(const DtazvSettings& settings, const std::vector<DtazvPayment>& payments,
                Diagnostics& errors, Diagnostics& warnings);

/// Sets folder, file name, client and settings; the caller starts the run with
/// settings.laufendeNummer.
void ConfigureDtazv(zor::TZorDTAZV& dtazv, const DtazvSettings& settings);
void BookDtazv(zor::TZorDTAZV& dtazv, const DtazvSettings& settings, const DtazvPayment& payment);

/// IBANs are often written in groups of four: blanks out, letters up.
std::string CompactIdentifier(const std::string& text);

}  // namespace zcli
