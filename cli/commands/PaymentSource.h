// The payments of a write command: the list of a job file or the rows of a CSV.
// They are handed out one record at a time, so that a large table is held only
// as the text it was read from, never as a second copy of its rows.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "io/CsvReader.h"
#include "io/Diagnostics.h"
#include "io/InputRecord.h"
#include "io/JobFile.h"

namespace zcli {

class PaymentSource {
 public:
  /// Reads the job file and the CSV (either may be empty, not both; either, not
  /// both, may be "-" for standard input), each once. Faults of the files go to
  /// `errors`; a wrong call raises UsageError, an unreadable file zor::Exception.
  PaymentSource(const std::string& jobPath, const std::string& csvPath,
                const std::string& delimiterOption, const JobSchema& schema,
                const CsvColumns& columns, Diagnostics& errors);

  /// The payments of CSV text already in memory, named `name` in messages, as
  /// a CSV file of that text would give them.
  static PaymentSource FromCsvText(std::string name, std::string text,
                                   const std::string& delimiterOption, const CsvColumns& columns);

  /// The input named in messages about payments: the path as given, or "Standardeingabe".
  const std::string& Name() const { return fName; }
  /// The job's settings; none without a job file.
  const std::map<std::string, std::string>& Settings() const { return fSettings; }
  /// False when the files' faults leave no payment to read.
  bool HasPayments() const { return fHasPayments; }

  struct Pass {
    std::size_t records = 0;
    /// False when the input turned out unreadable midway (broken CSV quoting):
    /// the records handed out before are then not to be trusted.
    bool complete = true;
  };
  /// Hands every payment to `take`, in order; faults found on the way (the CSV's
  /// header and rows) go to `errors`. Each pass parses the text read at the
  /// start anew; the file is not read again.
  Pass ForEach(const std::function<void(const InputRecord&)>& take, Diagnostics& errors) const;

 private:
  explicit PaymentSource(const CsvColumns& columns) : fColumns(columns) {}
  void TakeCsv(std::string name, std::string text, char delimiter);

  const CsvColumns& fColumns;
  std::string fName;
  std::map<std::string, std::string> fSettings;
  std::vector<InputRecord> fJobPayments;
  std::string fCsvText;
  char fDelimiter = ',';
  bool fFromCsv = false;
  bool fHasPayments = false;
};

}  // namespace zcli
