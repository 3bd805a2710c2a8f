// zordta dtazv write
#include <iostream>
#include <memory>

#include "commands/Commands.h"
#include "commands/WriteSupport.h"
#include "payments/Dtazv.h"

namespace zcli {

namespace {

int RunWrite(const WriteOptions& o) {
  CheckOptionText(o);
  Diagnostics errors;
  Diagnostics warnings;
  const Input input = LoadInput(o, DtazvJobSchema(), DtazvCsvColumns(), errors);
  // Without rows there is nothing more to check; with them, every fault is named at once.
  if (!errors.Empty() && input.records.empty()) return ReportErrors(errors, input.source);

  DtazvSettings s;
  ApplyDtazvSettings(
      input.settings, "Auftrag", [](const std::string& key) { return key; }, s, errors);
  Diagnostics optionErrors;
  ApplyDtazvSettings(
      o.settings, "Befehlszeile", [&o](const std::string& key) { return OptionLabel(o, key); }, s,
      optionErrors);
  if (!optionErrors.Empty()) {
    optionErrors.Print(std::cerr, "");
    return kBadUsage;
  }
  const std::vector<DtazvPayment> payments = ParseDtazvPayments(input.records, errors);
  CheckDtazv(s, payments, errors, warnings);
  ReportWarnings(warnings, errors, input.source);
  if (!errors.Empty()) return ReportErrors(errors, input.source);
  if (payments.empty()) {
    std::cerr << "Fehler: Keine Buchungen; nichts geschrieben.\n";
    return kBadData;
  }

  const OutputFiles files = PlanOutput(s.verzeichnis, s.dateiname, o);
  if (o.dryRun) {
    std::cout << "Geprüft: " << payments.size() << " Buchungen ohne Fehler; nichts geschrieben.\n";
    return kDone;
  }
  zor::TZorDTAZV zv(nullptr);
  ConfigureDtazv(zv, s);
  zv.Start(static_cast<std::int32_t>(s.laufendeNummer));
  for (const DtazvPayment& p : payments) BookDtazv(zv, s, p);
  std::string summary = files.target + ": " + std::to_string(zv.AnzahlBuchungen()) +
                        " Auslandszahlungen, Summe " + std::to_string(zv.SummeBetragVorKomma());
  summary += zv.MultiWaehrung() ? " (ganze Einheiten, mehrere Währungen)"
                                : " " + zv.ErsteWaehrung() + " (ganze Einheiten)";
  return FinishRun(
      zv, [&zv] { zv.Finish(); }, [&zv] { return zv.Begleitzettel(); }, files, o, summary);
}

}  // namespace

void AddDtazvCommands(CLI::App& app, Action& action) {
  CLI::App* dtazv = app.add_subcommand("dtazv", "Auslandszahlungen (DTAZV) schreiben");
  dtazv->require_subcommand(1);

  auto w = std::make_shared<WriteOptions>();
  CLI::App* write = dtazv->add_subcommand(
      "write",
      "DTAZV-Datei aus CSV oder Auftrag (JSON) schreiben, mit Begleitzettel als Text und PDF");
  AddInputOptions(*write, *w);
  AddSettingOption(*write, *w, "--name", "auftraggeber.name", "TEXT", "Name des Auftraggebers");
  AddSettingOption(*write, *w, "--name2", "auftraggeber.name2", "TEXT",
                   "Zweite Namenszeile des Auftraggebers");
  AddSettingOption(*write, *w, "--strasse", "auftraggeber.strasse", "TEXT",
                   "Straße des Auftraggebers");
  AddSettingOption(*write, *w, "--ort", "auftraggeber.ort", "TEXT", "Ort des Auftraggebers");
  AddSettingOption(*write, *w, "--blz", "auftraggeber.blz", "BLZ",
                   "Bankleitzahl des Auftraggebers");
  AddSettingOption(*write, *w, "--konto", "auftraggeber.konto", "KONTO",
                   "Kontonummer des Auftraggebers");
  AddSettingOption(*write, *w, "--waehrung", "waehrung", "WÄHRUNG",
                   "Währung des Kontos und der Zahlungen (sonst EUR)");
  AddSettingOption(*write, *w, "--bundesland", "bundeslandschluessel", "NN",
                   "Bundeslandschlüssel (0 bis 99)");
  AddSettingOption(*write, *w, "--firmennummer", "firmennummer", "NUMMER",
                   "Firmennummer (bis 8 Ziffern)");
  AddSettingOption(*write, *w, "--zahlungsart", "zahlungsart", "NN",
                   "Zahlungsartschlüssel (0 bis 99)");
  AddSettingOption(*write, *w, "--lfd-nummer", "laufende_nummer", "NN",
                   "Laufende Nummer der Datei (0 bis 99)");
  AddSettingOption(*write, *w, "--ausfuehrung", "ausfuehrungsdatum", "DATUM",
                   "Ausführungsdatum der Zahlungen ohne eigenes Datum (heute bis heute + 15 Tage)");
  AddSettingOption(*write, *w, "--dateiname", "dateiname", "NAME", "Name der Datei (sonst DTAZV)");
  AddSettingOption(*write, *w, "--verzeichnis", "verzeichnis", "VERZEICHNIS",
                   "Verzeichnis der Ausgabe (sonst .)");
  AddOutputOptions(*write, *w);
  write->callback([w, &action] { action = [w] { return RunWrite(*w); }; });
}

}  // namespace zcli
