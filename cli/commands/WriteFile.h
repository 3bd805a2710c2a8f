// The write flow both write commands share: the input read once, the settings
// of the job and of the options applied, every payment checked and booked, and
// only a run without faults written.
#pragma once

#include <cstdint>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "commands/Commands.h"
#include "commands/FinishRun.h"
#include "commands/InputChecks.h"
#include "commands/OutputFiles.h"
#include "commands/PaymentSource.h"
#include "commands/WriteOptions.h"
#include "io/CsvReader.h"
#include "io/Diagnostics.h"
#include "io/InputRecord.h"
#include "io/JobFile.h"
#include "io/MessageText.h"
#include "payments/PaymentRun.h"
#include "payments/SettingReader.h"

namespace zcli {

/// What one kind of payment file brings to the shared write flow. Its `Run`
/// (DtausRun, DtazvRun) opens a run for the settings and checks and books one
/// input record at a time.
template <class Run>
struct WriteKind {
  using Settings = typename Run::Settings;
  const JobSchema& schema;
  const CsvColumns& columns;
  void (*apply)(const std::map<std::string, std::string>& values, const std::string& where,
                const KeyLabel& label, Settings& settings, Diagnostics& errors);
  /// True when opening a run for the file uses something up (a diskette number).
  bool (*opensAtCost)(const Settings& settings);
  /// What a finished run holds ("3 Gutschriften, Summe 12,00 EUR"), read where
  /// its part begins in the file at `target`; called once the file stands there.
  std::string (*summary)(Run& run, const std::string& target, std::uint64_t start);
  /// Raises UsageError when settings of the job and of the options contradict
  /// each other where neither may simply win (the direction of the money); null
  /// when the kind has no such settings.
  void (*checkConflicts)(const std::map<std::string, std::string>& job,
                         const std::map<std::string, std::string>& options,
                         const KeyLabel& optionLabel);
};

/// Hands `run` the payments of file `file`: CSV rows straight, where the run
/// reads them itself, else as records. `again`: a second pass (ForEachAgain).
template <class Run>
PaymentSource::Pass FeedRun(const PaymentSource& input, std::size_t file, Run& run,
                            Diagnostics& errors, bool again) {
  const std::function<void(const InputRecord&)> take = [&run](const InputRecord& record) {
    run.Add(record);
  };
  PaymentSource::RowTaker takeRow;
  if constexpr (requires(const CsvRecordRow& row) { run.Add(row); }) {
    takeRow = [&run](const CsvRecordRow& row) { run.Add(row); };
  }
  return again ? input.ForEachAgain(file, take, takeRow, errors)
               : input.ForEach(file, take, takeRow, errors);
}

/// The faults of one file of several, placed in it: "dateien[2], Auftraggeber".
inline void AppendPlaced(Diagnostics& to, Diagnostics&& from, const std::string& place) {
  if (place.empty()) {
    to.Append(std::move(from));
    return;
  }
  for (const Diagnostic& d : from.Items()) {
    to.Add(d.where.starts_with(place) ? d.where : place + ", " + d.where, d.field, d.message);
  }
  to.AddNotKept(from.NotKept());
  from = Diagnostics();
}

/// All or nothing: applies the job's settings and then the options', then reads,
/// checks and books every payment in one pass and names every fault. Only a run
/// without faults is finished; otherwise nothing is written. A run that would
/// use something up on opening is checked in a pass of its own first, and
/// booked in a second pass only when that one found no fault. A job of several
/// files ("dateien") makes one run each, written one after another into one
/// file; the options apply to each. `completeSettings`, when given, adds to each
/// file's settings what neither the job nor the setting options hold.
template <class Run>
int WriteFile(const WriteOptions& o, const WriteKind<Run>& kind,
              const std::function<void(typename Run::Settings&)>& completeSettings = {}) {
  CheckOptionText(o);
  Diagnostics inputErrors;
  const PaymentSource input(o.job, o.csv, o.delimiter, kind.schema, kind.columns, inputErrors);
  // Without payments there is nothing more to check; with them, every fault is named at once.
  if (!inputErrors.Empty() && !input.HasPayments()) return ReportErrors(inputErrors, input.Name());

  const std::size_t fileCount = input.FileCount();
  std::vector<typename Run::Settings> settings(fileCount);
  Diagnostics checkErrors;
  for (std::size_t f = 0; f < fileCount; ++f) {
    const std::string& place = input.FilePlace(f);
    if (kind.checkConflicts) {
      try {
        kind.checkConflicts(input.Settings(f), o.settings,
                            [&o](const std::string& key) { return OptionLabel(o, key); });
      } catch (const UsageError& e) {
        if (place.empty()) throw;
        throw UsageError(place + ": " + e.what());
      }
    }
    kind.apply(
        input.Settings(f), place.empty() ? "Auftrag" : place,
        [](const std::string& key) { return key; }, settings[f], checkErrors);
    Diagnostics optionErrors;
    kind.apply(
        o.settings, "Befehlszeile", [&o](const std::string& key) { return OptionLabel(o, key); },
        settings[f], optionErrors);
    if (!optionErrors.Empty()) {
      optionErrors.Print(std::cerr, "");
      return kBadUsage;
    }
    settings[f].streng = o.streng;
    if (completeSettings) completeSettings(settings[f]);
    if (fileCount > 1 && kind.opensAtCost(settings[f])) {
      throw UsageError(place +
                       ": Fortlaufende Diskettennummern („zentralbank“, --zentralbank) gehen "
                       "nicht mit mehreren Dateien in einem Auftrag.");
    }
    // One physical file: its name and folder, and with the name how umlauts are coded.
    if (settings[f].dateiname != settings[0].dateiname) {
      checkErrors.Add(place, "dateiname",
                      "Weicht von dem der ersten Datei ab; alle stehen in einer.");
    }
    if (settings[f].verzeichnis != settings[0].verzeichnis) {
      checkErrors.Add(place, "verzeichnis",
                      "Weicht von dem der ersten Datei ab; alle stehen in einer.");
    }
  }
  const OutputFiles files = PlanOutput(
      settings[0].verzeichnis, settings[0].dateiname,
      o.settings.count("dateiname") ? OptionLabel(o, "dateiname") : "dateiname im Auftrag", o,
      fileCount);

  const bool checkFirst = o.dryRun || kind.opensAtCost(settings[0]);
  std::vector<Diagnostics> runErrors(fileCount);
  std::vector<Diagnostics> runWarnings(fileCount);
  std::vector<std::unique_ptr<Run>> runs;
  std::size_t records = 0;
  bool complete = true;
  for (std::size_t f = 0; f < fileCount; ++f) {
    runWarnings[f].KeepAtMost(kKeptWarnings);
    runs.push_back(std::make_unique<Run>(settings[f], !checkFirst, runErrors[f], runWarnings[f]));
    Run& run = *runs.back();
    const PaymentSource::Pass pass = FeedRun(input, f, run, inputErrors, false);
    records += pass.records;
    complete = complete && pass.complete;
    if (pass.records == 0 && fileCount > 1) {
      runErrors[f].Add(input.FilePlace(f), "buchungen",
                       "Keine Buchungen; eine leere Datei wird nicht geschrieben.");
    }
  }
  // An unreadable file names only its own faults: its rows cannot be trusted.
  if (!inputErrors.Empty() && (records == 0 || !complete)) {
    return ReportErrors(inputErrors, input.Name());
  }
  Diagnostics errors = std::move(inputErrors);
  errors.Append(checkErrors);
  Diagnostics warnings;
  for (std::size_t f = 0; f < fileCount; ++f) {
    AppendPlaced(errors, std::move(runErrors[f]), input.FilePlace(f));
    AppendPlaced(warnings, std::move(runWarnings[f]), input.FilePlace(f));
  }
  ReportWarnings(warnings, errors, input.Name());
  if (!errors.Empty()) return ReportErrors(errors, input.Name());
  if (records == 0) {
    std::cerr << "Fehler: Keine Buchungen; nichts geschrieben.\n";
    return kBadData;
  }

  if (o.dryRun) {
    std::cout << "Geprüft: " << Counted(records, "Buchung", "Buchungen")
              << (fileCount > 1 ? " in " + std::to_string(fileCount) + " Dateien" : "")
              << " ohne Fehler; nichts geschrieben.\n";
    return kDone;
  }
  CheckTargetsFree(files, o);
  const auto finish = [&](std::vector<std::unique_ptr<Run>>& booked) {
    std::vector<BookedRun> toFinish;
    for (const std::unique_ptr<Run>& run : booked) {
      Run* r = run.get();
      toFinish.push_back(
          BookedRun{r->Component(), [r] { r->Finish(); }, [r] { return r->Begleitzettel(); }});
    }
    return FinishRun(toFinish, files, o, [&](const std::vector<std::uint64_t>& starts) {
      if (booked.size() == 1)
        return files.target + ": " + kind.summary(*booked[0], files.target, 0);
      std::string line = files.target + ": " + std::to_string(booked.size()) + " Dateien";
      for (std::size_t f = 0; f < booked.size(); ++f) {
        line += (f == 0 ? ": " : "; ") + kind.summary(*booked[f], files.target, starts[f]);
      }
      return line;
    });
  };
  if (!checkFirst) return finish(runs);

  runs.clear();  // their buffers go before the second ones fill
  Diagnostics again;
  Diagnostics ignored;
  for (std::size_t f = 0; f < fileCount; ++f) {
    runs.push_back(std::make_unique<Run>(settings[f], true, again, ignored));
    Run& run = *runs.back();
    FeedRun(input, f, run, again, true);
  }
  // The same input, checked the same way: a fault here means the run itself failed.
  if (!again.Empty()) return ReportErrors(again, input.Name());
  return finish(runs);
}

}  // namespace zcli
