// zordta sepa convert of a DTAZV file. The file is read with the checked
// reader, whole, before anything is printed; that reading also converts,
// checks and counts every payment. It is read once more per payment block to
// write the documents, so that no payment is held in memory. Each reading runs
// a batch ahead of the conversion, on a thread of its own.
#include "commands/SepaConvertDtazv.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <vector>

#include "commands/Commands.h"
#include "commands/InputChecks.h"
#include "commands/OutputFiles.h"
#include "commands/WriteFlow.h"
#include "commands/WriteOptions.h"
#include "io/DtazvReadAhead.h"
#include "io/FileBytes.h"
#include "output/OutputError.h"
#include "payments/BankCodeSource.h"
#include "payments/CheckedDtaus.h"
#include "payments/DtausAccounts.h"
#include "zordta/PaymentValues.h"
#include "zordta/entry/MessageText.h"
#include "zordta/entry/Values.h"

namespace zcli {

namespace {

std::string Where(const zor::DtazvPlace& place) {
  if (place.record == 0) return "Datei";
  return "Datensatz " + std::to_string(place.record) + " (Byte " + std::to_string(place.offset) +
         ")";
}

// "<base>.xml", or "<base>-k.xml" for the k-th of two documents.
std::string FileName(const DtazvConvertJob& job, std::size_t number, std::size_t count) {
  const std::string name = job.dateiname.empty()
                               ? std::filesystem::path(job.file).stem().string() + ".xml"
                               : job.dateiname;
  if (count == 1) return name;
  const std::size_t dot = name.rfind('.');
  const std::string suffix = "-" + std::to_string(number);
  if (dot == std::string::npos || dot == 0) return name + suffix;
  return name.substr(0, dot) + suffix + name.substr(dot);
}

std::string Summary(const zor::DtazvToSepa& convert, zor::DtazvDocumentKind kind) {
  if (kind == zor::DtazvDocumentKind::Sepa) {
    const zor::SepaPlan& plan = *convert.SepaPlanOf();
    return Counted(plan.Count(), "SEPA-Überweisung", "SEPA-Überweisungen") + ", Summe " +
           GermanAmount(plan.Cents()) + " EUR";
  }
  return Counted(convert.ForeignPlanOf()->Count(), "Auslandsüberweisung", "Auslandsüberweisungen");
}

// The first reading: a message ID given is numbered only when both documents
// are made, so then the payments are sorted first.
bool Plan(const DtazvConvertJob& job, zor::DtazvToSepa& convert) {
  try {
    bool sepa = false;
    bool foreign = false;
    if (!job.settings.messageId.empty()) {
      ReadDtazvPaymentsAhead(
          job.file, [](const zor::DtazvHeader&) {},
          [&](const zor::DtazvPayment& p, std::span<const zor::DtazvReport>) {
            (zor::DtazvPaymentIsSepa(p) ? sepa : foreign) = true;
          });
    }
    ReadDtazvPaymentsAhead(
        job.file, [&](const zor::DtazvHeader& q) { convert.Open(q, sepa && foreign); },
        [&](const zor::DtazvPayment& p, std::span<const zor::DtazvReport> r) {
          convert.Plan(p, r);
        });
    convert.Finish();
    return true;
  } catch (const zor::Exception& e) {
    std::cerr << "Fehler: " << job.file << ": " << OneLine(e.what()) << "\nNichts geschrieben.\n";
    return false;
  }
}

void WriteDocuments(const std::vector<std::ostream*>& outs, const DtazvConvertJob& job,
                    zor::DtazvToSepa& convert) {
  convert.StartWriting(outs);
  for (std::size_t pass = 0; pass < convert.Passes(); ++pass) {
    bool same = true;
    ReadDtazvPaymentsAhead(
        job.file, [](const zor::DtazvHeader&) {},
        [&](const zor::DtazvPayment& p, std::span<const zor::DtazvReport> r) {
          same = convert.Write(p, r, pass) && same;
        });
    if (!same) throw OutputError(job.file + ": " + kFileChangedWhileRead);
  }
  convert.FinishWriting();
}

int Commit(const DtazvConvertJob& job, zor::DtazvToSepa& convert, const WriteOptions& paths) {
  const std::vector<zor::DtazvDocumentKind> kinds = convert.Documents();
  std::vector<std::string> targets, checkedLines, writtenLines;
  for (std::size_t k = 0; k < kinds.size(); ++k) {
    targets.push_back(
        PlanOutput(job.verzeichnis, FileName(job, k + 1, kinds.size()), "--dateiname", paths)
            .target);
    const std::string summary = Summary(convert, kinds[k]);
    checkedLines.push_back("Geprüft: " + targets[k] + ": " + summary + "; nichts geschrieben.");
    writtenLines.push_back(targets[k] + ": " + summary);
  }
  return DryRunOrCommit(job.dryRun, checkedLines, [&] {
    for (const std::string& path : targets) {
      OutputFiles target;
      target.target = path;
      target.inputs = paths.readFiles;
      CheckTargetsFree(target, paths);
    }
    const std::optional<int> refused = WriteOrReport([&] {
      WriteStaged(
          targets, paths.readFiles, job.overwrite,
          [&](const std::vector<std::ostream*>& outs) { WriteDocuments(outs, job, convert); },
          {{}, [&](const zor::SepaError& e) { return job.file + ": " + OneLine(e.what()); }});
    });
    return refused ? *refused : ReportWritten(writtenLines);
  });
}

}  // namespace

bool IsDtazvFile(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;
  std::ifstream in(path, std::ios::binary);
  char head[5] = {};
  in.read(head, sizeof head);
  return in.gcount() == 5 && std::string_view(head, 5) == "0256Q";
}

int RunDtazvConvert(const DtazvConvertJob& job, zor::entry::Diagnostics errors) {
  WriteOptions paths;
  paths.noText = true;
  paths.noPdf = true;
  paths.overwrite = job.overwrite;
  PlanOutput(job.verzeichnis, FileName(job, 1, 1), "--dateiname", paths);  // a bare name
  // The client's IBAN is made from record Q only when none is given.
  const RunBankCodes banks =
      job.settings.clientIban.empty() ? ReadRunBankCodes(job.bankdaten) : RunBankCodes{};
  DtausAccounts accounts(banks, job.standardregel, nullptr);
  zor::DtazvToSepa::IbanOf ibanOf;
  if (job.settings.clientIban.empty()) {
    ibanOf = [&accounts](zor::DtausAccount a, zor::SepaAccount& out) {
      return accounts.Make(a.blz, a.konto, out);
    };
  }
  Diagnostics warnings;
  warnings.KeepAtMost(kKeptWarnings);
  zor::DtazvToSepa convert(job.settings, ibanOf, [&](const zor::DtazvToSepaIssue& issue) {
    (issue.IsFault() ? errors : warnings).Add(Where(issue.place), issue.field, issue.text);
  });
  if (!Plan(job, convert)) return kBadData;
  paths.readFiles = {job.file};
  if (!banks.path.empty()) paths.readFiles.push_back(banks.path);
  ReportWarnings(warnings, errors, job.file);
  if (!errors.Empty()) return ReportErrors(errors, job.file);
  if (convert.Documents().empty()) {
    std::cerr << "Fehler: " << job.file
              << ": Die Datei enthält keine Zahlung.\nNichts geschrieben.\n";
    return kBadData;
  }
  return Commit(job, convert, paths);
}

}  // namespace zcli
