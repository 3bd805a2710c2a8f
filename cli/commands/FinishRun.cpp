#include "commands/FinishRun.h"

#include <filesystem>
#include <iostream>
#include <optional>

#include "commands/Commands.h"
#include "io/EntryNames.h"
#include "io/FileBytes.h"
#include "output/LibraryWrites.h"
#include "output/RecordedSheet.h"
#include "output/StagedFiles.h"
#include "output/StandardOutput.h"
#include "output/StreamedOutput.h"
#include "output/TextSheet.h"
#include "zordta/entry/Diagnostics.h"
#include "zordta/entry/MessageText.h"
#include "zordta/host/Exception.h"
#include "zordta/host/Text.h"

namespace zcli {

namespace fs = std::filesystem;

namespace {

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

// The sheets in one text, one after another; with several, each is headed by
// which of the files it describes.
zor::String SheetsText(const std::vector<BookedRun>& runs) {
  if (runs.size() == 1) return runs.front().begleitzettel();
  zor::String text;
  for (std::size_t i = 0; i < runs.size(); ++i) {
    if (i > 0) text += zor::StringFromUtf8("\r\n\r\n");
    text += zor::StringFromUtf8("Logische Datei " + std::to_string(i + 1) + " von " +
                                std::to_string(runs.size()) + "\r\n");
    text += runs[i].begleitzettel();
  }
  return text;
}

std::uint64_t StagedSize(const std::string& temp) {
  std::error_code error;
  const std::uintmax_t size = fs::file_size(temp, error);
  if (error) throw OutputError(temp + " kann nicht gelesen werden: " + SystemReason(error.value()));
  return size;
}

// The sheets on the queue, once the files are written: a failure leaves them
// written (kWrittenNotAll).
int PrintSheets(const SheetRecorder& recorder, std::size_t files, const WriteOptions& o) {
  try {
    for (const auto& sheet : recorder.Sheets()) {
      PrintOnQueue(sheet, o.queue, static_cast<std::int32_t>(o.copies));
    }
    std::cout << "Gedruckt: "
              << (files > 1 ? "je " + std::to_string(o.copies) + " Begleitzettel der " +
                                  std::to_string(files) + " Dateien"
                            : std::to_string(o.copies) + " Begleitzettel")
              << " auf "
              << (o.queue.empty() ? std::string("der Standard-Warteschlange") : Quoted(o.queue))
              << '\n';
    return kDone;
  } catch (const zor::Exception& e) {
    std::cerr << "Fehler: Die Dateien sind geschrieben, der Begleitzettel wurde aber nicht "
                 "gedruckt: "
              << OneLine(e.what()) << '\n';
    return kWrittenNotAll;
  }
}

}  // namespace

int FinishRun(const std::vector<BookedRun>& runs, const OutputFiles& files, const WriteOptions& o,
              const std::function<std::string(const std::vector<std::uint64_t>& starts)>& summary,
              StreamedOutput* streamed) {
  const bool print = Printing(o);
  std::optional<SheetRecorder> ownRecorder;
  const SheetRecorder* recorder = nullptr;
  std::vector<std::uint64_t> starts;
  {
    std::optional<StagedFiles> ownStaged;
    try {
      for (const BookedRun& run : runs) {
        if (zor::StringToUtf8(run.component.Path() + run.component.DTAFilename()) != files.target) {
          throw OutputError("Interner Fehler: der Dateiname der Komponente weicht ab.");
        }
      }
      StagedFiles* staged = nullptr;
      if (streamed) {
        streamed->Close();
        staged = &streamed->Staged();
        recorder = streamed->Recorder();
        starts = streamed->Starts();
      } else {
        staged = &ownStaged.emplace(o.overwrite, files.inputs);
        CreateFolderOf(files.target);
        staged->Stage(files.target);
        if (!files.textSheet.empty()) staged->Stage(files.textSheet);
        for (const std::string& pdf : files.pdfSheets) staged->Stage(pdf);
      }
      // Each run writes its part after the one before.
      const LibraryWritesInto redirect(*staged, runs.size() > 1);
      if (!streamed && (print || !files.pdfSheets.empty())) recorder = &ownRecorder.emplace();
      // Streamed runs were finished into the file as they were booked.
      for (std::size_t i = 0; !streamed && i < runs.size(); ++i) {
        starts.push_back(i == 0 ? 0 : StagedSize(*staged->TempOf(files.target)));
        runs[i].component.SetAnzahlBegleitzettel(recorder ? 1 : 0);
        try {
          runs[i].finish();
        } catch (const zor::Exception& e) {
          if (redirect.Error() != 0) throw CannotWrite(files.target, redirect.Error());
          throw OutputError(files.target + " kann nicht geschrieben werden: " + OneLine(e.what()));
        }
      }
      if (recorder && recorder->Sheets().size() != runs.size()) {
        throw OutputError("Der Begleitzettel wurde nicht erstellt.");
      }
      for (std::size_t i = 0; i < files.pdfSheets.size(); ++i) {
        try {
          WritePdfSheet(recorder->Sheets()[i], files.pdfSheets[i]);
        } catch (const zor::Exception& e) {
          const std::string hint = " (--no-pdf schreibt ohne PDF)";
          if (redirect.Error() != 0) {
            throw OutputError(CannotWrite(files.pdfSheets[i], redirect.Error()).what() + hint);
          }
          throw OutputError(OneLine(e.what()) + hint);
        }
      }
      if (!files.textSheet.empty()) {
        WriteTextSheet(*staged->TempOf(files.textSheet), files.textSheet, SheetsText(runs));
      }
      staged->Commit();
    } catch (const OutputError& e) {
      for (const BookedRun& run : runs) GiveBackDisketteNumber(run.component);
      std::cerr << "Fehler: " << e.what() << "\nNichts geschrieben.\n";
      return kBadData;
    }
  }

  std::cout << summary(starts) << '\n';
  if (!files.textSheet.empty()) std::cout << "Begleitzettel: " << files.textSheet << '\n';
  for (const std::string& pdf : files.pdfSheets) std::cout << "Begleitzettel: " << pdf << '\n';
  int result = print ? PrintSheets(*recorder, runs.size(), o) : kDone;
  if (!FlushStandardOutput()) result = kWrittenNotAll;
  return result;
}

}  // namespace zcli
