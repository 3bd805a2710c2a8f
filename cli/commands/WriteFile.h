// The write flow both write commands share: the input read once, the settings
// of the job and of the options applied, every payment checked and booked, and
// only a run without faults written.
#pragma once

#include <iostream>
#include <map>
#include <optional>
#include <string>

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
  /// The line that reports a finished run; called once the file stands at `target`.
  std::string (*summary)(Run& run, const std::string& target);
  /// Raises UsageError when settings of the job and of the options contradict
  /// each other where neither may simply win (the direction of the money); null
  /// when the kind has no such settings.
  void (*checkConflicts)(const std::map<std::string, std::string>& job,
                         const std::map<std::string, std::string>& options,
                         const KeyLabel& optionLabel);
};

/// All or nothing: applies the job's settings and then the options', then reads,
/// checks and books every payment in one pass and names every fault. Only a run
/// without faults is finished; otherwise nothing is written. A run that would
/// use something up on opening is checked in a pass of its own first, and
/// booked in a second pass only when that one found no fault.
template <class Run>
int WriteFile(const WriteOptions& o, const WriteKind<Run>& kind) {
  CheckOptionText(o);
  Diagnostics inputErrors;
  const PaymentSource input(o.job, o.csv, o.delimiter, kind.schema, kind.columns, inputErrors);
  // Without payments there is nothing more to check; with them, every fault is named at once.
  if (!inputErrors.Empty() && !input.HasPayments()) return ReportErrors(inputErrors, input.Name());

  if (kind.checkConflicts) {
    kind.checkConflicts(input.Settings(), o.settings,
                        [&o](const std::string& key) { return OptionLabel(o, key); });
  }
  typename Run::Settings settings;
  Diagnostics checkErrors;
  kind.apply(
      input.Settings(), "Auftrag", [](const std::string& key) { return key; }, settings,
      checkErrors);
  Diagnostics optionErrors;
  kind.apply(
      o.settings, "Befehlszeile", [&o](const std::string& key) { return OptionLabel(o, key); },
      settings, optionErrors);
  if (!optionErrors.Empty()) {
    optionErrors.Print(std::cerr, "");
    return kBadUsage;
  }
  settings.streng = o.streng;
  const OutputFiles files = PlanOutput(
      settings.verzeichnis, settings.dateiname,
      o.settings.count("dateiname") ? OptionLabel(o, "dateiname") : "dateiname im Auftrag", o);

  const bool checkFirst = o.dryRun || kind.opensAtCost(settings);
  Diagnostics warnings;
  std::optional<Run> run;
  run.emplace(settings, !checkFirst, checkErrors, warnings);
  const PaymentSource::Pass pass =
      input.ForEach([&run](const InputRecord& record) { run->Add(record); }, inputErrors);
  // An unreadable file names only its own faults: its rows cannot be trusted.
  if (!inputErrors.Empty() && (pass.records == 0 || !pass.complete)) {
    return ReportErrors(inputErrors, input.Name());
  }
  Diagnostics errors = std::move(inputErrors);
  errors.Append(checkErrors);
  ReportWarnings(warnings, errors, input.Name());
  if (!errors.Empty()) return ReportErrors(errors, input.Name());
  if (pass.records == 0) {
    std::cerr << "Fehler: Keine Buchungen; nichts geschrieben.\n";
    return kBadData;
  }

  if (o.dryRun) {
    std::cout << "Geprüft: " << Counted(pass.records, "Buchung", "Buchungen")
              << " ohne Fehler; nichts geschrieben.\n";
    return kDone;
  }
  CheckTargetsFree(files, o);
  const auto finish = [&](Run& booked) {
    return FinishRun(
        booked.Component(), [&booked] { booked.Finish(); },
        [&booked] { return booked.Begleitzettel(); }, files, o,
        [&] { return kind.summary(booked, files.target); });
  };
  if (!checkFirst) return finish(*run);

  run.reset();  // its buffer goes before the second one fills
  Diagnostics again;
  Diagnostics ignored;
  Run forFile(settings, true, again, ignored);
  input.ForEach([&forFile](const InputRecord& record) { forFile.Add(record); }, again);
  // The same input, checked the same way: a fault here means the run itself failed.
  if (!again.Empty()) return ReportErrors(again, input.Name());
  return finish(forFile);
}

}  // namespace zcli
