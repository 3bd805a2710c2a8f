#include "commands/OutputFiles.h"

#include <filesystem>

#include "commands/Commands.h"
#include "io/MessageText.h"
#include "output/OutputError.h"
#include "output/StagedFiles.h"
#include "zordta/host/Exception.h"
#include "zordta/host/Text.h"

namespace zcli {

namespace {

// As the component joins them: SetPath ignores an empty folder and adds the delimiter.
std::string TargetPath(const std::string& folder, const std::string& fileName) {
  if (folder.empty()) return fileName;
  return folder.back() == '/' ? folder + fileName : folder + "/" + fileName;
}

}  // namespace

OutputFiles PlanOutput(const std::string& folder, const std::string& fileName,
                       const std::string& fileNameLabel, const WriteOptions& o,
                       std::size_t sheets) {
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
  if (!o.noPdf && sheets == 1) files.pdfSheets.push_back(files.target + ".begleitzettel.pdf");
  for (std::size_t i = 1; !o.noPdf && sheets > 1 && i <= sheets; ++i) {
    files.pdfSheets.push_back(files.target + ".begleitzettel-" + std::to_string(i) + ".pdf");
  }
  for (const std::string* input : {&o.csv, &o.job}) {
    if (!input->empty() && *input != "-") files.inputs.push_back(*input);
  }
  return files;
}

void CheckTargetsFree(const OutputFiles& files, const WriteOptions& o) {
  std::vector<std::string> paths = {files.target, files.textSheet};
  paths.insert(paths.end(), files.pdfSheets.begin(), files.pdfSheets.end());
  for (const std::string& path : paths) {
    if (path.empty()) continue;
    const std::string refusal = TargetRefusal(path, o.overwrite, files.inputs);
    if (!refusal.empty()) {
      throw zor::Exception(zor::StringFromUtf8(refusal + " Nichts geschrieben."));
    }
  }
}

void CreateFolderOf(const std::string& target) {
  const std::string folder = FolderOfPath(target);
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    throw OutputError("Das Verzeichnis " + folder +
                      " kann nicht angelegt werden: " + SystemReason(error.value()));
  }
}

}  // namespace zcli
