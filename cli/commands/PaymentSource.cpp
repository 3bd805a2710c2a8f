#include "commands/PaymentSource.h"

#include <optional>
#include <utility>

#include "commands/Commands.h"
#include "io/CsvReadAhead.h"
#include "io/FileBytes.h"
#include "io/ReadAhead.h"

namespace zcli {

namespace {

char DelimiterOption(const std::string& option) {
  if (option == "," || option == ";") return option[0];
  if (option == "tab" || option == "\t") return '\t';
  if (!option.empty()) throw UsageError("--delimiter: erlaubt sind , ; und tab.");
  return 0;
}

}  // namespace

PaymentSource::PaymentSource(const std::string& jobPath, const std::string& csvPath,
                             const std::string& delimiterOption, const JobSchema& schema,
                             const CsvColumns& columns, Diagnostics& errors)
    : fColumns(columns), fFiles(1) {
  if (jobPath.empty() && csvPath.empty()) throw UsageError("Es fehlt --job oder --csv.");
  if (jobPath == kStandardInput && csvPath == kStandardInput) {
    throw UsageError("--job - und --csv - lesen beide die Standardeingabe; nur eines geht.");
  }
  if (!jobPath.empty()) {
    fName = InputName(jobPath);
    Diagnostics jobErrors = errors.EmptyLike();
    Job job = LoadJob(ReadInput(jobPath), schema, jobErrors);
    if (!job.files.empty()) {
      if (!csvPath.empty()) {
        throw UsageError("Der Auftrag " + fName +
                         " hat mehrere Dateien („dateien“) mit ihren Buchungen; --csv ist dann "
                         "nicht erlaubt.");
      }
      fFiles.clear();
      for (Job& file : job.files) {
        fHasPayments = fHasPayments || !file.payments.empty();
        fFiles.push_back(
            {std::move(file.place), std::move(file.settings), std::move(file.payments)});
      }
      errors.Append(std::move(jobErrors));
      return;
    }
    if (!csvPath.empty() && job.hasPayments && !job.payments.empty()) {
      throw UsageError("Der Auftrag " + fName +
                       " hat schon Buchungen; --csv ist dann nicht erlaubt.");
    }
    if (csvPath.empty() && !job.hasPayments && jobErrors.Empty()) {
      jobErrors.Add("Auftrag", "buchungen", "Es fehlen die Buchungen (oder --csv).");
    }
    fFiles[0].settings = std::move(job.settings);
    fFiles[0].payments = std::move(job.payments);
    const bool jobFaulty = !jobErrors.Empty();
    errors.Append(std::move(jobErrors));
    fHasPayments = !fFiles[0].payments.empty();
    if (jobFaulty && fFiles[0].payments.empty()) return;
  }
  if (!csvPath.empty()) {
    const char delimiter = DelimiterOption(delimiterOption);
    std::string name = InputName(csvPath);
    LineBlocks blocks(csvPath);
    // Standard input is not opened anew, even where it is a file.
    if (blocks.Regular() && csvPath != kStandardInput) {
      fCsvFile.emplace(csvPath, blocks, delimiter);
      TakeCsv(std::move(name), std::string(), fCsvFile->Delimiter());
      return;
    }
    // Kept: a pipe can be read only once; each pass parses this text again.
    std::string text;
    for (std::string_view block = blocks.Next(); !block.empty(); block = blocks.Next()) {
      text += block;
    }
    TakeCsv(std::move(name), std::move(text), delimiter);
  }
}

PaymentSource PaymentSource::FromCsvText(std::string name, std::string text,
                                         const std::string& delimiterOption,
                                         const CsvColumns& columns) {
  PaymentSource source(columns);
  source.TakeCsv(std::move(name), std::move(text), DelimiterOption(delimiterOption));
  return source;
}

void PaymentSource::TakeCsv(std::string name, std::string text, char delimiter) {
  fName = std::move(name);
  fCsvText = std::move(text);
  fDelimiter = delimiter ? delimiter : GuessDelimiter(fCsvText);
  fFromCsv = true;
  fHasPayments = true;
}

PaymentSource::Pass PaymentSource::Read(std::size_t file,
                                        const std::function<void(const InputRecord&)>& take,
                                        Diagnostics& errors, CsvReading reading,
                                        const RowTaker* takeRow) const {
  Pass pass;
  if (!fFromCsv) {
    for (const InputRecord& record : fFiles[file].payments) take(record);
    pass.records = fFiles[file].payments.size();
    return pass;
  }
  std::optional<CsvRecordReader> reader;
  InputRecord record;
  const std::size_t before = errors.Count();
  // The header makes the reader; each further row is a payment or reported.
  const auto sortRow = [&](const CsvRow& row, std::string& where, Diagnostics& rowErrors) {
    if (!reader) {
      reader.emplace(row, fColumns, rowErrors);
      return reader->Usable() ? RowFate::Skip : RowFate::Stop;
    }
    return reader->Accept(row, where, rowErrors) ? RowFate::Take : RowFate::Skip;
  };
  // An accepted row reads without a fault: Read accepts it once more.
  Diagnostics none;
  const auto takeRecordRow = [&](const CsvRow& row, const std::string& where,
                                 const PreparedRow* prepared) {
    const TakingPrepared<PreparedRow> taking(fCurrent, prepared);
    if (takeRow && *takeRow) {
      (*takeRow)(CsvRecordRow{row, *reader, where});
    } else {
      reader->Read(row, record, none);
      take(record);
    }
    ++pass.records;
  };
  if (fCsvFile) {
    // Split a batch ahead, on a thread of its own, and prepared there.
    zcli::RowPreparer prepare;
    if (fPrepare) {
      prepare = [&](const CsvRow& row, PreparedRow& out) { fPrepare(row, *reader, out); };
    }
    const CsvFile::Pass read =
        ReadRowsAhead(*fCsvFile, errors, sortRow, prepare, takeRecordRow, reading);
    pass.complete = read == CsvFile::Pass::Complete;
    pass.changed = read == CsvFile::Pass::Changed;
  } else {
    pass.complete = ReadCsvRows(
        fCsvText, fDelimiter, errors,
        [&](const CsvRow& row) {
          const RowFate fate = sortRow(row, record.where, errors);
          if (fate == RowFate::Take) takeRecordRow(row, record.where, nullptr);
          return fate != RowFate::Stop;
        },
        reading);
  }
  if (!reader && pass.complete && errors.Count() == before) {
    errors.Add("Zeile 1", "",
               "Die Datei ist leer; erwartet wird eine Kopfzeile mit den Spaltennamen.");
  }
  return pass;
}

}  // namespace zcli
