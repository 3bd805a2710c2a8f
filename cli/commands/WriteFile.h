// The write flow both write commands share: the input read once, the settings
// of the job and of the options applied, every payment checked and booked, and
// only a run without faults written.
#pragma once

#include <cstdint>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "commands/Commands.h"
#include "commands/FinishRun.h"
#include "commands/InputChecks.h"
#include "commands/OutputFiles.h"
#include "commands/PaymentSource.h"
#include "commands/WriteFlow.h"
#include "commands/WriteOptions.h"
#include "io/CsvReader.h"
#include "io/EntryNames.h"
#include "io/JobFile.h"
#include "output/StreamedOutput.h"
#include "zordta/entry/Diagnostics.h"
#include "zordta/entry/InputRecord.h"
#include "zordta/entry/MessageText.h"
#include "zordta/entry/PaymentRun.h"
#include "zordta/entry/SettingReader.h"

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

/// True for a run that writes its records as it books them, into the sink of
/// its settings (DtausRun); the others hold them until they are finished.
template <class Run>
inline constexpr bool kStreams = requires(typename Run::Settings s) {
  s.sink;
};

/// A run for one file's settings; with `streamed`, its records go there.
template <class Run>
std::unique_ptr<Run> OpenFileRun(typename Run::Settings settings, bool book, Diagnostics& errors,
                                 Diagnostics& warnings, StreamedOutput* streamed) {
  if constexpr (kStreams<Run>) {
    if (streamed) {
      settings.sink = &streamed->Sink();
      streamed->BeginRun();
    }
  }
  return std::make_unique<Run>(settings, book, errors, warnings);
}

/// A streamed run is finished right after its payments, when they were clean:
/// the next run's records follow its E record.
template <class Run>
void EndStreamedRun(Run& run, StreamedOutput* streamed, bool clean) {
  if (!streamed || !clean) return;
  streamed->EndRun(run.Component(), [&run] { run.Finish(); });
}

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

/// The settings of each file: the job's, then the options'. None when an option
/// is at fault: reported at once, as a usage fault. Raises UsageError for
/// settings that contradict each other.
template <class Run>
std::optional<std::vector<typename Run::Settings>> ReadFileSettings(
    const WriteOptions& o, const WriteKind<Run>& kind, const PaymentSource& input,
    const std::function<void(typename Run::Settings&)>& completeSettings, Diagnostics& errors) {
  const std::size_t fileCount = input.FileCount();
  std::vector<typename Run::Settings> settings(fileCount);
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
        [](const std::string& key) { return key; }, settings[f], errors);
    Diagnostics optionErrors;
    kind.apply(
        o.settings, "Befehlszeile", [&o](const std::string& key) { return OptionLabel(o, key); },
        settings[f], optionErrors);
    if (!optionErrors.Empty()) {
      optionErrors.Print(std::cerr, "");
      return std::nullopt;
    }
    settings[f].streng = o.streng;
    if (completeSettings) completeSettings(settings[f]);
    if (fileCount > 1 && kind.opensAtCost(settings[f])) {
      throw UsageError(place +
                       ": Fortlaufende Diskettennummern („zentralbank“, --zentralbank) gehen "
                       "nicht mit mehreren Dateien in einem Auftrag.");
    }
    // One physical file: its name and folder, and with the name how umlauts are coded.
    for (const auto& [key, differs] :
         {std::pair{"dateiname", settings[f].dateiname != settings[0].dateiname},
          std::pair{"verzeichnis", settings[f].verzeichnis != settings[0].verzeichnis}}) {
      if (differs)
        errors.Add(place, key, "Weicht von dem der ersten Datei ab; alle stehen in einer.");
    }
  }
  return settings;
}

/// The first pass: a run for each file, its payments checked and, with `book`,
/// booked (with `streamed`, into its payment file). Each file's faults and
/// warnings are placed in it.
template <class Run>
std::vector<std::unique_ptr<Run>> CheckRuns(const PaymentSource& input,
                                            const std::vector<typename Run::Settings>& settings,
                                            bool book, CheckedInput& checked,
                                            StreamedOutput* streamed = nullptr) {
  const std::size_t fileCount = settings.size();
  std::vector<std::unique_ptr<Run>> runs;
  for (std::size_t f = 0; f < fileCount; ++f) {
    Diagnostics errors = checked.errors.EmptyLike();
    Diagnostics warnings;
    warnings.KeepAtMost(kKeptWarnings);
    const std::size_t inputErrors = checked.inputErrors.Count();
    runs.push_back(OpenFileRun<Run>(settings[f], book, errors, warnings, streamed));
    const PaymentSource::Pass pass = FeedRun(input, f, *runs.back(), checked.inputErrors, false);
    checked.records += pass.records;
    checked.complete = checked.complete && pass.complete;
    if (pass.records == 0 && fileCount > 1) {
      errors.Add(input.FilePlace(f), "buchungen",
                 "Keine Buchungen; eine leere Datei wird nicht geschrieben.");
    }
    EndStreamedRun(*runs.back(), streamed,
                   errors.Empty() && checked.inputErrors.Count() == inputErrors);
    // Placed in their file: "dateien[2], Auftraggeber".
    checked.errors.AppendPlaced(std::move(errors), input.FilePlace(f));
    checked.warnings.AppendPlaced(std::move(warnings), input.FilePlace(f));
  }
  return runs;
}

