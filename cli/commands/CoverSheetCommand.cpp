// zordta coversheet: the cover sheet of an existing DTAUS or DTAZV file. The
// checked reader reads the file; its payments are booked again into a
// component under the file's own name and folder, which then finishes without
// touching the disk, so the sheet is the library's own, with the same figures,
// file name and diskette number as when the file was written.
#include <filesystem>
#include <iostream>
#include <memory>

#include <CLI/CLI.hpp>

#include "commands/Commands.h"
#include "commands/DtazvRebooking.h"
#include "commands/OutputFiles.h"
#include "commands/SepaConvertDtazv.h"
#include "io/EntryNames.h"
#include "output/DryRunFiles.h"
#include "output/LibraryWrites.h"
#include "output/OutputError.h"
#include "output/RecordedSheet.h"
#include "output/StagedFiles.h"
#include "output/TextSheet.h"
#include "payments/CheckedDtaus.h"
#include "zordta/ZorDTA.h"
#include "zordta/ZorDTAZV.h"
#include "zordta/entry/Diagnostics.h"
#include "zordta/entry/MessageText.h"
#include "zordta/host/Classes.h"
#include "zordta/host/SysUtils.h"
#include "zordta/host/Text.h"

namespace zcli {

namespace {

namespace fs = std::filesystem;

struct CoverSheetOptions {
  std::string file;
  bool text = false;
  std::string pdf;
  bool overwrite = false;
  CLI::Option* print = nullptr;
  std::string queue;
  unsigned copies = 1;
};

// Checked before the file is read, so that a refused target costs no work.
// Raises UsageError for a name no run may take; answers false, having said
// why, for one this run may not replace.
bool PdfTargetFree(const CoverSheetOptions& o) {
  CheckNotTemporaryName(fs::path(o.pdf).filename().string(), "--pdf");
  if (SameFileAsAny(o.pdf, {o.file})) {
    throw UsageError("--pdf: " + Quoted(o.pdf) +
                     " ist die Zahlungsdatei selbst; der Begleitzettel braucht eine eigene Datei.");
  }
  const std::string refusal = TargetRefusal(o.pdf, o.overwrite, {o.file});
  if (refusal.empty()) return true;
  std::cerr << "Fehler: " << refusal << " Nichts geschrieben.\n";
  return false;
}

// Why the sheet cannot stand for the file, or nothing.
std::string SheetRefusal(const CheckedDtaus& file) {
  if (file.Files().size() > 1) {
    return "Die Datei enthält " + std::to_string(file.Files().size()) +
           " logische Dateien; ein Begleitzettel gilt genau einer.";
  }
  if (file.AnyDm()) return "Eine DM-Datei; der Begleitzettel nennt Beträge in Euro.";
  return "";
}

// A sheet whose figures the bank will not find in the file does harm. Answers
// false, having said why, for a file no sheet may stand for.
bool FileFitsSheet(const std::string& name, CheckedDtaus& file) {
  try {
    file.Check();
  } catch (const zor::DtausReadError& e) {
    if (e.Fault() != zor::DtausFault::ControlFigures) {
      std::cerr << "Fehler: " << name << ": " << OneLine(e.what()) << '\n';
      return false;
    }
    for (const std::string& fault : e.Details()) {
      std::cerr << "Fehler: " << name << ": " << fault << '\n';
    }
    std::cerr << "Kein Begleitzettel: der Datensatz E passt nicht zu den Buchungen.\n";
    return false;
  } catch (const zor::Exception& e) {
    std::cerr << "Fehler: " << name << ": " << OneLine(e.what()) << '\n';
    return false;
  }
  if (const std::string refusal = SheetRefusal(file); !refusal.empty()) {
    std::cerr << "Fehler: " << name << ": " << refusal << '\n';
    return false;
  }
  return true;
}

// Under the file's own name, folder, client and date, so that the sheet names
// them as the written one did. The records are not kept: the sheet needs only
// the figures, and the file may be the largest the format allows.
void StartRebooking(zor::TZorDTA& dta, zor::ByteSink& records, const std::string& name,
                    const zor::DtausHeader& header) {
  const fs::path path(name);
  dta.SetPath(zor::StringFromUtf8(path.has_parent_path() ? path.parent_path().string() : "."));
  dta.SetDTAFilename(zor::StringFromUtf8(path.filename().string()));
  dta.SetAuftraggeberName(zor::Utf8ToAnsi(header.auftraggeber.name));
  dta.SetAuftraggeberBLZ(static_cast<std::int32_t>(header.auftraggeber.blz));
  dta.SetAuftraggeberKontoNr(header.auftraggeber.konto);
  dta.SetLastschriften(header.lastschriften);
  const auto& d = header.dateidatum;
  dta.setDiskettenErstellDatum(zor::EncodeDate(static_cast<int>(d.year()),
                                               static_cast<int>(static_cast<unsigned>(d.month())),
                                               static_cast<int>(static_cast<unsigned>(d.day()))));
  // The file is what it is: the sheet must count every payment in it, also one
  // another program wrote below today's limits.
  dta.SetValidateData(false);
  dta.SetRecordSink(&records);
  dta.Start();
}

// Answers false, having said why, when the file changed since it was checked
// or a payment was refused: the sheet would then not stand for the file.
bool BookAgain(const std::string& name, const CheckedDtaus& file, zor::TZorDTA& dta) {
  zor::TStringList lines;
  try {
    const bool unchanged = file.ReadAgain([&](std::size_t, const zor::DtausPayment& p) {
      lines.Clear();
      for (const std::string& line : p.verwendungszweck) lines.Add(zor::StringFromUtf8(line));
      dta.SetZahlungsschluessel(zor::Utf8ToAnsi(p.zahlungsschluessel));
      dta.Buchung(zor::Utf8ToAnsi(p.name), p.konto, p.blz, static_cast<double>(p.betrag) / 100.0,
                  lines);
    });
    if (unchanged) return true;
    std::cerr << "Fehler: " << name << ": " << kFileChangedWhileRead << '\n';
  } catch (const zor::Exception& e) {
    std::cerr << "Fehler: " << name << ": " << OneLine(e.what()) << '\n';
  }
  return false;
}

// The rebooked run ends as the written one did, but leaves the file alone. The
// sheet is drawn only when it goes on to a PDF or a printer; otherwise the
// recording is empty.
template <class Component>
zor::TRecordingPrinter::Document FinishRebooking(Component& dta, bool drawSheet) {
  DryRunFiles noWrite(zor::StringToUtf8(dta.Path() + dta.DTAFilename()));
  SheetRecorder recorder;
  dta.SetAnzahlBegleitzettel(drawSheet ? 1 : 0);
  dta.Finish();
  if (dta.AnzahlBegleitzettel() == 0) return {};
  return recorder.Sheet();
}

// Staged, so that a failed rendering leaves neither half a PDF nor an earlier
// one damaged. Answers false, having said why.
bool WritePdf(const CoverSheetOptions& o, const zor::TRecordingPrinter::Document& sheet) {
  try {
    StagedFiles staged(o.overwrite, {o.file});
    staged.Stage(o.pdf);
    {
      const LibraryWritesInto redirect(staged);
      try {
        WritePdfSheet(sheet, o.pdf);
      } catch (const zor::Exception&) {
        if (redirect.Error() != 0) throw CannotWrite(o.pdf, redirect.Error());
        throw;
      }
    }
    staged.Commit();
  } catch (const std::exception& e) {
    std::cerr << "Fehler: " << OneLine(e.what()) << "\nNichts geschrieben.\n";
    return false;
  }
  std::cerr << "Begleitzettel: " << o.pdf << '\n';
  return true;
}

// Last, so that paper never shows a sheet whose PDF could not be written.
// Answers false, having said why.
bool PrintSheet(const CoverSheetOptions& o, const zor::TRecordingPrinter::Document& sheet) {
  try {
    PrintOnQueue(sheet, o.queue, static_cast<std::int32_t>(o.copies));
  } catch (const zor::Exception& e) {
    std::cerr << "Fehler: Der Begleitzettel wurde nicht gedruckt: " << OneLine(e.what()) << '\n';
    return false;
  }
  std::cerr << "Gedruckt: " << o.copies << " Begleitzettel\n";
  return true;
}

// The sheet as text, PDF or on paper, once the component holds the file's payments.
template <class Component>
int Present(const CoverSheetOptions& o, Component& component) {
  const bool print = o.print->count() > 0;
  const zor::TRecordingPrinter::Document sheet =
      FinishRebooking(component, print || !o.pdf.empty());
  if (o.text || (o.pdf.empty() && !print)) std::cout << SheetText(component.Begleitzettel());
  if (!o.pdf.empty() && !WritePdf(o, sheet)) return kBadData;
  // A printer that fails after the PDF was written leaves half the work done.
  if (print && !PrintSheet(o, sheet)) return o.pdf.empty() ? kBadData : kWrittenNotAll;
  return kDone;
}

// A DTAUS file is read twice, so that no payment is held in memory: first to
// check its figures, then to book its payments again. A DTAZV file is checked
// as it is booked: a refusal at its end still leaves no sheet.
int Run(const CoverSheetOptions& o) {
  if (!o.pdf.empty() && !PdfTargetFree(o)) return kBadData;
  if (IsDtazvFile(o.file)) {
    zor::TZorDTAZV zv(nullptr);
    if (!RebookDtazv(o.file, zv)) return kBadData;
    return Present(o, zv);
  }
  CheckedDtaus file(o.file, {});
  if (!FileFitsSheet(o.file, file)) return kBadData;
  zor::DiscardingSink records;
  zor::TZorDTA dta(nullptr);
  StartRebooking(dta, records, o.file, file.Files().front().header);
  if (!BookAgain(o.file, file, dta)) return kBadData;
  return Present(o, dta);
}

}  // namespace

void AddCoverSheetCommand(CLI::App& app, Action& action) {
  auto o = std::make_shared<CoverSheetOptions>();
  CLI::App* command = app.add_subcommand(
      "coversheet",
      "Begleitzettel einer vorhandenen DTAUS- oder DTAZV-Datei: als Text (Standard), als PDF oder "
      "gedruckt");
  command->add_option("DATEI", o->file, "Die DTAUS- oder DTAZV-Datei")->required();
  command->add_flag("--text", o->text, "Den Begleitzettel als Text ausgeben (UTF-8)");
  command->add_option("--pdf", o->pdf, "Den Begleitzettel als PDF schreiben")->type_name("DATEI");
  command->add_flag("--overwrite", o->overwrite, "Eine vorhandene PDF-Datei ersetzen");
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
