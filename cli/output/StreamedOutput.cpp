#include "output/StreamedOutput.h"

#include <filesystem>
#include <system_error>

#include "io/EntryNames.h"
#include "zordta/entry/Diagnostics.h"

namespace zcli {

StreamedOutput::StreamedOutput(const OutputFiles& files, const WriteOptions& o)
    : fTarget(files.target), fStaged(o.overwrite, files.inputs) {
  CreateFolderOf(files.target);
  fOut = std::make_unique<FileOut>(fStaged.Stage(files.target));
  if (!*fOut) throw CannotWrite(files.target, fOut->Error());
  if (!files.textSheet.empty()) fStaged.Stage(files.textSheet);
  for (const std::string& pdf : files.pdfSheets) fStaged.Stage(pdf);
  fSink.out = fOut.get();
  if (Printing(o) || !files.pdfSheets.empty()) fRecorder.emplace();
}

std::unique_ptr<StreamedOutput> StreamedOutput::BeforeChecks(const OutputFiles& files,
                                                             const WriteOptions& o) {
  std::error_code error;
  if (!std::filesystem::is_directory(FolderOfPath(files.target), error)) return nullptr;
  try {
    return std::make_unique<StreamedOutput>(files, o);
  } catch (const OutputError&) {
    return nullptr;
  }
}

void StreamedOutput::EndRun(zor::TZorBaseDTA& component, const std::function<void()>& finish) {
  component.SetAnzahlBegleitzettel(fRecorder ? 1 : 0);
  try {
    finish();
  } catch (const zor::Exception& e) {
    if (fFinishError.empty()) fFinishError = OneLine(e.what());
  }
}

void StreamedOutput::Close() {
  fOut->close();
  if (!*fOut) throw CannotWrite(fTarget, fOut->Error());
  if (!fFinishError.empty()) {
    throw OutputError(fTarget + " kann nicht geschrieben werden: " + fFinishError);
  }
}

}  // namespace zcli