/// The runs finished into the one file, with their cover sheets.
template <class Run>
int FinishRuns(std::vector<std::unique_ptr<Run>>& booked, const WriteKind<Run>& kind,
               const OutputFiles& files, const WriteOptions& o, StreamedOutput* streamed) {
  std::vector<BookedRun> toFinish;
  for (const std::unique_ptr<Run>& run : booked) {
    Run* r = run.get();
    toFinish.push_back(
        BookedRun{r->Component(), [r] { r->Finish(); }, [r] { return r->Begleitzettel(); }});
  }
  const auto summary = [&](const std::vector<std::uint64_t>& starts) {
    if (booked.size() == 1) return files.target + ": " + kind.summary(*booked[0], files.target, 0);
    std::string line = files.target + ": " + std::to_string(booked.size()) + " Dateien";
    for (std::size_t f = 0; f < booked.size(); ++f) {
      line += (f == 0 ? ": " : "; ") + kind.summary(*booked[f], files.target, starts[f]);
    }
    return line;
  };
  return FinishRun(toFinish, files, o, summary, streamed);
}

/// All or nothing: applies the job's settings and then the options', then reads,
/// checks and books every payment in one pass and names every fault. Only a run
/// without faults is finished; otherwise nothing is written. A run that would
/// use something up on opening is checked in a pass of its own first, and
/// booked in a second pass only when that one found no fault. A job of several
/// files ("dateien") makes one run each, written one after another into one
/// file; the options apply to each. `completeSettings`, when given, adds to each
/// file's settings what neither the job nor the setting options hold.
/// `inputRead`, when given, gets the input once it was read, or null when it
/// could not be: what it raises is raised first, as if it had run before.
template <class Run>
int WriteFile(const WriteOptions& o, const WriteKind<Run>& kind,
              const std::function<void(typename Run::Settings&)>& completeSettings = {},
              const std::function<void(PaymentSource*)>& inputRead = {}) {
  CheckOptionText(o);
  CheckedInput checked;
  std::optional<PaymentSource> source;
  try {
    source.emplace(o.job, o.csv, o.delimiter, kind.schema, kind.columns, checked.inputErrors);
  } catch (...) {
    if (inputRead) inputRead(nullptr);
    throw;
  }
  if (inputRead) inputRead(&*source);
  const PaymentSource& input = *source;
  // Without payments there is nothing more to check; with them, every fault is named at once.
  if (!checked.inputErrors.Empty() && !input.HasPayments()) {
    return ReportErrors(checked.inputErrors, input.Name());
  }
  const std::optional<std::vector<typename Run::Settings>> settings =
      ReadFileSettings(o, kind, input, completeSettings, checked.errors);
  if (!settings) return kBadUsage;
  const std::size_t fileCount = settings->size();
  const OutputFiles files = PlanOutput(
      settings->front().verzeichnis, settings->front().dateiname,
      o.settings.count("dateiname") ? OptionLabel(o, "dateiname") : "dateiname im Auftrag", o,
      fileCount);

  const bool checkFirst = o.dryRun || kind.opensAtCost(settings->front());
  // A file that streams is staged before its payments are read, so that they go
  // straight into it; where it cannot be yet, they are checked first and
  // booked in a second pass.
  std::unique_ptr<StreamedOutput> streamed;
  if constexpr (kStreams<Run>) {
    if (!checkFirst) streamed = StreamedOutput::BeforeChecks(files, o);
  }
  const bool bookNow = !checkFirst && (!kStreams<Run> || streamed);
  std::vector<std::unique_ptr<Run>> runs =
      CheckRuns<Run>(input, *settings, bookNow, checked, streamed.get());
  if (const std::optional<int> ended = ReportChecked(checked, input.Name())) return *ended;

  const std::string checkedLine =
      "Geprüft: " + Counted(checked.records, "Buchung", "Buchungen") +
      (fileCount > 1 ? " in " + std::to_string(fileCount) + " Dateien" : "") +
      " ohne Fehler; nichts geschrieben.";
  return DryRunOrCommit(o.dryRun, {checkedLine}, [&] {
    CheckTargetsFree(files, o);
    if (bookNow) return FinishRuns(runs, kind, files, o, streamed.get());
    runs.clear();  // their buffers go before the second ones fill
    if constexpr (kStreams<Run>) {
      const std::optional<int> failed =
          WriteOrReport([&] { streamed = std::make_unique<StreamedOutput>(files, o); });
      if (failed) return *failed;
    }
    Diagnostics again;
    Diagnostics ignored;
    for (std::size_t f = 0; f < fileCount; ++f) {
      const std::size_t before = again.Count();
      runs.push_back(OpenFileRun<Run>((*settings)[f], true, again, ignored, streamed.get()));
      FeedRun(input, f, *runs.back(), again, true);
      EndStreamedRun(*runs.back(), streamed.get(), again.Count() == before);
    }
    // The same input, checked the same way: a fault here means the run itself failed.
    if (!again.Empty()) return ReportErrors(again, input.Name());
    return FinishRuns(runs, kind, files, o, streamed.get());
  });
}

}  // namespace zcli
