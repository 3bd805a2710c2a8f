// zordta sepa write (sepa read: SepaReadCommand.cpp)
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>

#include <CLI/CLI.hpp>

#include "commands/Commands.h"
#include "commands/InputChecks.h"
#include "commands/OutputFiles.h"
#include "commands/PaymentSource.h"
#include "commands/WriteFlow.h"
#include "commands/WriteOptions.h"
#include "io/CsvFile.h"
#include "io/EntryNames.h"
#include "output/FileOut.h"
#include "output/OutputError.h"
#include "output/StagedFiles.h"
#include "output/StandardOutput.h"
#include "zordta/entry/Diagnostics.h"
#include "zordta/entry/MessageText.h"
#include "zordta/entry/PaymentRun.h"
#include "zordta/entry/SepaConflicts.h"
#include "zordta/entry/SepaInput.h"
#include "zordta/host/SysUtils.h"

namespace zcli {

namespace {

// The library's warnings from `first` on, placed at `where`. It keeps the text
// of the first hundred; the others are still counted.
void TakeWarnings(const zor::SepaPlan& plan, std::size_t first, const std::string& where,
                  bool settings, const KeyLabel& label, Diagnostics& warnings) {
  const std::vector<zor::SepaWarning>& kept = plan.Warnings();
  for (std::size_t i = first; i < plan.WarningCount(); ++i) {
    if (i < kept.size()) {
      warnings.Add(where, label(SepaFieldLabel(kept[i].place.field, settings)), kept[i].text);
    } else {
      warnings.Add(where, "", "Ein Text wurde umschrieben oder gekürzt.");
    }
  }
}

// The plan for the client's settings. A fault the tool found already, or the
// library's first, is replaced by a stand-in, so that the payments are checked.
zor::SepaPlan OpenPlan(const zor::SepaSettings& given, bool ibanFaulty, bool bicFaulty,
                       const KeyLabel& label, Diagnostics& errors, Diagnostics& warnings) {
  zor::SepaSettings settings = given;
  if (ibanFaulty) settings.account.iban = kStandInIban;
  if (bicFaulty) settings.account.bic.clear();
  try {
    zor::SepaPlan plan(settings);
    TakeWarnings(plan, 0, kClientWhere, true, label, warnings);
    return plan;
  } catch (const zor::SepaError& e) {
    AddSepaRefusal(e, kClientWhere, true, errors, label);
  }
  // Only the payments are checked from here: the settings' extras go.
  zor::SepaSettings standIn;
  standIn.kind = settings.kind;
  standIn.version = settings.version;
  standIn.instrument = settings.instrument;
  standIn.strict = settings.strict;
  standIn.account = {"X", kStandInIban, ""};
  if (!settings.creditorId.empty()) standIn.creditorId = kStandInCreditorId;
  // The payments of further accounts still name one that is there.
  for (const zor::SepaBlockSettings& other : settings.otherBlocks) {
    zor::SepaBlockSettings& block = standIn.otherBlocks.emplace_back();
    block.account = standIn.account;
    if (!other.creditorId.empty()) block.creditorId = kStandInCreditorId;
  }
  return zor::SepaPlan(standIn);
}

// The second pass: the payments group by group, each group one more pass over
// the input.
void WriteDocument(const zor::SepaPlan& plan, const PaymentSource& input,
                   const std::chrono::year_month_day& defaultDate, std::ostream& out) {
  zor::SepaWriter writer(plan, out);
  const zor::SepaKind kind = plan.Settings().kind;
  for (const zor::SepaGroupTotals& group : plan.Groups()) {
    Diagnostics again;
    zor::SepaPayment payment;
    const PaymentSource::Pass pass = input.ForEachAgain(
        0,
        [&](const InputRecord& record) {
          if (ReadSepaPayment(record, kind, defaultDate, payment, again) &&
              payment.group == group.group) {
            writer.Add(payment);
          }
        },
        again);
    if (pass.changed) throw OutputError(input.Name() + ": " + kCsvChangedMessage);
    // The same input, checked the same way: a fault here means the input changed.
    if (!again.Empty()) {
      // The first row: the reading's faults come after the payments' own.
      throw OutputError("Die Buchungen lasen sich beim Schreiben anders als beim Prüfen (" +
                        again.FirstByPlace(1).front()->where + ").");
    }
  }
  writer.Finish();
}

// The settings of the job, then the options'. None when an option is at fault:
// that is reported at once, as a usage fault.
std::optional<SepaEntrySettings> ReadSettings(const WriteOptions& o, const PaymentSource& input,
                                              Diagnostics& checkErrors) {
  const KeyLabel optionLabel = [&o](const std::string& key) { return OptionLabel(o, key); };
  if (std::string conflict = FindSepaConflict(input.Settings(), o.settings, optionLabel);
      !conflict.empty()) {
    throw UsageError(std::move(conflict));
  }
  SepaEntrySettings settings;
  ApplySepaSettings(
      input.Settings(), "Auftrag", [](const std::string& key) { return key; }, settings,
      checkErrors);
  Diagnostics optionErrors;
  ApplySepaSettings(o.settings, "Befehlszeile", optionLabel, settings, optionErrors);
  if (!optionErrors.Empty()) {
    optionErrors.Print(std::cerr, "");
    return std::nullopt;
  }
  settings.library.strict = o.streng;
  if (settings.dateiname.empty()) settings.dateiname = DefaultSepaFileName(settings.library.kind);
  return settings;
}

// The first pass: every payment checked and counted in its group.
void PlanPayments(const PaymentSource& input, const std::chrono::year_month_day& defaultDate,
                  const KeyLabel& label, zor::SepaPlan& plan, CheckedInput& checked) {
  const zor::SepaKind kind = plan.Settings().kind;
  const KeyLabel field = [](const std::string& key) { return key; };
  zor::SepaPayment payment;
  bool creditorIdReported = false;
  const PaymentSource::Pass pass = input.ForEach(
      [&](const InputRecord& record) {
        if (!ReadSepaPayment(record, kind, defaultDate, payment, checked.errors)) return;
        CheckSepaCreditorId(plan.Settings(), payment, label, creditorIdReported, checked.errors);
        const std::size_t warned = plan.WarningCount();
        try {
          plan.Add(payment);
        } catch (const zor::SepaError& e) {
          AddSepaRefusal(e, record.where, false, checked.errors);
        }
        TakeWarnings(plan, warned, record.where, false, field, checked.warnings);
      },
      checked.inputErrors);
  checked.records = pass.records;
  checked.complete = pass.complete;
}

int RunWrite(WriteOptions& o) {
  CheckOptionText(o);
  CheckedInput checked;
  const PaymentSource input(o.job, o.csv, o.delimiter, SepaJobSchema(), SepaCsvColumns(),
                            checked.inputErrors);
  if (!checked.inputErrors.Empty() && !input.HasPayments()) {
    return ReportErrors(checked.inputErrors, input.Name());
  }
  Diagnostics& errors = checked.errors;
  const std::optional<SepaEntrySettings> settings = ReadSettings(o, input, errors);
  if (!settings) return kBadUsage;
  const KeyLabel label = [&o](const std::string& key) {
    return o.settings.count(key) ? OptionLabel(o, key) : key;
  };
  const OutputFiles files =
      PlanOutput(settings->verzeichnis, settings->dateiname, label("dateiname"), o);

  // Apart first: the errors keep only the first by place.
  Diagnostics clientErrors;
  CheckSepaClient(*settings, label, clientErrors);
  const auto faulty = [&](const std::string& key) {
    for (const Diagnostic& d : clientErrors.Items()) {
      if (d.field == label(key)) return true;
    }
    return false;
  };
  const bool ibanFaulty = faulty("auftraggeber.iban");
  const bool bicFaulty = faulty("auftraggeber.bic");
  errors.Append(std::move(clientErrors));
  checked.warnings.KeepAtMost(kKeptWarnings);  // a million warnings cost no memory
  zor::SepaPlan plan =
      OpenPlan(settings->library, ibanFaulty, bicFaulty, label, errors, checked.warnings);
  const std::chrono::year_month_day defaultDate =
      SepaDate(settings->ausfuehrung.value_or(zor::Date()));
  PlanPayments(input, defaultDate, label, plan, checked);
  if (const std::optional<int> ended = ReportChecked(checked, input.Name())) return *ended;

  const bool debits = plan.Settings().kind == zor::SepaKind::DirectDebit;
  const std::string payments = debits ? Counted(plan.Count(), "Lastschrift", "Lastschriften")
                                      : Counted(plan.Count(), "Überweisung", "Überweisungen");
  const WriterRefusal refusal{[&](const zor::SepaError&) {
                                // A payment the plan does not know: most likely the file changed
                                // under the writer.
                                if (input.Changed())
                                  throw OutputError(input.Name() + ": " + kCsvChangedMessage);
                              },
                              [&](const zor::SepaError& e) {
                                return files.target +
                                       " kann nicht geschrieben werden: " + OneLine(e.what());
                              }};
  return DryRunOrCommit(
      o.dryRun, {"Geprüft: " + payments + " ohne Fehler; nichts geschrieben."}, [&] {
        CheckTargetsFree(files, o);
        const std::optional<int> refused = WriteOrReport([&] {
          WriteStaged(
              {files.target}, files.inputs, o.overwrite,
              [&](const std::vector<std::ostream*>& outs) {
                WriteDocument(plan, input, defaultDate, *outs[0]);
              },
              refusal);
        });
        if (refused) return *refused;
        return ReportWritten(
            {files.target + ": " + payments + ", Summe " + GermanAmount(plan.Cents()) + " EUR"});
      });
}

}  // namespace

void AddSepaCommands(CLI::App& app, Action& action) {
  CLI::App* sepa = app.add_subcommand(
      "sepa", "SEPA-Überweisungen und -Lastschriften schreiben, lesen und aus DTAUS umwandeln");
  sepa->require_subcommand(1);

  auto w = std::make_shared<WriteOptions>();
  // A SEPA file has no cover sheet.
  w->noText = true;
  w->noPdf = true;
  CLI::App* write = sepa->add_subcommand(
      "write",
      "SEPA-Datei (pain.001 Überweisungen, pain.008 Lastschriften) aus CSV oder Auftrag (JSON) "
      "schreiben");
  AddInputOptions(*write, *w);
  AddSettingOption(*write, *w, "--name", "auftraggeber.name", "TEXT", "Name des Auftraggebers");
  AddSettingOption(*write, *w, "--iban", "auftraggeber.iban", "IBAN", "IBAN des Auftraggebers");
  AddSettingOption(*write, *w, "--bic", "auftraggeber.bic", "BIC",
                   "BIC des Auftraggebers (kann fehlen)");
  AddSettingFlag(*write, *w, "--lastschriften", "lastschriften", "true",
                 "Lastschriften (pain.008) statt Überweisungen (pain.001)");
  AddSettingOption(*write, *w, "--glaeubiger-id", "glaeubiger_id", "ID",
                   "Gläubiger-Identifikationsnummer (Lastschriften)");
  AddSettingFlag(*write, *w, "--b2b", "lastart", "B2B",
                 "Firmenlastschriften (B2B) statt Basislastschriften (CORE)");
  AddSettingFlag(*write, *w, "--version-alt", "version", "alt",
                 "Ältere Fassung: pain.001.003.03 bzw. pain.008.003.02");
  AddSettingFlag(*write, *w, "--echtzeit", "echtzeit", "true",
                 "Echtzeitüberweisungen (INST, nur aktuelle Fassung)");
  AddSettingFlag(*write, *w, "--einzelbuchung", "sammelbuchung", "false",
                 "Jede Zahlung einzeln auf dem Konto buchen lassen, nicht als Sammelbuchung "
                 "(BtchBookg false)");
  AddSettingOption(*write, *w, "--ausfuehrung", "ausfuehrungsdatum", "DATUM",
                   "Ausführungs- bzw. Fälligkeitsdatum der Zahlungen ohne eigenes Datum, "
                   "JJJJ-MM-TT oder TT.MM.JJJJ (sonst heute)");
  AddSettingOption(*write, *w, "--nachricht-id", "nachricht_id", "ID",
                   "Kennung der Datei (MsgId, bis 35 Zeichen; sonst erzeugt)");
  AddSettingOption(*write, *w, "--dateiname", "dateiname", "NAME",
                   "Name der Datei (sonst sepa-ueberweisungen.xml bzw. sepa-lastschriften.xml)");
  AddSettingOption(*write, *w, "--verzeichnis", "verzeichnis", "VERZEICHNIS",
                   "Verzeichnis der Ausgabe (sonst .)");
  write->add_flag("--dry-run", w->dryRun, "Nur prüfen, nichts schreiben");
  write->add_flag("--overwrite", w->overwrite, "Eine vorhandene Datei ersetzen");
  write->add_flag("--streng", w->streng,
                  "Keinen Text ändern: Texte, die umgeschrieben oder gekürzt würden, sind Fehler");
  write->callback([w, &action] { action = [w] { return RunWrite(*w); }; });
  AddSepaReadCommand(*sepa, action);
  AddSepaConvertCommand(*sepa, action);
}

}  // namespace zcli
