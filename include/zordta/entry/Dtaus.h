// Domestic payments (DTAUS): settings, payments and the checks before writing.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "zordta/Config.h"
#include "zordta/ZorDTA.h"
#include "zordta/entry/CsvRecords.h"
#include "zordta/entry/Diagnostics.h"
#include "zordta/entry/InputRecord.h"
#include "zordta/entry/JobSchema.h"
#include "zordta/entry/PaymentRun.h"
#include "zordta/entry/RowText.h"
#include "zordta/entry/SettingReader.h"

namespace zor::entry {

struct ZORDTA_API DtausSettings {
  std::string name{};  ///< client, UTF-8
  std::int64_t blz = 0;
  std::int64_t konto = 0;
  bool lastschriften = false;
  bool abbuchung = false;    ///< implies lastschriften
  std::string schluessel{};  ///< the payment key of the file, five digits, or empty
  std::optional<zor::TDate> ausfuehrung{};
  std::optional<zor::TDate> dateidatum{};
  bool zentralbank = false;
  std::string dateiname = "DTAUS0.TXT";
  std::string verzeichnis = ".";
  /// Strict: refuse text that would not be written as given, and bank
  /// codes and accounts the bank would refuse.
  bool streng = false;
  /// Reports bank codes and accounts the bank would refuse (AccountWarnings);
  /// empty: they are not checked (AccountScreen plugs in a bank's check methods).
  std::function<void(std::int64_t bankCode, std::int64_t account, const std::string& where,
                     Diagnostics& findings)>
      checkAccount{};
  /// For a run set up to write its file: where its records go as they are
  /// booked (zor::TZorDTA::SetRecordSink); null: the component's buffer, which
  /// its Finish writes to the file.
  zor::ByteSink* sink = nullptr;
};

/// The texts view the record or the CSV row the payment was read from: they
/// are valid while it is.
struct ZORDTA_API DtausPayment {
  std::string where;
  std::string_view name;
  std::int64_t konto = 0;
  std::int64_t blz = 0;
  std::int64_t cent = 0;
  std::vector<std::string_view> purpose;  ///< a blank line keeps its place
  std::string_view schluessel;            ///< its own payment key, or empty for the file's
  /// Fields whose text could not be read (already reported); the others are still checked.
  std::set<std::string> unreadable;
};

ZORDTA_API const JobSchema& DtausJobSchema();
ZORDTA_API const CsvColumns& DtausCsvColumns();

/// True when the settings make a file of debits (record A "LK").
ZORDTA_API bool IsDebitFile(const DtausSettings& settings);

/// Also takes "gutschriften" (true: credits), which only an option sets.
ZORDTA_API void ApplyDtausSettings(const std::map<std::string, std::string>& values,
                                   const std::string& where, const KeyLabel& label,
                                   DtausSettings& settings, Diagnostics& errors);

/// A record's values; each one that cannot be read is reported and marked.
/// `payment` may hold an earlier record: it is overwritten, its storage reused.
ZORDTA_API void ReadDtausPayment(const InputRecord& record, DtausPayment& payment,
                                 Diagnostics& errors);

/// A run of domestic payments, checked and booked one record at a time. Each
/// fault is reported, and a record with a fault is not booked; a run that saw
/// faults must not be finished.
class ZORDTA_API DtausRun : public PaymentRun<zor::TZorDTA> {
 public:
  using Settings = DtausSettings;

  /// Checks the client and opens the run. With `forFile` it is set up to write
  /// its file: folder, name, the settings' sink and, on request, the diskette
  /// number, which opening uses up. Without, its records are dropped as they
  /// are made. A faulty client is reported, and a stand-in client opens the run,
  /// so that the payments are still checked.
  DtausRun(const DtausSettings& settings, bool forFile, Diagnostics& errors, Diagnostics& warnings);

  void Add(const InputRecord& record);
  /// The same for a CSV row, read straight from its cells.
  void Add(const CsvRecordRow& row);

 private:
  /// Where the fields are in the rows of one reader; npos: not there.
  struct Columns {
    const CsvRecordReader* reader = nullptr;
    std::size_t name = 0, konto = 0, blz = 0, betrag = 0, schluessel = 0;
  };

  void OpenStandIn(const DtausSettings& settings);
  /// Checks and books fPayment.
  void Book();
  /// True when the prepared purpose lines go to the library as texts, not as a list.
  bool BooksAsTexts() const;
  /// False, with the fault reported, when the payment would take record E's
  /// count or sum beyond their fields.
  bool FitsTrailer(const DtausPayment& payment);

  decltype(DtausSettings::checkAccount) fCheckAccount;
  /// The errors when strict, else the warnings.
  Diagnostics& fAccountFindings;

  // Kept from record to record, so a long run allocates little.
  DtausPayment fPayment;
  Columns fColumns;
  /// Takes the records of a run that only checks.
  zor::DiscardingSink fDiscard;
  zor::AnsiString fName;
  std::string fFileKey;
  bool fDebitFile = false;
};

}  // namespace zor::entry
