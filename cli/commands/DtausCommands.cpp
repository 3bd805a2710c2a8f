// zordta dtaus write | read
#include <iostream>
#include <memory>

#include <CLI/CLI.hpp>

#include "commands/Commands.h"
#include "commands/WriteFile.h"
#include "io/FileBytes.h"
#include "io/MessageText.h"
#include "io/Values.h"
#include "output/PaymentListing.h"
#include "payments/Dtaus.h"
#include "payments/DtausDirection.h"
#include "payments/DtausImport.h"
#include "payments/VerifiedDtaus.h"

namespace zcli {

namespace {

struct ReadOptions {
  std::string file;
  std::string format = "json";
  bool verify = false;
};

// The kind the file has, from record A (positions 6 and 7), whatever the
// settings suggested.
std::string Summary(DtausRun& run, const std::string& target, std::uint64_t start) {
  const zor::TZorDTA& dta = run.Component();
  const auto count = static_cast<std::size_t>(dta.AnzahlBuchungen());
  std::string kind;
  try {
    const std::string head = ReadFileAt(target, start, 7);
    if (head.size() == 7) kind = head.substr(5);
  } catch (const zor::Exception&) {
    // written, but not to be read back: the neutral word is still true
  }
  const std::string payments = kind == "LK"   ? Counted(count, "Lastschrift", "Lastschriften")
                               : kind == "GK" ? Counted(count, "Gutschrift", "Gutschriften")
                                              : Counted(count, "Buchung", "Buchungen");
  return payments + ", Summe " + GermanAmount(dta.SummeBetragCent()) + " EUR";
}

void CheckDirection(const std::map<std::string, std::string>& job,
                    const std::map<std::string, std::string>& options,
                    const KeyLabel& optionLabel) {
  const std::string conflict = FindDirectionConflict(job, options, optionLabel);
  if (!conflict.empty()) throw UsageError(conflict);
}

int RunWrite(const WriteOptions& o) {
  const WriteKind<DtausRun> kind{DtausJobSchema(),
                                 DtausCsvColumns(),
                                 ApplyDtausSettings,
                                 [](const DtausSettings& s) { return s.zentralbank; },
                                 Summary,
                                 CheckDirection};
  return WriteFile(o, kind);
}

// Prints the payments as the importer reads them again; false when the file
// changed since it was counted.
bool PrintPayments(const ReadOptions& r, const VerifiedDtaus& file) {
  if (r.format == "csv") {
    CsvListing listing(std::cout, file.Summary());
    return file.ImportAgain([&listing](const ImportedPayment& p) { listing.Add(p); });
  }
  JsonListing listing(std::cout, r.file, file.Client(), file.Summary());
  const bool unchanged = file.ImportAgain([&listing](const ImportedPayment& p) { listing.Add(p); });
  listing.Close();
  return unchanged;
}

// The file is read twice, so that no payment is held in memory: first for what
// the output names before the payments, then to print them.
int RunRead(const ReadOptions& r) {
  VerifiedDtaus file(r.file);
  try {
    file.Import();
    if (!PrintPayments(r, file)) {
      std::cerr << "Fehler: " << r.file << ": " << kFileChangedWhileRead << '\n';
      return kBadData;
    }
  } catch (const zor::Exception& e) {
    std::cout.flush();
    std::cerr << "Fehler: " << r.file << ": " << OneLine(e.what()) << '\n';
    return kBadData;
  }
  if (!r.verify) return kDone;

  const std::vector<std::string> faults = file.TrailerFaults();
  for (const std::string& fault : faults) {
    std::cerr << "Prüfung fehlgeschlagen: " << r.file << ": " << fault << '\n';
  }
  if (!faults.empty()) return kBadData;
  std::cerr << "Geprüft: " << r.file << ": Datensatz E stimmt mit "
            << Counted(static_cast<std::size_t>(file.Summary().sums.count), "Buchung", "Buchungen")
            << " überein.\n";
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
  AddSettingFlag(*write, *w, "--gutschriften", "gutschriften", "true",
                 "Gutschriften (Überweisungen); widerspricht der Auftrag, ist das ein Fehler");
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
