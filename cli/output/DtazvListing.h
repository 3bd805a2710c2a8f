// A read DTAZV file printed as JSON, in the shape of a "dtazv write" job so
// that it can be written again, or as CSV with the columns "dtazv write --csv"
// reads. What a job has no key for (the file's creation date and totals) is
// printed under keys "dtazv write" ignores; what a payment holds that the
// writer cannot write (instruction keys, charges, reports, ...) under keys it
// refuses by name, so that nothing is lost on the way back.
// The payments are spooled as they are read; Print writes the listing once
// the file is read whole and not refused.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "output/ListingSpool.h"
#include "zordta/DtazvReader.h"

namespace zcli {

/// What the file's first payment and its record Q set for all: a payment that
/// differs names it itself.
struct DtazvFileSettings {
  std::int64_t blz = 0;
  std::int64_t konto = 0;
  std::string kontoWaehrung;
  std::int32_t zahlungsart = 0;
  std::optional<std::chrono::year_month_day> ausfuehrungsdatum;

  /// Record Q's, and the first payment's account currency and payment type.
  static DtazvFileSettings Of(const zor::DtazvHeader& header, const zor::DtazvPayment& first);
};

/// The keys of what a payment holds beyond the columns of "dtazv write", in
/// the order the JSON prints them; empty for most.
std::vector<const char*> DtazvExtraKeys(const zor::DtazvPayment& payment,
                                        std::span<const zor::DtazvReport> reports,
                                        const DtazvFileSettings& file);
/// The same in words for a message: "Weisungsschlüssel („weisungsschluessel“)".
std::string DtazvExtrasInWords(const std::vector<const char*>& keys);

class DtazvJsonListing {
 public:
  void Add(const zor::DtazvPayment& payment, std::span<const zor::DtazvReport> reports,
           const DtazvFileSettings& file);
  /// The head from record Q, the settings of the first payment and record Z,
  /// then the payments and the end.
  void Print(std::ostream& out, const std::string& path, const zor::DtazvHeader& header,
             const std::optional<DtazvFileSettings>& file, const zor::DtazvTrailer& trailer);

 private:
  ListingSpool fSpool;
  std::size_t fCount = 0;
};

class DtazvCsvListing {
 public:
  DtazvCsvListing();
  void Add(const zor::DtazvPayment& payment, const DtazvFileSettings& file);
  void Print(std::ostream& out);

 private:
  ListingSpool fSpool;
};

}  // namespace zcli
