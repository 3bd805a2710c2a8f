#include "commands/FinishRun.h"

#include <filesystem>
#include <iostream>
#include <optional>

#include "commands/Commands.h"
#include "io/Diagnostics.h"
#include "io/MessageText.h"
#include "output/LibraryWrites.h"
#include "output/RecordedSheet.h"
#include "output/StagedFiles.h"
#include "output/StandardOutput.h"
#include "output/TextSheet.h"
#include "zordta/host/Exception.h"
#include "zordta/host/Text.h"

namespace zcli {

namespace fs = std::filesystem;

namespace {

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

}  // namespace zcli
