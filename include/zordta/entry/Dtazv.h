// Foreign payments (DTAZV): settings, payments and the checks before writing.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "zordta/Config.h"
#include "zordta/ZorDTAZV.h"
#include "zordta/entry/CsvRecords.h"
#include "zordta/entry/Diagnostics.h"
#include "zordta/entry/InputRecord.h"
#include "zordta/entry/JobSchema.h"
#include "zordta/entry/PaymentRun.h"
#include "zordta/entry/RowText.h"
#include "zordta/entry/SettingReader.h"

namespace zor::entry {

struct ZORDTA_API DtazvSettings {
  std::string name{};
  std::string name2{};
  std::string strasse{};
  std::string ort{};
  std::int64_t blz = 0;
  std::int64_t konto = 0;
  std::string waehrung = "EUR";
  std::int64_t bundeslandschluessel = 0;
  std::int64_t firmennummer = 0;
  std::int64_t zahlungsart = 0;
  std::int64_t laufendeNummer = 0;
  std::optional<zor::TDate> ausfuehrung{};
  std::string dateiname = "DTAZV";
  std::string verzeichnis = ".";
  /// Strict: refuse text that would not be written as given.
  bool streng = false;
  /// For a run set up to write its file: where its records go as they are
  /// booked (zor::TZorDTAZV::SetRecordSink); null: the component's buffer,
  /// which its Finish writes to the file.
  zor::ByteSink* sink = nullptr;
};

struct ZORDTA_API DtazvPayment {
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

/// The text fields of a client or a payment, 8-bit, as they go into the file.
struct ZORDTA_API DtazvTexts {
  zor::AnsiString name;
  zor::AnsiString name2;
  zor::AnsiString strasse;
  zor::AnsiString ort;
  zor::AnsiString notiz;
  zor::AnsiString ansprechpartner;
};

ZORDTA_API const JobSchema& DtazvJobSchema();
ZORDTA_API const CsvColumns& DtazvCsvColumns();

ZORDTA_API void ApplyDtazvSettings(const std::map<std::string, std::string>& values,
                                   const std::string& where, const KeyLabel& label,
                                   DtazvSettings& settings, Diagnostics& errors);

/// A record's values; each one that cannot be read is reported and marked.
/// `payment` may hold an earlier record: it is overwritten, its storage reused.
ZORDTA_API void ReadDtazvPayment(const InputRecord& record, DtazvPayment& payment,
                                 Diagnostics& errors);

/// A run of foreign payments, checked and booked one record at a time. Each
/// fault is reported, and a record with a fault is not booked; a run that saw
/// faults must not be finished.
class ZORDTA_API DtazvRun : public PaymentRun<zor::TZorDTAZV> {
 public:
  using Settings = DtazvSettings;

  /// Checks the client and opens the run. With `forFile` it is set up to write
  /// its file (folder and name). A faulty client is reported, and a stand-in
  /// client opens the run, so that the payments are still checked.
  DtazvRun(const DtazvSettings& settings, bool forFile, Diagnostics& errors, Diagnostics& warnings);

  void Add(const InputRecord& record);

 private:
  void OpenStandIn(const DtazvSettings& settings);
  /// False, with the fault reported, when the payment would take record Z's
  /// sum beyond its field.
  bool FitsTrailer(const DtazvPayment& payment);
  void Book(const DtazvPayment& payment);

  DtazvSettings fSettings;
  // Kept from record to record, so a long run allocates little.
  DtazvPayment fPayment;
  DtazvTexts fTexts;
  /// Takes the records of a run that only checks.
  zor::DiscardingSink fDiscard;
};

/// IBANs are often written in groups of four: blanks out, letters up.
ZORDTA_API std::string CompactIdentifier(std::string_view text);
/// The same into `out`, whose storage a reader keeps from row to row.
ZORDTA_API void CompactIdentifierInto(std::string_view text, std::string& out);

}  // namespace zor::entry
