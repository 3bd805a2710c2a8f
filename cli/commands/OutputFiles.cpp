#include "commands/OutputFiles.h"

#include <filesystem>
#include <functional>

#include "commands/Commands.h"
#include "io/EntryNames.h"
#include "output/OutputError.h"
#include "output/StagedFiles.h"
#include "zordta/entry/MessageText.h"
#include "zordta/host/Exception.h"
#include "zordta/host/Text.h"

namespace zcli {

namespace {

// As the component joins them: SetPath ignores an empty folder and adds the delimiter.
std::string TargetPath(const std::string& folder, const std::string& fileName) {
  if (folder.empty()) return fileName;
  return folder.back() == '/' ? folder + fileName : folder + "/" + fileName;
}

// Raises the first refusal `refusal` gives for one of the paths.
void CheckTargets(const OutputFiles& files,
                  const std::function<std::string(const std::string&)>& refusal) {
  std::vector<std::string> paths = {files.target, files.textSheet};
  paths.insert(paths.end(), files.pdfSheets.begin(), files.pdfSheets.end());
  for (const std::string& path : paths) {
    if (path.empty()) continue;
    if (const std::string reason = refusal(path); !reason.empty()) {
      throw zor::Exception(zor::StringFromUtf8(reason + " Nichts geschrieben."));
    }
  }
}

}  // namespace

void CheckNotTemporaryName(const std::string& fileName, const std::string& label) {
  // The next run in the folder would take the file for a leftover of ours and remove it.
  if (IsTemporaryName(fileName)) {
    throw UsageError(label + ": " + Quoted(fileName) +
                     " hat die Form der temporären Dateien von zordta (.zordta-<pid>-XXXXXX.tmp); "
                     "der nächste Aufruf in diesem Verzeichnis würde die Datei als Überbleibsel "
                     "löschen.");
  }
}

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
  CheckNotTemporaryName(fileName, fileNameLabel);
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
  files.inputs.insert(files.inputs.end(), o.readFiles.begin(), o.readFiles.end());
  CheckTargets(files,
               [&files](const std::string& path) { return InputRefusal(path, files.inputs); });
  return files;
}

void CheckTargetsFree(const OutputFiles& files, const WriteOptions& o) {
  CheckTargets(files, [&](const std::string& path) {
    return TargetRefusal(path, o.overwrite, files.inputs);
  });
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
