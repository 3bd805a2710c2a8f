// The payments of a write command: the list of a job file or the rows of a CSV,
// or the lists of the files of a job of several ("dateien").
// They are handed out one record at a time, pass after pass. A CSV file is read
// anew for each pass, in blocks, so that no pass holds it; standard input and
// other pipes can be read only once, so their text is kept, but never a second
// copy of its rows.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "io/CsvFile.h"
#include "io/CsvReader.h"
#include "io/EntryNames.h"
#include "io/JobFile.h"
#include "io/PreparedRow.h"
#include "zordta/entry/Diagnostics.h"
#include "zordta/entry/InputRecord.h"

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
  /// How many files the input makes: one, or those of a job of several.
  std::size_t FileCount() const { return fFiles.size(); }
  /// How messages place file `file` (0-based): empty when it is the only one.
  const std::string& FilePlace(std::size_t file) const { return fFiles[file].place; }
  /// The job's settings for file `file`; none without a job file.
  const std::map<std::string, std::string>& Settings(std::size_t file = 0) const {
    return fFiles[file].settings;
  }
  /// True when the CSV is a file whose size or time changed since it was first read.
  bool Changed() const { return fCsvFile && fCsvFile->Changed(); }
  /// False when the files' faults leave no payment to read.
  bool HasPayments() const { return fHasPayments; }

  struct Pass {
    std::size_t records = 0;
    /// False when the input turned out unreadable midway (broken CSV quoting)
    /// or changed: the records handed out before are then not to be trusted.
    bool complete = true;
    /// True when the CSV file is no longer the one the first reading found.
    bool changed = false;
  };
  /// Hands every payment to `take`, in order; faults found on the way (the CSV's
  /// header and rows, a CSV file that changed) go to `errors`.
  Pass ForEach(const std::function<void(const InputRecord&)>& take, Diagnostics& errors) const {
    return ForEach(0, take, errors);
  }
  /// The same for the payments of file `file` alone.
  Pass ForEach(std::size_t file, const std::function<void(const InputRecord&)>& take,
               Diagnostics& errors) const {
    return Read(file, take, errors, CsvReading::First);
  }
  /// The same once more, after a pass that found no fault: a CSV's characters
  /// are not checked again (the text is the same, or the pass says it changed).
  Pass ForEachAgain(std::size_t file, const std::function<void(const InputRecord&)>& take,
                    Diagnostics& errors) const {
    return Read(file, take, errors, CsvReading::Again);
  }

  /// Where a kind of payment reads CSV rows itself: the rows go to `takeRow`,
  /// the records of a job file to `take`.
  using RowTaker = std::function<void(const CsvRecordRow&)>;
  Pass ForEach(std::size_t file, const std::function<void(const InputRecord&)>& take,
               const RowTaker& takeRow, Diagnostics& errors) const {
    return Read(file, take, errors, CsvReading::First, &takeRow);
  }
  Pass ForEachAgain(std::size_t file, const std::function<void(const InputRecord&)>& take,
                    const RowTaker& takeRow, Diagnostics& errors) const {
    return Read(file, take, errors, CsvReading::Again, &takeRow);
  }

  /// From now on `prepare` runs for each payment row of a CSV file on the
  /// thread that reads it, ahead of the caller; what it made stands in
  /// CurrentRow() while the row is taken. It must share nothing with the
  /// caller's thread that either changes.
  using RowPreparer = std::function<void(const CsvRow&, const CsvRecordReader&, PreparedRow&)>;
  void PrepareRows(RowPreparer prepare) { fPrepare = std::move(prepare); }
  /// What was prepared for the row being taken; null when nothing was.
  const PreparedRow* CurrentRow() const { return fCurrent; }

 private:
  struct File {
    std::string place;
    std::map<std::string, std::string> settings;
    std::vector<InputRecord> payments;
  };

  explicit PaymentSource(const CsvColumns& columns) : fColumns(columns), fFiles(1) {}
  Pass Read(std::size_t file, const std::function<void(const InputRecord&)>& take,
            Diagnostics& errors, CsvReading reading, const RowTaker* takeRow = nullptr) const;
  void TakeCsv(std::string name, std::string text, char delimiter);

  const CsvColumns& fColumns;
  std::string fName;
  /// At least one; the CSV's payments belong to the first.
  std::vector<File> fFiles;
  std::string fCsvText;
  /// Set for a CSV that is a regular file; fCsvText stays empty then.
  std::optional<CsvFile> fCsvFile;
  char fDelimiter = ',';
  bool fFromCsv = false;
  bool fHasPayments = false;
  RowPreparer fPrepare;
  mutable const PreparedRow* fCurrent = nullptr;
};

}  // namespace zcli
