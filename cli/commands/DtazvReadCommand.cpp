// zordta dtazv read
#include <iostream>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include <CLI/CLI.hpp>

#include "commands/Commands.h"
#include "io/EntryNames.h"
#include "io/FileBytes.h"
#include "output/DtazvListing.h"
#include "zordta/DtazvReader.h"
#include "zordta/entry/Diagnostics.h"
#include "zordta/entry/MessageText.h"

namespace zcli {

namespace {

struct DtazvReadOptions {
  std::string file;
  std::string format = "json";
  bool tolerant = false;
};

std::string Place(const zor::DtazvPlace& place) {
  return "Datensatz " + std::to_string(place.record) + ", Byte " + std::to_string(place.offset);
}

// The file read once: each payment, with the reports that follow it, goes to
// the listing as soon as it is whole.
class DtazvRead {
 public:
  explicit DtazvRead(const DtazvReadOptions& r) : fOptions(r) {
    if (r.format == "csv") {
      fCsv.emplace();
    } else {
      fJson.emplace();
    }
  }

  // Raises zor::DtazvReadError for a refused file, zor::Exception when it cannot be read.
  void Run(zor::DtazvReader& reader) {
    zor::ReadDtazvPayments(
        reader, [](const zor::DtazvHeader&) {},
        [&](const zor::DtazvPayment& p, std::span<const zor::DtazvReport> reports) {
          if (!fSettings) fSettings = DtazvFileSettings::Of(reader.Header(), p);
          Take(p, reports);
        });
  }

  // Empty, or why the CSV would lose part of a payment.
  const std::string& CsvRefusal() const { return fCsvRefusal; }

  void Print(const zor::DtazvReader& reader) {
    if (fCsv) {
      fCsv->Print(std::cout);
    } else {
      fJson->Print(std::cout, fOptions.file, reader.Header(), fSettings, reader.Trailer());
    }
  }

 private:
  void Take(const zor::DtazvPayment& p, std::span<const zor::DtazvReport> reports) {
    if (fJson) {
      fJson->Add(p, reports, *fSettings);
      return;
    }
    const std::vector<const char*> extras = DtazvExtraKeys(p, reports, *fSettings);
    if (!extras.empty() && fCsvRefusal.empty()) {
      fCsvRefusal = Place(p.place) + ": Die Buchung hat " + DtazvExtrasInWords(extras) +
                    "; das CSV hat dafür keine Spalte. Ohne --format csv (als JSON) geht nichts "
                    "verloren.";
    }
    fCsv->Add(p, *fSettings);
  }

  const DtazvReadOptions& fOptions;
  std::optional<DtazvJsonListing> fJson;
  std::optional<DtazvCsvListing> fCsv;
  std::optional<DtazvFileSettings> fSettings;
  std::string fCsvRefusal;
};

void PrintNotes(const std::string& path, const std::vector<zor::DtazvNote>& notes) {
  for (const zor::DtazvNote& note : notes) {
    std::cerr << "Hinweis: " << path << ": " << Place(note.place) << ": " << OneLine(note.text)
              << '\n';
  }
}

// The file is read once; its listing waits in a spool until the reading has
// ended without a refusal, so a refused file prints nothing.
int RunRead(const DtazvReadOptions& r) {
  DtazvRead read(r);
  std::optional<SummedFileBuffer> buffer;
  std::optional<std::istream> in;
  std::optional<zor::DtazvReader> reader;
  try {
    buffer.emplace(r.file, true);
    in.emplace(&*buffer);
    reader.emplace(*in, zor::DtazvReadOptions{.tolerant = r.tolerant});
    read.Run(*reader);
  } catch (const zor::DtazvReadError& e) {
    if (reader) PrintNotes(r.file, reader->Notes());
    const bool tolerable =
        e.Fault() == zor::DtazvFault::Text || e.Fault() == zor::DtazvFault::LineBreaks;
    std::string text = OneLine(e.what());
    if (tolerable && !r.tolerant) {
      if (text.ends_with('.')) text.pop_back();
      text += "; versuchen Sie --tolerant.";
    }
    std::cerr << "Fehler: " << r.file << ": " << text << '\n';
    return kBadData;
  } catch (const zor::Exception& e) {
    std::cerr << "Fehler: " << r.file << ": " << OneLine(e.what()) << '\n';
    return kBadData;
  }
  PrintNotes(r.file, reader->Notes());
  if (!read.CsvRefusal().empty()) {
    std::cerr << "Fehler: " << r.file << ": " << read.CsvRefusal() << '\n';
    return kBadData;
  }
  read.Print(*reader);
  const zor::DtazvTotals& totals = reader->Trailer().counted;
  std::cerr << "Geprüft: " << r.file << ": Datensatz Z stimmt mit "
            << Counted(static_cast<std::size_t>(totals.anzahl), "Auslandszahlung",
                       "Auslandszahlungen")
            << " überein (Summe " << totals.summeVorKomma << " ganze Einheiten).\n";
  return kDone;
}

}  // namespace

void AddDtazvReadCommand(CLI::App& dtazv, Action& action) {
  auto r = std::make_shared<DtazvReadOptions>();
  CLI::App* read = dtazv.add_subcommand(
      "read",
      "DTAZV-Datei lesen und prüfen: Auftraggeber und Zahlungen als JSON (ein Auftrag für "
      "dtazv write) oder CSV");
  read->add_option("DATEI", r->file, "Die DTAZV-Datei (- für die Standardeingabe)")->required();
  read->add_option("--format", r->format,
                   "Ausgabe als json (mit Auftraggeber) oder csv (nur Zahlungen)")
      ->check(CLI::IsMember({"json", "csv"}));
  read->add_flag("--tolerant", r->tolerant,
                 "Beschädigte Archive lesen: Zeilenumbrüche zwischen den Datensätzen und "
                 "Kleinbuchstaben, jede Abweichung als Hinweis");
  read->callback([r, &action] { action = [r] { return RunRead(*r); }; });
}

}  // namespace zcli
