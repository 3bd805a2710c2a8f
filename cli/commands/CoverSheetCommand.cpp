// zordta coversheet: the cover sheet of an existing DTAUS file. The importer
// reads the file; its payments are booked again into a component under the
// file's own name and folder, which then finishes without touching the disk, so
// the sheet is the library's own, with the same figures, file name and
// diskette number as when the file was written.
#include <filesystem>
#include <iostream>
#include <memory>

#include "commands/Commands.h"
#include "commands/WriteSupport.h"
#include "output/DryRunFiles.h"
#include "output/SheetPrinter.h"
#include "output/TextSheet.h"
#include "payments/DtausImport.h"
#include "zordta/ZorDTA.h"
#include "zordta/host/Classes.h"
#include "zordta/host/Text.h"

namespace zcli {

namespace {

namespace fs = std::filesystem;

struct CoverSheetOptions {
  std::string file;
  bool text = false;
  std::string pdf;
  CLI::Option* print = nullptr;
  std::string queue;
  unsigned copies = 1;
};

void Rebook(zor::TZorDTA& dta, const ImportedFile& file) {
  dta.SetAuftraggeberName(zor::Utf8ToAnsi(file.name));
  dta.SetAuftraggeberBLZ(static_cast<std::int32_t>(file.blz));
  dta.SetAuftraggeberKontoNr(file.konto);
  dta.SetLastschriften(file.lastschriften);
  for (const ImportedPayment& p : file.payments) {
    if (p.abbuchung) dta.SetAbbuchungsauftrag(true);
    if (!p.schluessel.empty() && dta.Zahlungsschluessel().empty()) {
      dta.SetZahlungsschluessel(zor::Utf8ToAnsi(p.schluessel));
    }
  }
  dta.setDiskettenErstellDatum(file.dateidatum);
  // The file is what it is: the sheet must count every payment in it, also one
  // another program wrote below today's limits.
  dta.SetValidateData(false);
  dta.Start();
  for (const ImportedPayment& p : file.payments) {
    zor::TStringList lines;
    for (const std::string& line : p.purpose) lines.Add(zor::StringFromUtf8(line));
    dta.Buchung(zor::Utf8ToAnsi(p.name), p.konto, p.blz, static_cast<double>(p.cent) / 100.0,
                lines);
  }
}

int Run(const CoverSheetOptions& o) {
  const std::string bytes = ReadWholeFile(o.file);
  ImportedFile file;
  try {
    file = ImportDtaus(o.file, bytes);
  } catch (const zor::Exception& e) {
    std::cerr << "Fehler: " << o.file << ": " << OneLine(e.what()) << '\n';
    return kBadData;
  }
  // A sheet whose figures the bank will not find in the file does harm.
  std::string error;
  const std::optional<ControlSums> stated = ReadTrailer(bytes, error);
  std::vector<std::string> differences;
  if (!stated) {
    differences.push_back(error);
  } else {
    differences = CompareSums(*stated, file.Sums());
  }
  if (!differences.empty()) {
    for (const std::string& d : differences) {
      std::cerr << "Fehler: " << o.file << ": " << d << '\n';
    }
    std::cerr << "Kein Begleitzettel: der Datensatz E passt nicht zu den Buchungen.\n";
    return kBadData;
  }

  const fs::path path(o.file);
  zor::TZorDTA dta(nullptr);
  dta.SetPath(zor::StringFromUtf8(path.has_parent_path() ? path.parent_path().string() : "."));
  dta.SetDTAFilename(zor::StringFromUtf8(path.filename().string()));
  Rebook(dta, file);

  SheetRequest request;
  request.pdfPath = o.pdf;
  request.print = o.print->count() > 0;
  request.queue = o.queue;
  request.copies = o.copies;
  {
    DryRunFiles noWrite(zor::StringToUtf8(dta.Path() + dta.DTAFilename()));
    SheetPrinter printer(request);
    dta.SetAnzahlBegleitzettel(printer.Copies());
    dta.Finish();
  }
  if (o.text || !request.Any()) std::cout << SheetText(dta.Begleitzettel());
  if (!o.pdf.empty()) std::cerr << "Begleitzettel: " << o.pdf << '\n';
  if (request.print) {
    std::cerr << "Gedruckt: " << request.copies << " Begleitzettel\n";
  }
  return kDone;
}

}  // namespace

void AddCoverSheetCommand(CLI::App& app, Action& action) {
  auto o = std::make_shared<CoverSheetOptions>();
  CLI::App* command = app.add_subcommand(
      "coversheet",
      "Begleitzettel einer vorhandenen DTAUS-Datei: als Text (Standard), als PDF oder gedruckt");
  command->add_option("DATEI", o->file, "Die DTAUS-Datei")->required();
  command->add_flag("--text", o->text, "Den Begleitzettel als Text ausgeben (UTF-8)");
  command->add_option("--pdf", o->pdf, "Den Begleitzettel als PDF schreiben")->type_name("DATEI");
  o->print = command
                 ->add_option("--print", o->queue,
                              "Drucken, auf QUEUE oder der Standard-Warteschlange (--print=QUEUE)")
                 ->expected(0, 1)
                 ->type_name("QUEUE");
  command->add_option("--copies", o->copies, "Anzahl gedruckter Exemplare (1 bis 99)")
      ->check(CLI::Range(1u, 99u).description(""))
      ->type_name("N");
  command->callback([o, &action] { action = [o] { return Run(*o); }; });
}

}  // namespace zcli
