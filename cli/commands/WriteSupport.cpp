#include "commands/WriteSupport.h"

#include <filesystem>
#include <iostream>
#include <optional>

#include "commands/Commands.h"
#include "io/Values.h"
#include "output/LibraryWrites.h"
#include "output/RecordedSheet.h"
#include "output/StagedFiles.h"
#include "output/StandardOutput.h"
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

namespace {

// As the component joins them: SetPath ignores an empty folder and adds the delimiter.
std::string TargetPath(const std::string& folder, const std::string& fileName) {
  if (folder.empty()) return fileName;
  return folder.back() == '/' ? folder + fileName : folder + "/" + fileName;
}

void CreateFolderOf(const std::string& target) {
  const std::string folder = FolderOfPath(target);
  std::error_code error;
  fs::create_directories(folder, error);
  if (error) {
    throw OutputError("Das Verzeichnis " + folder +
                      " kann nicht angelegt werden: " + error.message());
  }
}

// A file that was never committed must not use up a diskette number.
void GiveBackDisketteNumber(zor::TZorBaseDTA& component) {
  auto* dta = dynamic_cast<zor::TZorDTA*>(&component);
  if (!dta) return;
  try {
    dta->GiveBackDiskettenNummer();
  } catch (const zor::Exception& e) {
    std::cerr << "Warnung: Die Diskettennummer konnte nicht zurückgegeben werden: "
              << OneLine(e.what()) << '\n';
  }
}

}  // namespace

OutputFiles PlanOutput(const std::string& folder, const std::string& fileName,
                       const std::string& fileNameLabel, const WriteOptions& o) {
  // A name with a folder in it would write where --verzeichnis does not say.
  if (fileName.empty() || fileName == "." || fileName == ".." ||
      fileName.find('/') != std::string::npos) {
    throw UsageError(fileNameLabel + ": " + Quoted(fileName) +
                     " ist kein Dateiname (ohne Verzeichnis; das Verzeichnis gibt --verzeichnis "
                     "an).");
  }
  OutputFiles files;
  files.target = TargetPath(folder, fileName);
  if (!o.noText) files.textSheet = files.target + ".begleitzettel.txt";
  if (!o.noPdf) files.pdfSheet = files.target + ".begleitzettel.pdf";
  for (const std::string* input : {&o.csv, &o.job}) {
    if (!input->empty() && *input != "-") files.inputs.push_back(*input);
  }
  return files;
}

void CheckTargetsFree(const OutputFiles& files, const WriteOptions& o) {
  for (const std::string* path : {&files.target, &files.textSheet, &files.pdfSheet}) {
    if (path->empty()) continue;
    const std::string refusal = TargetRefusal(*path, o.overwrite, files.inputs);
    if (!refusal.empty()) {
      throw zor::Exception(zor::StringFromUtf8(refusal + " Nichts geschrieben."));
    }
  }
}

int FinishRun(zor::TZorBaseDTA& component, const std::function<void()>& finish,
              const std::function<zor::String()>& begleitzettel, const OutputFiles& files,
              const WriteOptions& o, const std::function<std::string()>& summary) {
  const bool print = o.print->count() > 0;
  std::optional<SheetRecorder> recorder;
  {
    StagedFiles staged(o.overwrite, files.inputs);
    try {
      if (zor::StringToUtf8(component.Path() + component.DTAFilename()) != files.target) {
        throw OutputError("Interner Fehler: der Dateiname der Komponente weicht ab.");
      }
      CreateFolderOf(files.target);
      for (const std::string* path : {&files.target, &files.textSheet, &files.pdfSheet}) {
        if (!path->empty()) staged.Stage(*path);
      }
      const LibraryWritesInto redirect(staged);
      if (print || !files.pdfSheet.empty()) recorder.emplace();
      component.SetAnzahlBegleitzettel(recorder ? 1 : 0);
      try {
        finish();
      } catch (const zor::Exception& e) {
        throw OutputError(files.target + " kann nicht geschrieben werden: " + OneLine(e.what()));
      }
      if (!files.pdfSheet.empty()) {
        try {
          WritePdfSheet(recorder->Sheet(), files.pdfSheet);
        } catch (const zor::Exception& e) {
          throw OutputError(OneLine(e.what()) + " (--no-pdf schreibt ohne PDF)");
        }
      }
      if (!files.textSheet.empty()) {
        WriteTextSheet(*staged.TempOf(files.textSheet), files.textSheet, begleitzettel());
      }
      staged.Commit();
    } catch (const OutputError& e) {
      GiveBackDisketteNumber(component);
      std::cerr << "Fehler: " << e.what() << "\nNichts geschrieben.\n";
      return kBadData;
    }
  }

  std::cout << summary() << '\n';
  if (!files.textSheet.empty()) std::cout << "Begleitzettel: " << files.textSheet << '\n';
  if (!files.pdfSheet.empty()) std::cout << "Begleitzettel: " << files.pdfSheet << '\n';
  int result = kDone;
  if (print) {
    try {
      PrintOnQueue(recorder->Sheet(), o.queue, static_cast<std::int32_t>(o.copies));
      std::cout << "Gedruckt: " << o.copies << " Begleitzettel auf "
                << (o.queue.empty() ? std::string("der Standard-Warteschlange") : Quoted(o.queue))
                << '\n';
    } catch (const zor::Exception& e) {
      std::cerr << "Fehler: Die Dateien sind geschrieben, der Begleitzettel wurde aber nicht "
                   "gedruckt: "
                << OneLine(e.what()) << '\n';
      result = kWrittenNotAll;
    }
  }
  if (!FlushStandardOutput()) result = kWrittenNotAll;
  return result;
}

std::string GermanAmount(std::int64_t cent) {
  std::string text = FormatCent(cent);
  text[text.size() - 3] = ',';
  return text;
}

}  // namespace zcli
