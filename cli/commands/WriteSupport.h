// What both write commands share: the input (job file, CSV), settings given as
// options, where the output goes, and how a finished run is reported.
#pragma once

#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "commands/Commands.h"
#include "io/CsvReader.h"
#include "io/Diagnostics.h"
#include "io/InputRecord.h"
#include "io/JobFile.h"
#include "payments/Settings.h"
#include "output/SheetPrinter.h"
#include "zordta/ZorDTA.h"

namespace zcli {

struct WriteOptions {
  std::string csv;
  std::string job;
  std::string delimiter;
  /// Settings from options, keyed as in a job file ("auftraggeber.blz").
  std::map<std::string, std::string> settings;
  /// Key -> option, for messages.
  std::map<std::string, std::string> optionNames;
  bool noText = false;
  bool noPdf = false;
  bool dryRun = false;
  bool overwrite = false;
  CLI::Option* print = nullptr;
  std::string queue;
  unsigned copies = 1;
};

void AddInputOptions(CLI::App& command, WriteOptions& o);
/// An option whose value becomes the setting `key`.
void AddSettingOption(CLI::App& command, WriteOptions& o, const std::string& names,
                      const std::string& key, const std::string& typeName, const std::string& help);
/// A flag that sets `key` to `value`.
void AddSettingFlag(CLI::App& command, WriteOptions& o, const std::string& names,
                    const std::string& key, const std::string& value, const std::string& help);
void AddOutputOptions(CLI::App& command, WriteOptions& o);

struct Input {
  std::string source;  ///< the file named in messages about payments
  std::map<std::string, std::string> settings;
  std::vector<InputRecord> records;
};

/// Reads the job file and the CSV; payments come from the CSV when it is given.
Input LoadInput(const WriteOptions& o, const JobSchema& schema, const CsvColumns& columns,
                Diagnostics& errors);

/// Raises UsageError for option values that are no UTF-8 or hold characters
/// Windows-1252 lacks.
void CheckOptionText(const WriteOptions& o);

/// Names a setting in messages: its option when it came from one.
std::string OptionLabel(const WriteOptions& o, const std::string& key);

/// Prints every error and answers kBadData.
int ReportErrors(Diagnostics errors, const std::string& source);
/// Prints the warnings about places without errors.
void ReportWarnings(const Diagnostics& warnings, const Diagnostics& errors,
                    const std::string& source);

struct OutputFiles {
  std::string target;
  std::string textSheet;  ///< empty with --no-text
  std::string pdfSheet;   ///< empty with --no-pdf
};

/// The paths of a run. Raises zor::Exception when the target exists and may not
/// be replaced, or the folder cannot be made.
OutputFiles PlanOutput(const std::string& folder, const std::string& fileName,
                       const WriteOptions& o);

/// What one kind of payment file brings to the shared write flow.
template <class Settings, class Payment>
struct WriteKind {
  const JobSchema& schema;
  const CsvColumns& columns;
  void (*apply)(const std::map<std::string, std::string>& values, const std::string& where,
                const KeyLabel& label, Settings& settings, Diagnostics& errors);
  std::vector<Payment> (*parse)(const std::vector<InputRecord>& records, Diagnostics& errors);
  void (*check)(const Settings& settings, const std::vector<Payment>& payments, Diagnostics& errors,
                Diagnostics& warnings);
};

/// The checked input of a write command, ready to be booked.
template <class Settings, class Payment>
struct CheckedWrite {
  Settings settings;
  std::vector<Payment> payments;
  OutputFiles files;
};

/// All or nothing: loads the input, applies the job's settings and then the
/// options', parses and checks every row and names every fault. Answers the exit
/// code when the command ends here (faults, no payments, --dry-run); otherwise
/// fills `run` and answers nothing.
template <class Settings, class Payment>
std::optional<int> CheckWriteInput(const WriteOptions& o, const WriteKind<Settings, Payment>& kind,
                                   CheckedWrite<Settings, Payment>& run) {
  CheckOptionText(o);
  Diagnostics errors;
  Diagnostics warnings;
  const Input input = LoadInput(o, kind.schema, kind.columns, errors);
  // Without rows there is nothing more to check; with them, every fault is named at once.
  if (!errors.Empty() && input.records.empty()) return ReportErrors(errors, input.source);

  kind.apply(
      input.settings, "Auftrag", [](const std::string& key) { return key; }, run.settings, errors);
  Diagnostics optionErrors;
  kind.apply(
      o.settings, "Befehlszeile", [&o](const std::string& key) { return OptionLabel(o, key); },
      run.settings, optionErrors);
  if (!optionErrors.Empty()) {
    optionErrors.Print(std::cerr, "");
    return kBadUsage;
  }
  run.payments = kind.parse(input.records, errors);
  kind.check(run.settings, run.payments, errors, warnings);
  ReportWarnings(warnings, errors, input.source);
  if (!errors.Empty()) return ReportErrors(errors, input.source);
  if (run.payments.empty()) {
    std::cerr << "Fehler: Keine Buchungen; nichts geschrieben.\n";
    return kBadData;
  }

  run.files = PlanOutput(run.settings.verzeichnis, run.settings.dateiname, o);
  if (o.dryRun) {
    std::cout << "Geprüft: " << run.payments.size()
              << " Buchungen ohne Fehler; nichts geschrieben.\n";
    return kDone;
  }
  return std::nullopt;
}

/// Finishes a booked run (the file, then the printed sheets), writes the text
/// sheet and reports; answers the exit code.
int FinishRun(zor::TZorBaseDTA& component, const std::function<void()>& finish,
              const std::function<zor::String()>& begleitzettel, const OutputFiles& files,
              const WriteOptions& o, const std::string& summary);

/// "1.234,56" style is avoided on purpose: "1234,56".
std::string GermanAmount(std::int64_t cent);

/// The whole file as bytes; raises zor::Exception with a German message.
std::string ReadWholeFile(const std::string& path);

}  // namespace zcli
