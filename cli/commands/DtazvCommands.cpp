// zordta dtazv write
#include <iostream>
#include <memory>

#include <CLI/CLI.hpp>

#include "commands/Commands.h"
#include "commands/WriteFile.h"
#include "io/EntryNames.h"
#include "zordta/entry/Dtazv.h"
#include "zordta/entry/MessageText.h"

namespace zcli {

namespace {

std::string Summary(DtazvRun& run, const std::string& /*target*/, std::uint64_t /*start*/) {
  const zor::TZorDTAZV& zv = run.Component();
  std::string summary = Counted(static_cast<std::size_t>(zv.AnzahlBuchungen()), "Auslandszahlung",
                                "Auslandszahlungen") +
                        ", Summe " + std::to_string(zv.SummeBetragVorKomma());
  summary += zv.MultiWaehrung() ? " (ganze Einheiten, mehrere Währungen)"
                                : " " + zv.ErsteWaehrung() + " (ganze Einheiten)";
  return summary;
}

int RunWrite(const WriteOptions& o) {
  // Nothing is used up by opening a run: the laufende Nummer is given, not counted.
  const WriteKind<DtazvRun> kind{DtazvJobSchema(),
                                 DtazvCsvColumns(),
                                 ApplyDtazvSettings,
                                 [](const DtazvSettings&) { return false; },
                                 Summary,
                                 nullptr};
  return WriteFile(o, kind);
}

}  // namespace

void AddDtazvCommands(CLI::App& app, Action& action) {
  CLI::App* dtazv = app.add_subcommand("dtazv", "Auslandszahlungen (DTAZV) schreiben und lesen");
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
  AddDtazvReadCommand(*dtazv, action);
}

}  // namespace zcli
