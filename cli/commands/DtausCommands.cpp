// zordta dtaus write | read
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "commands/Commands.h"
#include "commands/WriteSupport.h"
#include "io/Values.h"
#include "payments/Dtaus.h"
#include "payments/DtausImport.h"

namespace zcli {

namespace {

struct ReadOptions {
  std::string file;
  std::string format = "json";
  bool verify = false;
};

std::string Summary(DtausRun& run, const std::string& target) {
  const zor::TZorDTA& dta = run.Component();
  return target + ": " + std::to_string(dta.AnzahlBuchungen()) +
         (dta.Lastschriften() ? " Lastschriften" : " Gutschriften") + ", Summe " +
         GermanAmount(dta.SummeBetragCent()) + " EUR";
}

int RunWrite(const WriteOptions& o) {
  const WriteKind<DtausRun> kind{DtausJobSchema(), DtausCsvColumns(), ApplyDtausSettings,
                                 [](const DtausSettings& s) { return s.zentralbank; }, Summary};
  return WriteFile(o, kind);
}

nlohmann::ordered_json ToJson(const ImportedFile& file, const std::string& path) {
  using json = nlohmann::ordered_json;
  json payments = json::array();
  bool abbuchung = false;
  std::string schluessel;
  for (const ImportedPayment& p : file.payments) {
    payments.push_back({{"name", p.name},
                        {"konto", p.konto},
                        {"blz", p.blz},
                        {"betrag", static_cast<double>(p.cent) / 100.0},
                        {"verwendungszweck", p.purpose}});
    abbuchung = abbuchung || p.abbuchung;
    if (schluessel.empty()) schluessel = p.schluessel;
  }
  // The same shape as a job file, so a file read back can be written again.
  json out = {{"art", "dtaus"},
              {"datei", path},
              {"auftraggeber", {{"name", file.name}, {"blz", file.blz}, {"konto", file.konto}}},
              {"lastschriften", file.lastschriften},
              {"abbuchung", abbuchung},
              {"dateidatum", FormatIsoDate(file.dateidatum)}};
  if (file.ausfuehrung) out["ausfuehrungsdatum"] = FormatIsoDate(*file.ausfuehrung);
  if (!schluessel.empty()) out["zahlungsschluessel"] = schluessel;
  const ControlSums sums = file.Sums();
  out["summen"] = {{"anzahl", sums.count},
                   {"betrag", static_cast<double>(sums.cent) / 100.0},
                   {"kontonummern", sums.konto},
                   {"bankleitzahlen", sums.blz}};
  out["buchungen"] = std::move(payments);
  return out;
}

std::string CsvCell(const std::string& text) {
  const bool plain = text.find_first_of(",\";\r\n") == std::string::npos &&
                     (text.empty() || (text.front() != ' ' && text.back() != ' '));
  if (plain) return text;
  std::string quoted = "\"";
  for (char c : text) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted + "\"";
}

void WriteCsv(const ImportedFile& file, std::ostream& out) {
  std::size_t lines = 1;
  for (const ImportedPayment& p : file.payments) lines = std::max(lines, p.purpose.size());
  out << "name,konto,blz,betrag";
  for (std::size_t i = 1; i <= lines; ++i) out << ",verwendungszweck" << i;
  out << "\r\n";
  for (const ImportedPayment& p : file.payments) {
    out << CsvCell(p.name) << ',' << p.konto << ',' << p.blz << ',' << FormatCent(p.cent);
    for (std::size_t i = 0; i < lines; ++i) {
      out << ',' << (i < p.purpose.size() ? CsvCell(p.purpose[i]) : std::string());
    }
    out << "\r\n";
  }
}

int RunRead(const ReadOptions& r) {
  const std::string bytes = ReadWholeFile(r.file);
  ImportedFile file;
  try {
    file = ImportDtaus(r.file, bytes);
  } catch (const zor::Exception& e) {
    std::cerr << "Fehler: " << r.file << ": " << OneLine(e.what()) << '\n';
    return kBadData;
  }
  if (r.format == "csv") {
    WriteCsv(file, std::cout);
  } else {
    std::cout << ToJson(file, r.file).dump(2, ' ', false) << '\n';
  }
  if (!r.verify) return kDone;

  std::string error;
  const std::optional<ControlSums> stated = ReadTrailer(bytes, error);
  if (!stated) {
    std::cerr << "Prüfung fehlgeschlagen: " << r.file << ": " << error << '\n';
    return kBadData;
  }
  const std::vector<std::string> differences = CompareSums(*stated, file.Sums());
  for (const std::string& d : differences) {
    std::cerr << "Prüfung fehlgeschlagen: " << r.file << ": " << d << '\n';
  }
  if (!differences.empty()) return kBadData;
  std::cerr << "Geprüft: " << r.file << ": Datensatz E stimmt mit " << file.payments.size()
            << " Buchungen überein.\n";
  return kDone;
}

}  // namespace

void AddDtausCommands(CLI::App& app, Action& action) {
  CLI::App* dtaus = app.add_subcommand("dtaus", "Inlandszahlungen (DTAUS) schreiben und lesen");
  dtaus->require_subcommand(1);

  auto w = std::make_shared<WriteOptions>();
  CLI::App* write = dtaus->add_subcommand(
      "write",
      "DTAUS-Datei aus CSV oder Auftrag (JSON) schreiben, mit Begleitzettel als Text und PDF");
  AddInputOptions(*write, *w);
  AddSettingOption(*write, *w, "--name", "auftraggeber.name", "TEXT", "Name des Auftraggebers");
  AddSettingOption(*write, *w, "--blz", "auftraggeber.blz", "BLZ",
                   "Bankleitzahl des Auftraggebers");
  AddSettingOption(*write, *w, "--konto", "auftraggeber.konto", "KONTO",
                   "Kontonummer des Auftraggebers");
  AddSettingFlag(*write, *w, "--lastschriften", "lastschriften", "true",
                 "Lastschriften statt Gutschriften");
  AddSettingFlag(*write, *w, "--gutschriften", "lastschriften", "false",
                 "Gutschriften (Überweisungen), auch gegen den Auftrag");
  AddSettingFlag(*write, *w, "--abbuchung", "abbuchung", "true",
                 "Lastschriften im Abbuchungsauftragsverfahren");
  AddSettingOption(*write, *w, "--schluessel", "zahlungsschluessel", "NNNNN",
                   "Eigener Zahlungsschlüssel, fünf Ziffern (z.B. 53000 für Lohn und Gehalt)");
  AddSettingOption(*write, *w, "--ausfuehrung", "ausfuehrungsdatum", "DATUM",
                   "Ausführungsdatum, JJJJ-MM-TT oder TT.MM.JJJJ (heute bis heute + 15 Tage)");
  AddSettingOption(*write, *w, "--dateidatum", "dateidatum", "DATUM",
                   "Erstellungsdatum der Datei (sonst heute)");
  AddSettingFlag(*write, *w, "--zentralbank", "zentralbank", "true",
                 "Disketten fortlaufend nummerieren (Zähler unter $XDG_CONFIG_HOME)");
  AddSettingOption(*write, *w, "--dateiname", "dateiname", "NAME",
                   "Name der Datei (sonst DTAUS0.TXT)");
  AddSettingOption(*write, *w, "--verzeichnis", "verzeichnis", "VERZEICHNIS",
                   "Verzeichnis der Ausgabe (sonst .)");
  AddOutputOptions(*write, *w);
  write->callback([w, &action] { action = [w] { return RunWrite(*w); }; });

  auto r = std::make_shared<ReadOptions>();
  CLI::App* read = dtaus->add_subcommand(
      "read", "DTAUS-Datei lesen: Auftraggeber und Buchungen als JSON oder CSV");
  read->add_option("DATEI", r->file, "Die DTAUS-Datei")->required();
  read->add_option("--format", r->format,
                   "Ausgabe als json (mit Auftraggeber) oder csv (nur Buchungen)")
      ->check(CLI::IsMember({"json", "csv"}));
  read->add_flag(
      "--verify", r->verify,
      "Auch den Datensatz E lesen und mit den Buchungen vergleichen (Exit-Code 1 bei Abweichung)");
  read->callback([r, &action] { action = [r] { return RunRead(*r); }; });
}

}  // namespace zcli
