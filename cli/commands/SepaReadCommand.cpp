// zordta sepa read
#include <iostream>
#include <memory>

#include <CLI/CLI.hpp>

#include "commands/Commands.h"
#include "io/EntryNames.h"
#include "output/SepaCsvExtras.h"
#include "output/SepaListing.h"
#include "payments/CheckedDtaus.h"
#include "payments/CheckedSepa.h"
#include "zordta/entry/Diagnostics.h"
#include "zordta/entry/MessageText.h"

namespace zcli {

namespace {

struct SepaReadOptions {
  std::string file;
  std::string format = "json";
};

bool PrintPayments(const SepaReadOptions& r, const CheckedSepa& file) {
  if (r.format == "csv") {
    SepaCsvListing listing(std::cout, file);
    SepaJsonOnly jsonOnly;
    for (const zor::SepaBlock& block : file.Blocks()) jsonOnly.Note(file.Document(), block);
    const bool unchanged = file.ReadAgain([&](const zor::SepaPayment& p) {
      listing.Add(p);
      jsonOnly.Note(p);
    });
    if (unchanged && !jsonOnly.Text().empty()) {
      std::cerr << "Hinweis: " << r.file << ": " << jsonOnly.Text() << '\n';
    }
    return unchanged;
  }
  SepaJsonListing listing(std::cout, r.file, file);
  const bool unchanged = file.ReadAgain([&](const zor::SepaPayment& p) { listing.Add(p); });
  listing.Close();
  return unchanged;
}

std::string Verified(const CheckedSepa& file) {
  const bool debits = file.Document().kind == zor::SepaKind::DirectDebit;
  const std::size_t count = file.Document().count;
  return (debits ? Counted(count, "Lastschrift", "Lastschriften")
                 : Counted(count, "Überweisung", "Überweisungen")) +
         " in " + Counted(file.Blocks().size(), "Zahlungsblock", "Zahlungsblöcken") + ", Summe " +
         GermanAmount(file.Document().cents) + " EUR; Anzahl und Kontrollsummen stimmen.";
}

// The file is read twice, so that no payment is held in memory: first whole,
// so that a refused file prints nothing, then to print its payments.
int RunRead(const SepaReadOptions& r) {
  CheckedSepa file(r.file);
  try {
    file.Check();
  } catch (const zor::Exception& e) {
    std::cerr << "Fehler: " << r.file << ": " << OneLine(e.what()) << '\n';
    return kBadData;
  }
  try {
    if (!PrintPayments(r, file)) {
      std::cerr << "Fehler: " << r.file << ": " << kFileChangedWhileRead << '\n';
      return kBadData;
    }
  } catch (const zor::Exception& e) {
    std::cout.flush();
    std::cerr << "Fehler: " << r.file << ": " << OneLine(e.what()) << '\n';
    return kBadData;
  }
  std::cerr << "Geprüft: " << r.file << ": " << Verified(file) << '\n';
  return kDone;
}

}  // namespace

void AddSepaReadCommand(CLI::App& sepa, Action& action) {
  auto r = std::make_shared<SepaReadOptions>();
  CLI::App* read = sepa.add_subcommand(
      "read",
      "SEPA-Datei lesen und prüfen: Einstellungen und Zahlungen als JSON (ein Auftrag für "
      "sepa write) oder CSV");
  read->add_option("DATEI", r->file, "Die SEPA-Datei (- für die Standardeingabe)")->required();
  read->add_option("--format", r->format,
                   "Ausgabe als json (mit Einstellungen) oder csv (nur Zahlungen)")
      ->check(CLI::IsMember({"json", "csv"}));
  read->callback([r, &action] { action = [r] { return RunRead(*r); }; });
}

}  // namespace zcli
