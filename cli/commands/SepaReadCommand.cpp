// zordta sepa read
#include <iostream>
#include <memory>
#include <optional>

#include <CLI/CLI.hpp>

#include "commands/Commands.h"
#include "io/EntryNames.h"
#include "output/SepaCsvExtras.h"
#include "output/SepaListing.h"
#include "payments/CheckedSepa.h"
#include "zordta/entry/Diagnostics.h"
#include "zordta/entry/MessageText.h"

namespace zcli {

namespace {

struct SepaReadOptions {
  std::string file;
  std::string format = "json";
};

std::string Verified(const CheckedSepa& file) {
  const bool debits = file.Document().kind == zor::SepaKind::DirectDebit;
  const std::size_t count = file.Document().count;
  return (debits ? Counted(count, "Lastschrift", "Lastschriften")
                 : Counted(count, "Überweisung", "Überweisungen")) +
         " in " + Counted(file.Blocks().size(), "Zahlungsblock", "Zahlungsblöcken") + ", Summe " +
         GermanAmount(file.Document().cents) + " EUR; Anzahl und Kontrollsummen stimmen.";
}

// The file is read once; what is printed of its payments waits in a spool
// until the reading has ended without a refusal, so a refused file prints nothing.
int RunRead(const SepaReadOptions& r) {
  CheckedSepa file(r.file);
  const bool csv = r.format == "csv";
  std::optional<SepaJsonListing> json;
  std::optional<SepaCsvListing> table;
  SepaJsonOnly paymentsOnly;  // named after what the blocks hold
  try {
    file.Read(
        [&](const zor::SepaDocument& document) {
          const bool debits = document.kind == zor::SepaKind::DirectDebit;
          if (csv) {
            table.emplace(debits);
          } else {
            json.emplace(debits);
          }
        },
        [&](const zor::SepaPayment& p) {
          if (csv) {
            table->Add(p);
            paymentsOnly.Note(p);
          } else {
            json->Add(p);
          }
        });
  } catch (const zor::Exception& e) {
    std::cerr << "Fehler: " << r.file << ": " << OneLine(e.what()) << '\n';
    return kBadData;
  }
  if (csv) {
    table->Print(std::cout);
    SepaJsonOnly jsonOnly;
    for (const zor::SepaBlock& block : file.Blocks()) jsonOnly.Note(file.Document(), block);
    jsonOnly.Note(paymentsOnly);
    if (!jsonOnly.Text().empty()) {
      std::cerr << "Hinweis: " << r.file << ": " << jsonOnly.Text() << '\n';
    }
  } else {
    json->Print(std::cout, r.file, file);
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
