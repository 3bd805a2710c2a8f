#include "commands/WriteSupport.h"

#include <filesystem>
#include <iostream>

#include "commands/Commands.h"
#include "io/Utf8Check.h"
#include "io/Values.h"
#include "output/TextSheet.h"
#include "payments/Settings.h"
#include "zordta/host/Exception.h"
#include "zordta/host/Text.h"

namespace zcli {

namespace fs = std::filesystem;

void AddInputOptions(CLI::App& command, WriteOptions& o) {
  command
      .add_option("--job", o.job,
                  "Auftrag als JSON: Auftraggeber, Einstellungen und (ohne --csv) die Buchungen")
      ->type_name("DATEI");
  command.add_option("--csv", o.csv, "Buchungen als CSV (UTF-8, Kopfzeile mit Spaltennamen)")
      ->type_name("DATEI");
  command
      .add_option("--delimiter", o.delimiter,
                  "Trennzeichen der CSV: , ; oder tab (sonst aus der Kopfzeile erkannt)")
      ->type_name("ZEICHEN");
}

void AddSettingOption(CLI::App& command, WriteOptions& o, const std::string& names,
                      const std::string& key, const std::string& typeName,
                      const std::string& help) {
  CLI::Option* option = command.add_option_function<std::string>(
      names, [&o, key](const std::string& value) { o.settings[key] = value; }, help);
  option->type_name(typeName);
  o.optionNames[key] = option->get_name();
}

void AddSettingFlag(CLI::App& command, WriteOptions& o, const std::string& names,
                    const std::string& key, const std::string& value, const std::string& help) {
  CLI::Option* option = command.add_flag_callback(
      names, [&o, key, value] { o.settings[key] = value; }, help);
  o.optionNames[key] = option->get_name();
}

void AddOutputOptions(CLI::App& command, WriteOptions& o) {
  command.add_flag("--no-text", o.noText, "Keinen Begleitzettel als Text schreiben");
  command.add_flag("--no-pdf", o.noPdf, "Keinen Begleitzettel als PDF schreiben");
  command.add_flag("--dry-run", o.dryRun, "Nur prüfen, nichts schreiben");
  command.add_flag("--overwrite", o.overwrite, "Eine vorhandene Datei ersetzen");
  command.add_flag("--streng", o.streng,
                   "Keinen Text ändern: Namen und Zeilen, die gekürzt würden oder Zeichen "
                   "verlören, sind Fehler");
  o.print = command
                .add_option("--print", o.queue,
                            "Begleitzettel drucken, auf der Warteschlange QUEUE oder der "
                            "Standard-Warteschlange (--print=QUEUE)")
                ->expected(0, 1)
                ->type_name("QUEUE");
  command.add_option("--copies", o.copies, "Anzahl gedruckter Begleitzettel (1 bis 99)")
      ->check(CLI::Range(1u, 99u).description(""))
      ->type_name("N");
}

std::string OptionLabel(const WriteOptions& o, const std::string& key) {
  const auto it = o.optionNames.find(key);
  return it == o.optionNames.end() ? key : it->second;
}

OutputFiles PlanOutput(const std::string& folder, const std::string& fileName,
                       const WriteOptions& o) {
  OutputFiles files;
  const fs::path target = fs::path(folder.empty() ? "." : folder) / fileName;
  files.target = target.string();
  if (!o.noText) files.textSheet = files.target + ".begleitzettel.txt";
  if (!o.noPdf) files.pdfSheet = files.target + ".begleitzettel.pdf";
  if (o.dryRun) return files;

  std::error_code error;
  if (fs::exists(target, error) && !o.overwrite) {
    throw zor::Exception(zor::StringFromUtf8("Die Datei " + files.target +
                                             " gibt es schon; --overwrite ersetzt sie."));
  }
  fs::create_directories(target.parent_path().empty() ? fs::path(".") : target.parent_path(),
                         error);
  if (error) {
    throw zor::Exception(zor::StringFromUtf8("Das Verzeichnis " + folder +
                                             " kann nicht angelegt werden: " + error.message()));
  }
  return files;
}

int FinishRun(zor::TZorBaseDTA& component, const std::function<void()>& finish,
              const std::function<zor::String()>& begleitzettel, const OutputFiles& files,
              const WriteOptions& o, const std::function<std::string()>& summary) {
  SheetRequest request;
  request.pdfPath = files.pdfSheet;
  request.print = o.print->count() > 0;
  request.queue = o.queue;
  request.copies = o.copies;

  std::string sheetError;
  {
    SheetPrinter printer(request);
    component.SetAnzahlBegleitzettel(printer.Copies());
    try {
      finish();
    } catch (const zor::Exception& e) {
      // Finish prints last: a run that is closed has its file written.
      if (component.State() != zor::stReady) {
        std::cerr << "Fehler: " << files.target << " wurde nicht geschrieben: " << e.what() << '\n';
        return kBadData;
      }
      sheetError = e.what();
    }
  }
  if (!files.textSheet.empty()) {
    try {
      WriteTextSheet(files.textSheet, begleitzettel());
    } catch (const zor::Exception& e) {
      sheetError += (sheetError.empty() ? "" : " ") + std::string(e.what());
    }
  }

  std::cout << summary() << '\n';
  if (sheetError.empty()) {
    if (!files.textSheet.empty()) std::cout << "Begleitzettel: " << files.textSheet << '\n';
    if (!files.pdfSheet.empty()) std::cout << "Begleitzettel: " << files.pdfSheet << '\n';
    if (request.print) {
      std::cout << "Gedruckt: " << request.copies << " Begleitzettel auf "
                << (request.queue.empty() ? std::string("der Standard-Warteschlange")
                                          : Quoted(request.queue))
                << '\n';
    }
    return kDone;
  }
  std::cerr << "Fehler: " << files.target
            << " wurde geschrieben, der Begleitzettel aber nicht vollständig: " << sheetError
            << '\n';
  return kBadData;
}

std::string GermanAmount(std::int64_t cent) {
  std::string text = FormatCent(cent);
  text[text.size() - 3] = ',';
  return text;
}

}  // namespace zcli
